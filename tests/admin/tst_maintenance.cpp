#include "admin/book_clearing.h"
#include "admin/book_maintenance.h"
#include "admin/operator_book.h"
#include "admin/sqlite_file.h"
#include "app/data/schema.h"
#include "app/session.h"
#include "test_book.h"
#include "test_main.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Every row of every table but the log, as text: two books hold the same data when equal.
QString snapshot(Database &db)
{
    QString out;
    for (const schema::Table &t : schema::tables()) {
        if (QLatin1String(t.name) == QLatin1String("czrz")) continue;
        out += QLatin1String(t.name) + u'\n';
        QSqlQuery q = db.exec(QStringLiteral("SELECT * FROM %1 ORDER BY id").arg(QLatin1String(t.name)));
        while (q.next()) {
            for (int c = 0; c < q.record().count(); ++c) out += q.value(c).toString() + u'|';
            out += u'\n';
        }
    }
    return out;
}

QString lastLogged(Database &db)
{
    QSqlQuery q = db.exec("SELECT cz FROM czrz ORDER BY id DESC");
    return q.next() ? q.value(0).toString() : QString();
}

void fill(Database &db)
{
    db.exec("UPDATE danwei SET mczc = ?", {"兴达建材"});
    db.insert("kh", {{"mc", "O'Neil 五金"}, {"lxdh", "0571-1234"}});
    db.insert("sp", {{"ck", "总仓"}, {"txm", "001"}, {"ppgg", "镀锌钢管 DN20"}, {"kcsl", 125000}, {"kcjg", 33300}});
    db.insert("xsfx", {{"rq", "2024-03-05"}, {"dh", "XS20240305001"}, {"je", -12345}});
    OperatorBook(db).add("店员", "pw", "pw");
}

QString onlyFile(const QString &dir, const QString &pattern)
{
    const QStringList found = QDir(dir).entryList({pattern}, QDir::Files);
    return found.size() == 1 ? QDir(dir).filePath(found.first()) : QString();
}

// A book of this program in its own folder, to be spoiled by the caller.
QString freshBookFile(const QTemporaryDir &dir)
{
    const QString file = QDir(dir.path()).filePath("source.db");
    QString why;
    if (!createBook(BookLocation::sqlite(file), QString(), &why)) qFatal("%s", qPrintable(why));
    return file;
}

void runOn(const QString &file, const QString &sql)
{
    SqliteFile f;
    QString why;
    if (!f.open(file, false, &why) || !f.exec(sql, nullptr, &why)) qFatal("%s: %s", qPrintable(sql), qPrintable(why));
}

} // namespace

