#include "documents/ui/document_commands.h"

#include "app/ui/tfmain1.h"
#include "documents/ui/document_viewer_opening.h"
#include "documents/ui/tfcggl1.h"
#include "documents/ui/tfllcgd1.h"
#include "documents/ui/tfdbgl1.h"
#include "documents/ui/tfllxsd1.h"
#include "documents/ui/tfrkgl1.h"
#include "documents/ui/tftjcgd1.h"
#include "documents/ui/tftjdbd1.h"
#include "documents/ui/tftjpfd1.h"
#include "documents/ui/tftjrkd1.h"
#include "documents/ui/tftjxsd1.h"
#include "documents/ui/tfxsgl1.h"
#include "finance/ui/document_viewers.h"

void registerDocumentCommands(TFmain1 &main)
{
    main.setCommandHandler(QStringLiteral("采购"), [&main] { main.openChild<TFtjcgd1>(); });
    main.setCommandHandler(QStringLiteral("采购单据"), [&main] { main.openChild<TFcggl1>(); });

    // Stock documents.
    main.setCommandHandler(QStringLiteral("库存调拨"), [&main] { main.openChild<TFtjdbd1>(); });
    main.setCommandHandler(QStringLiteral("库存异动"), [&main] { main.openChild<TFtjrkd1>(); });
    main.setCommandHandler(QStringLiteral("调拨单据"), [&main] { main.openChild<TFdbgl1>(); });
    main.setCommandHandler(QStringLiteral("异动单据"), [&main] { main.openChild<TFrkgl1>(); });

    // Sales: the retail counter, the wholesale desk and their common list.
    main.setCommandHandler(QStringLiteral("零售"), [&main] { main.openChild<TFtjxsd1>(); });
    main.setCommandHandler(QStringLiteral("批发"), [&main] { main.openChild<TFtjpfd1>(); });
    main.setCommandHandler(QStringLiteral("销售单据"), [&main] { main.openChild<TFxsgl1>(); });

    // "查单" in the payables and receivables shows the document in its own viewer, walking
    // the documents that list shows.
    DocumentViewers::setOpener([](const QString &table, const QString &dh, const QStringList &listed) {
        const int at = int(listed.indexOf(dh));
        const QStringList numbers = at < 0 ? QStringList{dh} : listed;
        const int index = std::max(at, 0);
        if (table == documentKind(DocType::Purchase).headerTable) openDocumentViewer<TFllcgd1>(numbers, index);
        else if (table == documentKind(DocType::Retail).headerTable) openDocumentViewer<TFllxsd1>(numbers, index);
    });
}
