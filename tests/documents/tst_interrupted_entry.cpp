#include "app/data/schema.h"
#include "app/session.h"
#include "document_fixture.h"
#include "documents/document_numbering.h"
#include "documents/entry_session.h"
#include "test_book.h"
#include "test_main.h"

#include <QDate>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTest>
#include <QThread>

#include <memory>

#include <signal.h>

namespace {

const DocumentKind &purchase() { return documentKind(DocType::Purchase); }
QString today() { return QDate::currentDate().toString("yyyyMMdd"); }

// An entry window of another program: it adds the lines (taking up `held` first and marking its
// first line deleted, when given) and runs until killed.
class Counter {
public:
    Counter(const BookLocation &where, const QString &prefix, const QString &held, const QStringList &lines)
    {
        const QString book = where.engine == BookLocation::Engine::SQLite ? where.file : qEnvironmentVariable("MARVODA_TEST_PG");
        p_.start(CRASH_CHILD, QStringList{"enter", book, prefix, held.isEmpty() ? "-" : held} + lines);
        if (!p_.waitForReadyRead(30000) || !p_.readLine().startsWith("ready")) qFatal("the entry process did not start");
    }
    ~Counter() { kill(); }
    void kill()
    {
        if (p_.state() == QProcess::NotRunning) return;
        ::kill(pid_t(p_.processId()), SIGKILL);
        p_.waitForFinished(10000);
    }

private:
    QProcess p_;
};

// The server notices a killed counter's connection a moment after the kill.
InterruptedLines awaitInterrupted(Database &db, const DocumentKind &kind, int added)
{
    QDeadlineTimer deadline(10000);
    InterruptedLines found;
    do {
        found = InterruptedEntry::find(db, kind);
        if (found.added == added) break;
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return found;
}

QStringList pendingLines(Database &db, const QString &table = "cgglc")
{
    QStringList out;
    QSqlQuery q = db.exec(QStringLiteral("SELECT txm, bj FROM %1 WHERE bj <> 'yz' ORDER BY id").arg(table));
    while (q.next()) out << q.value(0).toString() + u'|' + q.value(1).toString();
    return out;
}

QString linesOf(Database &db, const DocumentKind &kind, const QString &dh)
{
    QStringList out;
    for (const DocumentLine &l : loadDocumentLines(db, kind, dh)) out << l.txm + u'×' + l.sl.toPlain();
    return out.join(u' ');
}

} // namespace

class TestInterruptedEntry : public QObject {
    Q_OBJECT
private slots:
    void init() { session::current().stYhm1 = "系统管理员"; }

    // A purchase window is killed with DXG20 × 3 at 4.10 entered. At the next opening the line
    // is offered; either answer, or no answer yet, leaves stock exact through approval of
    // PVCWT × 2, un-approval and deletion, and the line never joins a document it was not taken into.
    void aKilledEntryIsOfferedAndNeverMovesStockUnasked_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("approved");   // DXG20 after approval
        QTest::addColumn<QString>("lines");
        QTest::newRow("taken") << "taken" << "13 4.02 52.30" << "DXG20×3 PVCWT×2";
        QTest::newRow("declined") << "declined" << "10 4.00 40.00" << "PVCWT×2";
        QTest::newRow("not yet asked") << "" << "10 4.00 40.00" << "PVCWT×2";
    }
    void aKilledEntryIsOfferedAndNeverMovesStockUnasked()
    {
        QFETCH(QString, answer);
        QFETCH(QString, approved);
        QFETCH(QString, lines);
        TestBook book;
        Database &db = book.db();
        addGoods(db, "一号库", "DXG20", "10", "4", "40");
        addGoods(db, "一号库", "PVCWT", "10", "4", "40");
        const QString dh = "CG" + today() + "001";
        Counter(book.location(), "CG", {}, {"DXG20:3:4.10"}).kill();
        QCOMPARE(pendingLines(db), QStringList{"DXG20|dz"});

        const InterruptedLines found = awaitInterrupted(db, purchase(), 1);
        QCOMPARE(found.sessions.size(), 1);
        QCOMPARE(found.deleted, 0);
        QCOMPARE(found.question(), QString("上次有未保存的单据明细1行，是否恢复？"));

        DocumentService service(db, purchase());
        {
            LineBuffer buffer(db, purchase());
            buffer.startNew(DocumentNumbering::next(db, purchase(), QDate::currentDate()).dh);
            QCOMPARE(buffer.number(), dh);   // the killed entry's number is offered again
            if (!answer.isEmpty()) buffer.recover(found, answer == "taken");
            QCOMPARE(buffer.lines().size(), answer == "taken" ? 1 : 0);
            buffer.add(line("PVCWT", "2", "5"));
            QCOMPARE(service.save(headerFor(purchase(), buffer, "一号库"), buffer, true, QDate::currentDate()), dh);
        }
        QCOMPARE(stockOf(db, "一号库", "DXG20"), approved);
        QCOMPARE(stockOf(db, "一号库", "PVCWT"), QString("12 4.17 50.00"));
        QCOMPARE(linesOf(db, purchase(), dh), lines);   // what the viewer and prints show

        QCOMPARE(service.unapprove(dh), DocumentService::Outcome::Done);
        QCOMPARE(stockOf(db, "一号库", "DXG20"), QString("10 4.00 40.00"));
        QCOMPARE(stockOf(db, "一号库", "PVCWT"), QString("10 4.00 40.00"));
        QCOMPARE(service.remove(dh), DocumentService::Outcome::Done);
        QCOMPARE(stockOf(db, "一号库", "DXG20"), QString("10 4.00 40.00"));
        QCOMPARE(linesOf(db, purchase(), dh), QString());

        // Unasked, the line still waits for its offer; answered, nothing is left behind.
        const InterruptedLines later = InterruptedEntry::find(db, purchase());
        QCOMPARE(later.added, answer.isEmpty() ? 1 : 0);
        QCOMPARE(countRows(db, "SELECT count(*) FROM lrhh"), answer.isEmpty() ? 1 : 0);
    }

