// Approves one held purchase in a book and exits; the crash test kills it at a random moment.
#include "app/data/dm1.h"
#include "app/session.h"
#include "documents/document_service.h"

#include <QCoreApplication>
#include <QDate>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) return 2;
    DM1 dm(BookLocation::sqlite(QString::fromLocal8Bit(argv[1])));
    if (!dm.open()) return 3;
    session::current().stYhm1 = QStringLiteral("系统管理员");
    const DocumentKind &kind = documentKind(DocType::Purchase);
    DocumentService service(dm.db(), kind);
    LineBuffer lines(dm.db(), kind);
    lines.takeUp(QString::fromLatin1(argv[2]));
    DocumentHeader h = *service.header(lines.number());
    service.save(h, lines, true, QDate::currentDate());
    return 0;
}
