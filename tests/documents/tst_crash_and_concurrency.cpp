#include "app/session.h"
#include "document_fixture.h"
#include "documents/document_numbering.h"
#include "test_book.h"
#include "test_main.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

#include <signal.h>

namespace {

const DocumentKind &purchase() { return documentKind(DocType::Purchase); }

// What the crash test compares: every goods row's stock and the ledger and header state.
QString bookState(Database &db)
{
    QString s;
    QSqlQuery q = db.exec("SELECT id, kcsl, kcjg, kcje FROM sp ORDER BY id");
    while (q.next()) s += QStringLiteral("%1:%2/%3/%4 ").arg(q.value(0).toString(), q.value(1).toString(),
                                                            q.value(2).toString(), q.value(3).toString());
    q = db.exec("SELECT shbj FROM cgglz");
    s += q.next() ? q.value(0).toString() : QString("no header");
    s += QStringLiteral(" cgfx=%1 fkfx=%2 czrz=%3 lines=%4")
             .arg(countRows(db, "SELECT count(*) FROM cgfx"))
             .arg(countRows(db, "SELECT count(*) FROM fkfx"))
             .arg(countRows(db, "SELECT count(*) FROM czrz"))
             .arg(countRows(db, "SELECT count(*) FROM cgglc WHERE bj = 'yz'"));
    return s;
}

} // namespace

class TestCrashAndConcurrency : public QObject {
    Q_OBJECT
private slots:
    void init() { session::current().stYhm1 = "系统管理员"; }

    void anApprovalKilledAtAnyMomentIsAllOrNothing()
    {
        if (TestBook::onPostgres()) QSKIP("the killed process writes the embedded book");
        TestBook book;
        Database &db = book.db();
        LineBuffer lines(db, purchase());
        lines.startNew(DocumentNumbering::next(db, purchase(), QDate::currentDate()).dh);
        for (int i = 0; i < 200; ++i) {
            const QString txm = QStringLiteral("G%1").arg(i, 3, 10, QChar('0'));
            if (i % 4) addGoods(db, "一号库", txm, "10", "4", "40");   // every fourth one is new to the warehouse
            lines.add(line(txm, "3", "5.5"));
        }
        const QString dh = DocumentService(db, purchase()).save(headerFor(purchase(), lines, "一号库"), lines, false,
                                                               QDate::currentDate());
        const QString before = bookState(db);
        db.disconnect();
        const QString pristine = book.location().file + ".pristine";
        QVERIFY(QFile::copy(book.location().file, pristine));

        // The fully approved state, from an undisturbed run.
        QProcess child;
        QElapsedTimer undisturbed;
        undisturbed.start();
        child.start(CRASH_CHILD, {book.location().file, dh});
        QVERIFY(child.waitForFinished(30000));
        const qint64 runUs = undisturbed.nsecsElapsed() / 1000;
        QCOMPARE(child.exitCode(), 0);
        const QString after = bookState(db);
        db.disconnect();
        QVERIFY(before != after);

        int killed = 0, sawBefore = 0, sawAfter = 0;
        // The kill moment hovers around the commit: later after a kill that found the book as
        // before, earlier after one that found it approved, so most kills land inside the
        // approval however fast or loaded the machine is.
        qint64 aimUs = runUs / 2;
        const qint64 stepUs = std::max<qint64>(runUs / 25, 200);
        for (int trial = 0; trial < 100; ++trial) {
            for (const char *suffix : {"", "-wal", "-shm"}) QFile::remove(book.location().file + suffix);
            QVERIFY(QFile::copy(pristine, book.location().file));
            QProcess p;
            p.start(CRASH_CHILD, {book.location().file, dh});
            QVERIFY(p.waitForStarted());
            QThread::usleep(std::max<qint64>(0, aimUs + QRandomGenerator::global()->bounded(-stepUs, stepUs)));
            ::kill(p.processId(), SIGKILL);
            p.waitForFinished(10000);
            if (p.exitStatus() == QProcess::CrashExit) ++killed;
            const QString state = bookState(db);
            db.disconnect();
            QVERIFY2(state == before || state == after, qPrintable(QStringLiteral("trial %1: %2").arg(trial).arg(state)));
            (state == before ? sawBefore : sawAfter)++;
            aimUs += state == before ? stepUs : -stepUs;
        }
        qInfo("approval runs %lld us; killed %d of 100, book before %d, approved %d", runUs, killed, sawBefore, sawAfter);
        QVERIFY(killed >= 50 && sawBefore >= 10 && sawAfter >= 10);
    }

    void twoCountersApprovingTheSameGoodsLoseNothing()
    {
        if (!TestBook::onPostgres()) QSKIP("two connections at once: the shared PostgreSQL book");
        TestBook book;
        addGoods(book.db(), "一号库", "A", "0", "5", "0");
        addGoods(book.db(), "一号库", "B", "0", "5", "0");
        const BookLocation where = book.location();
        constexpr int PerCounter = 15;
        std::atomic<int> failures{0};
        QStringList numbers[2];
        auto counter = [&](int who) {
            try {
                Database db(where);
                if (!db.open()) throw DbError("no connection");
                DocumentService service(db, purchase());
                for (int i = 0; i < PerCounter; ++i) {
                    LineBuffer lines(db, purchase());
                    // Both counters are shown the same next number and race to save it.
                    lines.startNew(DocumentNumbering::next(db, purchase(), QDate::currentDate()).dh);
                    lines.add(line(who ? "A" : "B", "1", "5"));
                    lines.add(line(who ? "B" : "A", "2", "5"));
                    numbers[who] << service.save(headerFor(purchase(), lines, "一号库"), lines, true, QDate::currentDate());
                }
            } catch (const std::exception &e) {
                qWarning() << "counter" << who << e.what();
                ++failures;
            }
        };
        std::thread a(counter, 0), b(counter, 1);
        a.join();
        b.join();
        QCOMPARE(failures.load(), 0);
        QSet<QString> all;
        for (const QStringList &n : numbers)
            for (const QString &dh : n) all.insert(dh);
        QCOMPARE(all.size(), 2 * PerCounter);
        // Each counter brought 3 of A and B together per document, 2 documents' worth per round.
        QCOMPARE(stockOf(book.db(), "一号库", "A"), QStringLiteral("%1 5.00 %2.00").arg(3 * PerCounter).arg(15 * PerCounter));
        QCOMPARE(stockOf(book.db(), "一号库", "B"), QStringLiteral("%1 5.00 %2.00").arg(3 * PerCounter).arg(15 * PerCounter));
        QCOMPARE(countRows(book.db(), "SELECT count(*) FROM cgglc WHERE bj = 'yz'"), 4 * PerCounter);
    }
};
MARVODA_TEST(TestCrashAndConcurrency)
#include "tst_crash_and_concurrency.moc"