    // A held adjustment taken up in a killed window: the line it marked deleted is the
    // document's again, the line it added is offered, and the document approves with its own lines.
    void aHeldDocumentsMarkedLinesComeBack_data()
    {
        QTest::addColumn<bool>("take");
        QTest::newRow("taken") << true;
        QTest::newRow("declined") << false;
    }
    void aHeldDocumentsMarkedLinesComeBack()
    {
        QFETCH(bool, take);
        const DocumentKind &kind = documentKind(DocType::Adjustment);
        TestBook book;
        Database &db = book.db();
        addGoods(db, "一号库", "A", "10", "4", "40");
        addGoods(db, "一号库", "B", "10", "4", "40");
        DocumentService service(db, kind);
        QString held;
        {
            LineBuffer buffer(db, kind);
            buffer.startNew("YD20240305001");
            buffer.add(line("A", "1", "4"));
            buffer.add(line("B", "2", "4"));
            held = service.save(headerFor(kind, buffer, "一号库"), buffer, false, QDate::currentDate());
        }
        Counter(book.location(), "YD", held, {"B:5:4"}).kill();
        QCOMPARE(pendingLines(db, "rkglc"), (QStringList{"A|ds", "B|dz"}));
        QCOMPARE(linesOf(db, kind, held), QString("A×1 B×2"));   // still its lines until a save

        const InterruptedLines found = awaitInterrupted(db, kind, 1);
        QCOMPARE(found.deleted, 1);
        LineBuffer next(db, kind);
        next.startNew(DocumentNumbering::next(db, kind, QDate::currentDate()).dh);
        next.recover(found, take);
        QCOMPARE(pendingLines(db, "rkglc"), take ? QStringList{"B|dz"} : QStringList{});
        QCOMPARE(next.lines().size(), take ? 1 : 0);
        QCOMPARE(linesOf(db, kind, held), QString("A×1 B×2"));
        QVERIFY(InterruptedEntry::find(db, kind).isEmpty());

        LineBuffer again(db, kind);
        again.takeUp(held);
        QCOMPARE(again.lines().size(), 2);
        service.save(headerFor(kind, again, "一号库"), again, true, QDate::currentDate());
        QCOMPARE(stockOf(db, "一号库", "A"), QString("11 4.00 44.00"));
        QCOMPARE(stockOf(db, "一号库", "B"), QString("12 4.00 48.00"));
    }

    // Two counters enter purchases on one book; one is killed. Its line is offered, the other's
    // live pending line is not touched and is saved by it; once it too is gone, its line is offered.
    void anotherCountersLiveLinesAreNeverTouched()
    {
        TestBook book;
        Database &db = book.db();
        Counter alive(book.location(), "CG", {}, {"SN:5:2"});
        Counter(book.location(), "CG", {}, {"DXG20:3:4.10", "PVCWT:1:3"}).kill();

        const InterruptedLines found = awaitInterrupted(db, purchase(), 2);
        QCOMPARE(found.added, 2);
        QCOMPARE(found.sessions.size(), 1);
        LineBuffer buffer(db, purchase());
        buffer.startNew("CG" + today() + "002");
        buffer.recover(found, true);
        QCOMPARE(buffer.lines().size(), 2);
        QCOMPARE(countRows(db, "SELECT count(*) FROM cgglc WHERE txm = 'SN' AND bj = 'dz' AND hh <> 0"), 1);
        QCOMPARE(countRows(db, "SELECT count(*) FROM cgglc WHERE txm <> 'SN' AND dh = ?", {buffer.number()}), 2);
        QCOMPARE(InterruptedEntry::find(db, purchase()).added, 0);

        alive.kill();
        QCOMPARE(awaitInterrupted(db, purchase(), 1).added, 1);
    }