class TestMaintenance : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        session::current().stYhm1 = "系统管理员";
        // A shared book keeps its backups in the program's folder: start each case without any.
        if (TestBook::onPostgres())
            QDir(QCoreApplication::applicationDirPath() + "/数据备份库").removeRecursively();
    }
    void cleanup() { init(); }

    void names_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("taken");
        QTest::newRow("no extension") << "/b/月底" << "/b/月底.bak";
        QTest::newRow("with .bak") << "/b/KLV20240305.bak" << "/b/KLV20240305.bak";
        QTest::newRow(".bak in the middle") << "/b/KLV.bak.old" << "/b/KLV.bak.old";
        QTest::newRow("other extension") << "/b/KLV.db" << "/b/KLV.db.bak";
    }
    void names()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, taken);
        QCOMPARE(BookMaintenance::withBackupExtension(chosen), taken);
        QCOMPARE(BookMaintenance::defaultBackupName(QDate(2024, 3, 5)), QString("KLV20240305.bak"));
    }

    void backupThenRestoreGivesTheSameData()
    {
        TestBook b;
        Database &db = b.db();
        fill(db);
        const QString before = snapshot(db);
        const QString folder = BookMaintenance::backupFolder(db);
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(QFileInfo(folder).fileName(), QString("数据备份库"));
        const QString target = QDir(folder).filePath(BookMaintenance::defaultBackupName(QDate::currentDate()));
        QString why;
        QVERIFY2(BookMaintenance::backup(db, target, &why), qPrintable(why));
        QCOMPARE(lastLogged(db), QString("备份数据库"));
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QFileInfo(target).fileName()});

        // The backup is a file book that opens anywhere, alone, with the same data.
        {
            QFile f(target);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray head = f.read(20);
            QVERIFY(head.startsWith("SQLite format 3"));
            QCOMPARE(int(head[18]), 1);   // no write-ahead log expected beside it
            QTemporaryDir elsewhere;
            const QString copy = QDir(elsewhere.path()).filePath("KLVData1.db");
            QVERIFY(QFile::copy(target, copy));
            DM1 other(BookLocation::sqlite(copy));
            QVERIFY(other.open());
            QCOMPARE(snapshot(other.db()), before);
        }

        db.insert("sp", {{"txm", "002"}});
        db.exec("DELETE FROM kh");
        db.exec("UPDATE danwei SET mczc = ?", {"改过的名字"});
        const QString changed = snapshot(db);
        QVERIFY2(BookMaintenance::restore(b.dm(), target, &why), qPrintable(why));
        QCOMPARE(snapshot(db), before);
        QCOMPARE(lastLogged(db), QString("恢复数据库"));
        QCOMPARE(session::current().stYhm1, QString("系统管理员"));
        db.insert("sp", {{"txm", "003"}});   // the book goes on working

        // What the restore replaced is kept.
        QString kept;
        if (TestBook::onPostgres()) {
            kept = onlyFile(folder, "KLV恢复前*.bak");
        } else {
            kept = onlyFile(b.dataDir(), "KLVData1-恢复前-*.db");
            QVERIFY(!QFile::exists(b.location().file + ".restore"));
        }
        QVERIFY2(!kept.isEmpty(), "the replaced book is kept");
        QTemporaryDir elsewhere;
        const QString copy = QDir(elsewhere.path()).filePath("KLVData1.db");
        QVERIFY(QFile::copy(kept, copy));
        DM1 safety(BookLocation::sqlite(copy));
        QVERIFY(safety.open());
        QCOMPARE(snapshot(safety.db()), changed);
    }

    void restoreRefusesWhatIsNotABook_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *k : {"missing file", "text file", "truncated book", "foreign database", "table missing",
                              "column missing", "newer version", "no company row", "the book itself"})
            QTest::newRow(k) << QString::fromLatin1(k);
    }
    void restoreRefusesWhatIsNotABook()
    {
        QFETCH(QString, kind);
        TestBook b;
        Database &db = b.db();
        fill(db);
        const QString before = snapshot(db);
        QTemporaryDir dir;
        QString file = QDir(dir.path()).filePath("chosen.bak");
        if (kind == "text file") {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("账套备份\r\n这不是数据库\r\n");
        } else if (kind == "truncated book") {
            const QString source = freshBookFile(dir);
            runOn(source, "PRAGMA journal_mode=DELETE");
            QVERIFY(QFile::copy(source, file));
            QFile f(file);
            QVERIFY(f.resize(f.size() / 2));
        } else if (kind == "foreign database") {
            SqliteFile f;
            QVERIFY(f.open(file, true, nullptr));
            QVERIFY(f.exec("CREATE TABLE sp (id INTEGER PRIMARY KEY, name TEXT)"));
        } else if (kind == "the book itself") {
            if (TestBook::onPostgres()) QSKIP("a shared book has no file");
            file = b.location().file;
            // Its newest changes are still in its log: a copy of the file alone would lose them.
            QVERIFY(!BookMaintenance::backup(db, file, nullptr));
        } else if (kind != "missing file") {
            file = freshBookFile(dir);
            const QHash<QString, QString> spoil = {{"table missing", "DROP TABLE szfx"},
                                                   {"column missing", "ALTER TABLE sp DROP COLUMN kcjg"},
                                                   {"newer version", "UPDATE schema_version SET version = 99"},
                                                   {"no company row", "DELETE FROM danwei"}};
            runOn(file, spoil.value(kind));
        }
        QString why;
        QVERIFY(!BookMaintenance::restore(b.dm(), file, &why));
        QVERIFY(!why.isEmpty());
        QCOMPARE(snapshot(db), before);
        QVERIFY(lastLogged(db) != "恢复数据库");
        if (!TestBook::onPostgres()) {
            // Neither a safety copy nor a work file: the book was never let go.
            QCOMPARE(QDir(b.dataDir()).entryList({"KLVData1*.db", "*.restore*"}, QDir::Files), QStringList{"KLVData1.db"});
        }
    }

    void anOlderBookIsUpgradedOnRestore()
    {
        TestBook b;
        QTemporaryDir dir;
        const QString file = freshBookFile(dir);
        runOn(file, "DROP TABLE czrz");
        runOn(file, "UPDATE schema_version SET version = 1");
        QString why;
        QVERIFY2(BookMaintenance::restore(b.dm(), file, &why), qPrintable(why));
        QCOMPARE(schema::version(b.db()), schema::CurrentVersion);
        QCOMPARE(lastLogged(b.db()), QString("恢复数据库"));
    }

    void anInterruptedBackupLeavesNothingUnderTheName()
    {
        if (TestBook::onPostgres()) QSKIP("a shared book is written to the work file in one pass");
        TestBook b;
        Database &db = b.db();
        fill(db);
        const QString target = QDir(BookMaintenance::backupFolder(db)).filePath("KLV20240305.bak");
        const QString part = target + ".part";
        {
            QFile old(target);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("yesterday's backup");
        }
        auto content = [&] {
            QFile f(target);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        // Half-way through the copy the name still holds the old file: a backup killed now
        // leaves it so.
        int steps = 0;
        QString why;
        const bool done = BookMaintenance::backup(db, target, &why, [&](qint64 copied, qint64 total) {
            ++steps;
            [&] {
                QVERIFY(copied < total);
                QCOMPARE(content(), QByteArray("yesterday's backup"));
                QVERIFY(QFile::exists(part));
            }();
            return false;
        });
        QVERIFY(!done);
        QCOMPARE(steps, 1);
        QCOMPARE(content(), QByteArray("yesterday's backup"));
        QVERIFY(!QFile::exists(part));

        // A whole backup replaces the file of the same name.
        QVERIFY2(BookMaintenance::backup(db, target, &why), qPrintable(why));
        QVERIFY(content().startsWith("SQLite format 3"));
        QVERIFY(!QFile::exists(part));
    }

    void compactionKeepsTheData()
    {
        TestBook b;
        Database &db = b.db();
        fill(db);
        {
            Transaction tx(db);
            for (int i = 0; i < 3000; ++i) db.insert("cgfx", {{"dh", QString("CG%1").arg(i)}, {"ppgg", QString(200, u'管')}});
            tx.commit();
        }
        db.exec("DELETE FROM cgfx");
        const QString before = snapshot(db);
        const QString book = b.location().file;
        const qint64 grown = QFileInfo(book).size();
        if (!TestBook::onPostgres()) {
            QFile leftOver(book + ".tmp");   // from a compaction that was cut short
            QVERIFY(leftOver.open(QIODevice::WriteOnly));
            leftOver.write("half a book");
        }
        QString why;
        QVERIFY2(BookMaintenance::compact(b.dm(), &why), qPrintable(why));
        QCOMPARE(snapshot(db), before);
        QCOMPARE(lastLogged(db), QString("压缩数据库"));
        if (!TestBook::onPostgres()) {
            QVERIFY(!QFile::exists(book + ".tmp"));
            QVERIFY2(QFileInfo(book).size() < grown / 2, "the free space is gone");
        }
    }

    void aFailedCompactionLeavesTheBook()
    {
        if (TestBook::onPostgres()) QSKIP("a shared book is vacuumed in place");
        TestBook b;
        fill(b.db());
        const QString before = snapshot(b.db());
        // The work file cannot be made where it belongs.
        QVERIFY(QDir().mkdir(b.location().file + ".tmp"));
        QString why;
        QVERIFY(!BookMaintenance::compact(b.dm(), &why));
        QCOMPARE(snapshot(b.db()), before);
        QVERIFY(QDir().rmdir(b.location().file + ".tmp"));
    }

    void theFileIsNotSwappedUnderAnotherProgram()
    {
        if (TestBook::onPostgres()) QSKIP("only a file book is swapped");
        TestBook b;
        fill(b.db());
        const QString before = snapshot(b.db());
        QTemporaryDir dir;
        const QString backup = QDir(dir.path()).filePath("KLV.bak");
        QVERIFY(BookMaintenance::backup(b.db(), backup, nullptr));
        b.db().exec("DELETE FROM kh");
        const QString changed = snapshot(b.db());
        {
            SqliteFile other;   // a second copy of the program working on the same book
            QVERIFY(other.open(b.location().file, false, nullptr));
            QVERIFY(other.exec("SELECT COUNT(*) FROM sp"));
            QString why;
            QVERIFY(!BookMaintenance::restore(b.dm(), backup, &why));
            QVERIFY(!BookMaintenance::compact(b.dm(), &why));
            QCOMPARE(snapshot(b.db()), changed);
        }
        QVERIFY(BookMaintenance::restore(b.dm(), backup, nullptr));
        QCOMPARE(snapshot(b.db()), before);
    }

    void aSharedBookIsNotReplacedOrEmptiedUnderOtherCounters()
    {
        if (!TestBook::onPostgres()) QSKIP("only a shared book has other counters connected");
        TestBook b;
        fill(b.db());
        QTemporaryDir dir;
        const QString backup = QDir(dir.path()).filePath("KLV.bak");
        QVERIFY(BookMaintenance::backup(b.db(), backup, nullptr));
        // Connections closed a moment ago may still be leaving the server.
        QTRY_COMPARE(BookMaintenance::otherCounters(b.db()), 0);
        const QString before = snapshot(b.db());
        {
            Database second(b.location()), third(b.location());   // two other counters
            QVERIFY(second.open() && third.open());
            QCOMPARE(BookMaintenance::otherCounters(b.db()), 2);
            const QString refusal = "还有2台电脑连接着服务器账套，请先让其他电脑退出本软件，再进行此操作！";
            QCOMPARE(BookMaintenance::othersConnectedRefusal(b.db()), refusal);
            QString why;
            QVERIFY(!BookMaintenance::restore(b.dm(), backup, &why));
            QCOMPARE(why, refusal);
            QVERIFY(!BookMaintenance::compact(b.dm(), &why));
            QCOMPARE(why, refusal);
            try {
                BookClearing::clear(b.db(), {0, 1});
                QFAIL("cleared under other counters");
            } catch (const DbError &e) {
                QCOMPARE(e.text(), refusal);
            }
            QCOMPARE(snapshot(b.db()), before);
            // A backup works from any counter.
            QVERIFY(BookMaintenance::backup(second, QDir(dir.path()).filePath("KLV2.bak"), &why));
        }
        QTRY_COMPARE(BookMaintenance::otherCounters(b.db()), 0);
        QString why;
        QVERIFY2(BookMaintenance::compact(b.dm(), &why), qPrintable(why));
        QVERIFY2(BookMaintenance::restore(b.dm(), backup, &why), qPrintable(why));
    }

    void aFileBookMovesIntoANewSharedBookWhole()
    {
        if (!TestBook::onPostgres()) QSKIP("a file book moves into a server's book");
        QTemporaryDir dir;
        const QString file = QDir(dir.path()).filePath("KLVData1.db");
        QString why;
        QVERIFY(createBook(BookLocation::sqlite(file), "8888", &why));
        QString expected;
        {
            DM1 source(BookLocation::sqlite(file));
            QVERIFY(source.open());
            fill(source.db());
            expected = snapshot(source.db());
        }
        TestBook b;   // the new, empty shared book
        QVERIFY2(BookMaintenance::loadIntoShared(b.dm(), file, &why), qPrintable(why));
        QCOMPARE(snapshot(b.db()), expected);
        QCOMPARE(lastLogged(b.db()), QString("转入账套"));
        QCOMPARE(session::login(b.db(), "系统管理员", "8888"), session::LoginResult::Ok);
        b.db().insert("sp", {{"txm", "new"}});   // ids go on after the moved rows

        // What is not a sound book moves nothing.
        runOn(file, "DROP TABLE sp");
        QVERIFY(!BookMaintenance::loadIntoShared(b.dm(), file, &why));
        QVERIFY(b.db().exists("SELECT 1 FROM sp WHERE txm = 'new'"));
    }
};

MARVODA_TEST(TestMaintenance)
#include "tst_maintenance.moc"
