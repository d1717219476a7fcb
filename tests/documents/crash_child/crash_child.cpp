// The process the crash tests kill.
//   crash_child BOOK DH: approves one held purchase in a file book and exits (killed at a random
//   moment by the approval test).
//   crash_child enter BOOK PREFIX HELD CODE:QTY:PRICE...: as an entry window of the kind with that
//   number prefix, takes up the held document HELD ("-": a new one) and marks its first line
//   deleted, adds the lines, says "ready" and waits to be killed. BOOK is a file, or the
//   PostgreSQL conninfo when it holds "dbname=".
//   crash_child settle BOOK PREFIX: opens that kind's entry window as another counter would,
//   takes what interrupted entries left, says "taken N" and ends without saving.
#include "app/data/dm1.h"
#include "app/session.h"
#include "documents/document_numbering.h"
#include "documents/document_service.h"

#include <QCoreApplication>
#include <QDate>
#include <QThread>

#include <cstdio>

namespace {

BookLocation locationOf(const QString &arg)
{
    return arg.contains(QStringLiteral("dbname=")) ? BookLocation::postgres(arg) : BookLocation::sqlite(arg);
}

int enter(const QStringList &args)
{
    if (args.size() < 5) return 2;
    DM1 dm(locationOf(args[2]));
    if (!dm.open()) return 3;
    const DocumentKind *kind = documentKindOfNumber(args[3] + QStringLiteral("20240305001"));
    if (!kind) return 2;
    LineBuffer lines(dm.db(), *kind);
    if (args[4] != u"-") {
        lines.takeUp(args[4]);
        lines.remove(0);
    } else {
        lines.startNew(DocumentNumbering::next(dm.db(), *kind, QDate::currentDate()).dh);
    }
    for (const QString &line : args.mid(5)) {
        const QStringList p = line.split(u':');
        DocumentLine l;
        l.txm = p[0];
        l.ppgg = QStringLiteral("名") + p[0];
        l.dw = QStringLiteral("根");
        l.sl = *Decimal::parse(p[1]);
        l.jg = *Decimal::parse(p[2]);
        l.recompute(kind->salesLines);
        lines.add(l);
    }
    std::printf("ready %s\n", qPrintable(lines.number()));
    std::fflush(stdout);
    for (;;) QThread::sleep(60);
}

int settle(const QStringList &args)
{
    if (args.size() != 4) return 2;
    DM1 dm(locationOf(args[2]));
    if (!dm.open()) return 3;
    const DocumentKind *kind = documentKindOfNumber(args[3] + QStringLiteral("20240305001"));
    if (!kind) return 2;
    LineBuffer lines(dm.db(), *kind);
    lines.startNew(DocumentNumbering::next(dm.db(), *kind, QDate::currentDate()).dh);
    lines.recover(InterruptedEntry::find(dm.db(), *kind), true);
    std::printf("taken %d\n", int(lines.lines().size()));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    session::current().stYhm1 = QStringLiteral("系统管理员");
    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 1 && args[1] == u"enter") return enter(args);
    if (args.size() > 1 && args[1] == u"settle") return settle(args);
    if (argc != 3) return 2;
    DM1 dm(BookLocation::sqlite(QString::fromLocal8Bit(argv[1])));
    if (!dm.open()) return 3;
    const DocumentKind &kind = documentKind(DocType::Purchase);
    DocumentService service(dm.db(), kind);
    LineBuffer lines(dm.db(), kind);
    lines.takeUp(QString::fromLatin1(argv[2]));
    DocumentHeader h = *service.header(lines.number());
    service.save(h, lines, true, QDate::currentDate());
    return 0;
}