    // A counter whose connection was lost and comes back: its lines are its own again unless
    // another counter took them for an interrupted entry meanwhile; then it is told, and its
    // next document starts clean. A file book's locks do not depend on the connection.
    void aCounterBackFromALostConnection_data()
    {
        QTest::addColumn<bool>("settledMeanwhile");
        QTest::newRow("back before another counter looked") << false;
        QTest::newRow("another counter looked meanwhile") << true;
    }
    void aCounterBackFromALostConnection()
    {
        QFETCH(bool, settledMeanwhile);
        TestBook book;
        Database db(book.location());
        QVERIFY(db.open());
        LineBuffer buffer(db, purchase());
        buffer.startNew("CG" + today() + "001");
        buffer.add(line("DXG20", "3", "4.1"));
        db.disconnect();   // the next statement connects anew
        if (!settledMeanwhile) buffer.add(line("PVCWT", "1", "3"));
        const bool lost = settledMeanwhile && TestBook::onPostgres();
        if (lost) QTRY_COMPARE(countRows(book.db(), "SELECT count(*) FROM pg_locks WHERE locktype = 'advisory'"), 0);

        QProcess other;
        other.start(CRASH_CHILD, {"settle", TestBook::onPostgres() ? qEnvironmentVariable("MARVODA_TEST_PG") : book.location().file, "CG"});
        QVERIFY(other.waitForFinished(30000));
        QCOMPARE(other.readAllStandardOutput().trimmed(), lost ? QByteArray("taken 1") : QByteArray("taken 0"));

        DocumentService service(db, purchase());
        if (lost) {
            QVERIFY_THROWS_EXCEPTION(DbError, buffer.add(line("PVCWT", "1", "3")));
            QVERIFY_THROWS_EXCEPTION(DbError, service.save(headerFor(purchase(), buffer, "一号库"), buffer, true, QDate::currentDate()));
            QCOMPARE(countRows(book.db(), "SELECT count(*) FROM cgglz"), 0);
            buffer.discard();
            buffer.startNew("CG" + today() + "001");
            buffer.add(line("SN", "1", "2"));
            QCOMPARE(pendingLines(book.db()), (QStringList{"DXG20|dz", "SN|dz"}));
            return;
        }
        if (settledMeanwhile) buffer.add(line("PVCWT", "1", "3"));
        service.save(headerFor(purchase(), buffer, "一号库"), buffer, true, QDate::currentDate());
        QCOMPARE(countRows(book.db(), "SELECT count(*) FROM cgglc WHERE bj = 'yz'"), 2);
        QCOMPARE(pendingLines(book.db()), QStringList());
    }

    // A book of version 4: the lines an older program left pending have no session and are
    // offered like an interrupted entry's.
    void anOlderBooksPendingLinesAreOfferedAfterTheUpgrade()
    {
        TestBook book;
        Database &db = book.db();
        db.exec("DROP TABLE lrhh");
        for (const char *t : {"cgglc", "xsglc", "dbglc", "rkglc"}) {
            db.exec(QStringLiteral("DROP INDEX %1_i2").arg(t));
            db.exec(QStringLiteral("ALTER TABLE %1 DROP COLUMN hh").arg(t));
        }
        db.exec("UPDATE schema_version SET version = 4");
        db.insert("xsglc", {{"dh", "PF20240305001"}, {"txm", "A"}, {"sl", 10000}, {"bj", "dz"}});
        db.insert("xsglc", {{"dh", "XS20240305001"}, {"txm", "B"}, {"sl", 10000}, {"bj", "dz"}});
        db.disconnect();
        QVERIFY(book.dm().open());
        QCOMPARE(schema::version(db), schema::CurrentVersion);
        const InterruptedLines wholesale = InterruptedEntry::find(db, documentKind(DocType::Wholesale));
        QCOMPARE(wholesale.added, 1);
        LineBuffer buffer(db, documentKind(DocType::Wholesale));
        buffer.startNew("PF" + today() + "001");
        buffer.recover(wholesale, true);
        QCOMPARE(buffer.lines().size(), 1);
        QCOMPARE(buffer.lines().first().txm, QString("A"));
        QCOMPARE(InterruptedEntry::find(db, documentKind(DocType::Retail)).added, 1);
    }
};
MARVODA_TEST(TestInterruptedEntry)
#include "tst_interrupted_entry.moc"
