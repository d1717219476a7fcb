#include "documents/ui/document_commands.h"

#include "app/ui/tfmain1.h"
#include "documents/ui/tftjcgd1.h"

void registerDocumentCommands(TFmain1 &main)
{
    main.setCommandHandler(QStringLiteral("采购"), [&main] { main.openChild<TFtjcgd1>(); });
}
