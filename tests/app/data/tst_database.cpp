#include "app/data/dm1.h"
#include "app/data/schema.h"
#include "app/text/decimal.h"
#include "test_book.h"
#include "test_main.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

class TestDatabase : public QObject {
    Q_OBJECT
private slots:
    void newBookHoldsEveryTableAndColumn()
    {
        // The tables and columns stored books and migrated data rely on, written out here
        // rather than derived from the schema code so that a dropped column is caught.
        const QList<std::pair<const char *, const char *>> expected = {
            {"sp", "id ck lb ppgg txm dw jj xjpf xjls slt jet kcsl kcjg kcje ms bz"},
            {"lb", "id lb"}, {"dw", "id dw"}, {"ck", "id ck"}, {"rklx", "id lx"}, {"szxm", "id lb xm"},
            {"ghs", "id mc lxr lxdh lxcz lxdz yb yhmc yhzh bz"},
            {"kh", "id mc lxr lxdh lxcz lxdz yb yhmc yhzh bz"},
            {"yg", "id xm xb zw bm dh dz jbgz sfz bz"},
            {"danwei", "mczc mcdy lxr dh cz dz bz1 bz2 bz3 bz4"},
            {"yhsz", "yhmc yhmm"}, {"quanxian", "yh qx"},
            {"cgglz", "id dh rq kdrq ck ghs jsr hjsl hjje yhe yfe sfe qk bz zhidan shbj"},
            {"xsglz", "id dh rq kdrq ck kh jsr hjsl hjje yhe yse sse qk bz zhidan shbj"},
            {"cgglc", "id dh txm ppgg dw sl jg zk je bj hh"},
            {"xsglc", "id dh txm ppgg dw sl jg zk je bj hh cbjg cbje maoli"},
            {"cgfx", "id rq dh ck ghs jsr txm ppgg dw sl jg zk je"},
            {"xsfx", "id rq dh ck kh jsr txm ppgg dw sl jg zk je cbjg cbje maoli"},
            {"fkfx", "id rq dh ghs je jsr bz shbj"}, {"skfx", "id rq dh kh je jsr bz shbj"},
            {"dbglz", "id dh rq kdrq ck1 ck2 jsr hjsl hjje bz zhidan shbj"},
            {"dbglc", "id dh txm ppgg dw sl jg je bj hh"},
            {"rkfx", "id rq dh ck lx jsr txm ppgg dw sl jg je"},
            {"rkglz", "id dh rq kdrq ck lx jsr hjsl hjje bz zhidan shbj"},
            {"rkglc", "id dh txm ppgg dw sl jg je bj hh"},
            {"zu", "spid1 spid2 xs sl"}, {"chai", "spid1 spid2 xs sl"},
            {"szfx", "id rq lb xm se ze jsr bz"},
            {"cghz", ""}, {"xshz", ""}, {"xstj3", ""}, {"rkhz", ""}, {"kctj", ""},
            {"czrz", "id sj czy cz dh nr"}, {"lrhh", "id lx czy sj"},
        };
        TestBook book;
        const QStringList tables = book.db().connection().tables();
        for (const auto &[table, columns] : expected) {
            QVERIFY2(tables.contains(QString::fromLatin1(table)), table);
            const QSqlRecord rec = book.db().connection().record(QString::fromLatin1(table));
            for (const QString &c : QString::fromLatin1(columns).split(u' ', Qt::SkipEmptyParts))
                QVERIFY2(rec.indexOf(c) >= 0, qPrintable(QStringLiteral("%1.%2").arg(table, c)));
        }
        QCOMPARE(schema::version(book.db()), schema::CurrentVersion);

        QSqlQuery q = book.db().exec("SELECT count(*) FROM danwei");
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 1);
        q = book.db().exec("SELECT qx FROM quanxian WHERE yh = ? ORDER BY id", {schema::builtInOperator()});
        QStringList granted;
        while (q.next()) granted << q.value(0).toString();
        QCOMPARE(granted, schema::permissionNames());
        QCOMPARE(granted.size(), 12);
        q = book.db().exec("SELECT yhmm FROM yhsz WHERE yhmc = ?", {schema::builtInOperator()});
        QVERIFY(q.next());
        QVERIFY2(q.value(0).toString().startsWith("$argon2id$"), "password kept as a hash");
    }

    void anOlderBookIsUpgradedInPlaceOnOpening()
    {
        // A book made before the operation log existed: version 1, no czrz table.
        TestBook book;
        book.db().exec("DROP TABLE czrz");
        book.db().exec("UPDATE schema_version SET version = 1");
        book.db().insert("lb", {{"lb", "钢材"}});
        book.db().disconnect();
        DM1 reopened(book.location());
        QVERIFY(reopened.open());
        QCOMPARE(schema::version(reopened.db()), schema::CurrentVersion);
        QVERIFY(reopened.db().connection().tables().contains("czrz"));
        QVERIFY(reopened.db().exists("SELECT 1 FROM lb WHERE lb = ?", {"钢材"}));
    }

    // A book of version 2 gains the statistics' indexes on the detail ledgers when opened, its
    // date indexes are widened, and so is the goods index by code (version 4).
    void aVersionTwoBookGainsTheLedgerIndexes()
    {
        TestBook book;
        const QStringList added = {"cgfx_i4", "cgfx_i5", "cgfx_i6", "xsfx_i4", "xsfx_i5", "xsfx_i6", "rkfx_i4", "szfx_i1"};
        for (const QString &i : added) book.db().exec("DROP INDEX " + i);
        book.db().exec("CREATE INDEX szfx_i1 ON szfx (rq)");
        book.db().exec("DROP INDEX sp_i4");
        book.db().exec("CREATE INDEX sp_i4 ON sp (ck, ppgg, txm, dw)");
        book.db().exec("UPDATE schema_version SET version = 2");
        book.db().disconnect();
        DM1 reopened(book.location());
        QVERIFY(reopened.open());
        QCOMPARE(schema::version(reopened.db()), schema::CurrentVersion);
        const QString listed = TestBook::onPostgres() ? "SELECT 1 FROM pg_indexes WHERE indexname = ?"
                                                      : "SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ?";
        for (const QString &i : added) QVERIFY2(reopened.db().exists(listed, {i}), qPrintable(i));
        const QString definition = TestBook::onPostgres() ? "SELECT indexdef FROM pg_indexes WHERE indexname = ?"
                                                          : "SELECT sql FROM sqlite_master WHERE name = ?";
        for (const auto &[index, column] : {std::pair{"szfx_i1", "ze"}, std::pair{"sp_i4", "jet"}}) {
            QSqlQuery q = reopened.db().exec(definition, {index});
            QVERIFY(q.next());
            QVERIFY2(q.value(0).toString().contains(column), qPrintable(q.value(0).toString()));
        }
    }

    // A version-5 book may hold goods names taken over as NULL: they become empty text, the
    // other columns keep their NULLs.
    void aVersionFiveBookLosesItsNullGoodsNames()
    {
        TestBook book;
        Database &db = book.db();
        const qint64 goods = db.insert("sp", {{"ck", "主仓库"}, {"ppgg", "红砖"}, {"txm", QString()}, {"dw", QString()}});
        const qint64 line = db.insert("dbglc", {{"dh", "DB1"}, {"txm", QString()}, {"bj", QString()}});
        db.exec("UPDATE schema_version SET version = 5");
        db.disconnect();
        DM1 reopened(book.location());
        QVERIFY(reopened.open());
        QCOMPARE(schema::version(reopened.db()), schema::CurrentVersion);
        QVERIFY(reopened.db().exists("SELECT 1 FROM sp WHERE id = ? AND txm = '' AND dw = '' AND ms IS NULL", {goods}));
        QVERIFY(reopened.db().exists("SELECT 1 FROM dbglc WHERE id = ? AND txm = '' AND bj IS NULL", {line}));
    }

    // A list reads its first screen and the rest later, while other statements run on the same
    // connection (its totals, another window's query): the rows still to come stay there.
    void aQueryHeldOpenKeepsItsRowsWhileOthersRun()
    {
        TestBook book;
        Database &db = book.db();
        {
            Transaction tx(db);
            for (int i = 0; i < 300; ++i) db.insert("lb", {{"lb", QString::number(i)}});
            tx.commit();
        }
        QSqlQuery held = db.exec("SELECT lb FROM lb ORDER BY id");
        QVERIFY(held.next());
        QSqlQuery other = db.exec("SELECT COUNT(*) FROM lb");
        QVERIFY(other.next());
        QCOMPARE(other.value(0).toInt(), 300);
        int read = 1;
        while (held.next()) ++read;
        QCOMPARE(read, 300);
    }

    void quotesAndWildcardsAreOrdinaryText()
    {
        TestBook book;
        Database &db = book.db();
        const QStringList names = {"O'Brien 钢管", "50%水泥", "500水泥", "a_b", "axb", "PVC管", "back\\slash"};
        for (const QString &n : names) db.insert("sp", {{"ppgg", n}, {"txm", n}, {"ck", "一号库"}});

        auto find = [&](const QString &typed) {
            QSqlQuery q = db.exec("SELECT ppgg FROM sp WHERE " + db.containsCondition("ppgg") + " ORDER BY id",
                                  {Database::containsPattern(typed)});
            QStringList out;
            while (q.next()) out << q.value(0).toString();
            return out;
        };
        QCOMPARE(find("'"), QStringList{"O'Brien 钢管"});
        QCOMPARE(find("50%"), QStringList{"50%水泥"});
        QCOMPARE(find("a_b"), QStringList{"a_b"});
        QCOMPARE(find("pvc"), QStringList{"PVC管"});
        QCOMPARE(find("\\"), QStringList{"back\\slash"});
        QCOMPARE(find("水泥"), (QStringList{"50%水泥", "500水泥"}));
        QVERIFY(db.exists("SELECT 1 FROM sp WHERE ppgg = ?", {"O'Brien 钢管"}));
    }

    void amountsAreStoredExactly()
    {
        TestBook book;
        Database &db = book.db();
        for (const char *v : {"0.1", "0.2", "12345678901.23", "-0.01"})
            db.insert("szfx", {{"se", Decimal::parse(QString::fromLatin1(v))->raw()}});
        QSqlQuery q = db.exec("SELECT sum(se) FROM szfx");
        QVERIFY(q.next());
        QCOMPARE(Decimal::fromRaw(q.value(0).toLongLong()).toPlain(), QString("12345678901.52"));
    }

    void transactionRollsBackUnlessCommitted()
    {
        TestBook book;
        Database &db = book.db();
        try {
            Transaction tx(db);
            db.insert("lb", {{"lb", "钢材"}});
            db.insert("yhsz", {{"yhmc", "系统管理员"}});   // operator names are unique: refused
            tx.commit();
            QFAIL("a duplicate operator was accepted");
        } catch (const DbError &e) {
            QVERIFY(!e.text().isEmpty());
        }
        QVERIFY(!db.exists("SELECT 1 FROM lb"));
        {
            Transaction tx(db);
            db.insert("lb", {{"lb", "钢材"}});
            tx.commit();
        }
        QVERIFY(db.exists("SELECT 1 FROM lb WHERE lb = ?", {"钢材"}));
    }

    void nestedGuardsJoinTheOuterTransaction()
    {
        TestBook book;
        Database &db = book.db();
        {
            Transaction outer(db);
            db.insert("dw", {{"dw", "米"}});
            {
                Transaction inner(db);
                db.insert("dw", {{"dw", "吨"}});
                inner.commit();
            }
            outer.commit();
        }
        QVERIFY(db.exists("SELECT 1 FROM dw WHERE dw = ?", {"吨"}));
        try {
            Transaction outer(db);
            db.insert("dw", {{"dw", "根"}});
            { Transaction inner(db); }   // a step that gave up
            outer.commit();
            QFAIL("the outer commit went through after a failed step");
        } catch (const DbError &) {
        }
        QVERIFY(!db.exists("SELECT 1 FROM dw WHERE dw = ?", {"根"}));
        db.insert("dw", {{"dw", "根"}});   // and the book takes writes again afterwards
        QVERIFY(db.exists("SELECT 1 FROM dw WHERE dw = ?", {"根"}));
    }

    void documentNumbersAreUniquePerHeaderTable()
    {
        TestBook book;
        Database &db = book.db();
        db.insert("cgglz", {{"dh", "CG20261210001"}});
        db.insert("xsglz", {{"dh", "CG20261210001"}});   // another table: allowed
        QVERIFY_THROWS_EXCEPTION(DbError, db.insert("cgglz", {{"dh", "CG20261210001"}}));
    }

    void idsFollowInsertionOrderAfterDeletes()
    {
        TestBook book;
        Database &db = book.db();
        const qint64 a = db.insert("dw", {{"dw", "米"}});
        const qint64 b = db.insert("dw", {{"dw", "吨"}});
        QVERIFY(b > a);
        db.exec("DELETE FROM dw WHERE id = ?", {b});
        const qint64 c = db.insert("dw", {{"dw", "根"}});
        QVERIFY2(c > b, "a new row's id follows every id ever given");
    }

    void reconnectsAfterDisconnect()
    {
        TestBook book;
        const QString sql = "SELECT count(*) FROM dw WHERE dw = ?";
        QVERIFY(book.db().execCached(sql, {"米"}).next());
        book.db().disconnect();
        QVERIFY(!book.db().isOpen());
        QVERIFY(book.db().exists("SELECT 1 FROM danwei"));
        book.db().insert("dw", {{"dw", "米"}});
        QSqlQuery &q = book.db().execCached(sql, {"米"});   // a kept statement survives the reconnection
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 1);
    }

    // The server ends the counter's session (a restart, a broken network): a read runs again
    // unseen, a write is refused whole with the operator's message and the server's words kept
    // for a technician, and the next command works.
    void aLostServerConnectionIsOpenedAgain()
    {
        if (!TestBook::onPostgres()) QSKIP("an embedded book has no server connection to lose");
        TestBook book;
        Database &db = book.db();
        Database other(book.location());
        QVERIFY(other.open());
        const auto cut = [&] {
            QSqlQuery q = db.exec("SELECT pg_backend_pid()");
            QVERIFY(q.next());
            const qint64 backend = q.value(0).toLongLong();
            QVERIFY(other.exists("SELECT pg_terminate_backend(?)", {backend}));
            QTRY_VERIFY(!other.exists("SELECT 1 FROM pg_stat_activity WHERE pid = ?", {backend}));
        };
        const auto units = [&](const QString &name) {
            QSqlQuery q = other.exec("SELECT count(*) FROM dw WHERE dw = ?", {name});
            return q.next() ? q.value(0).toInt() : -1;
        };
        const auto lostWhileWriting = [](const DbError &e) {
            return e.isConnectionLost() && e.text() == DbError::LostWhileWriting && !e.detail().isEmpty();
        };

        // Reads, plain and kept, run again on a new connection.
        cut();
        QVERIFY(db.exists("SELECT 1 FROM danwei"));
        QVERIFY(db.execCached("SELECT count(*) FROM dw WHERE dw = ?", {"米"}).next());
        cut();
        QVERIFY(db.execCached("SELECT count(*) FROM dw WHERE dw = ?", {"米"}).next());

        // A transaction cut in the middle: nothing of it is saved, nothing more of it runs.
        {
            Transaction t(db);
            db.insert("dw", {{"dw", "吨"}});
            cut();
            try {
                db.insert("dw", {{"dw", "米"}});
                QFAIL("a write on a lost connection must be refused");
            } catch (const DbError &e) {
                QVERIFY2(lostWhileWriting(e), qPrintable(e.text() + " / " + e.detail()));
            }
            QVERIFY_THROWS_EXCEPTION(DbError, db.insert("dw", {{"dw", "米"}}));
            QVERIFY_THROWS_EXCEPTION(DbError, t.commit());
        }
        QCOMPARE(units("吨"), 0);
        QCOMPARE(units("米"), 0);

        // Cut just before the commit: refused, not reported as saved.
        {
            Transaction t(db);
            db.insert("dw", {{"dw", "吨"}});
            cut();
            QVERIFY_THROWS_EXCEPTION(DbError, t.commit());
        }
        QCOMPARE(units("吨"), 0);

        // A write outside any transaction: preparing it runs nothing, so a lost connection met
        // there is opened again and the write runs once.
        cut();
        db.insert("dw", {{"dw", "箱"}});
        QCOMPARE(units("箱"), 1);
        // One sent whole may or may not have run when the connection broke: refused, never run
        // a second time; the next command works.
        cut();
        const QString rename = "UPDATE dw SET dw = '盒' WHERE dw = '箱'";
        try {
            db.exec(rename);
            QFAIL("a write on a lost connection must be refused");
        } catch (const DbError &e) {
            QVERIFY(lostWhileWriting(e));
        }
        QCOMPARE(units("盒"), 0);
        db.exec(rename);
        QCOMPARE(units("盒"), 1);

        // A transaction that begins on a lost connection begins on a new one.
        cut();
        {
            Transaction t(db);
            db.insert("dw", {{"dw", "吨"}});
            t.commit();
        }
        QCOMPARE(units("吨"), 1);
    }

    void openingRefusesWhatIsNotABook()
    {
        if (TestBook::onPostgres()) QSKIP("book files are an embedded-book matter");
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath("KLVData1.db");
        QString why;
        DM1 missing(BookLocation::sqlite(path));
        QVERIFY(!missing.open(&why));
        QVERIFY2(!QFile::exists(path), "opening a missing book must not create it");

        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("this is a letter, not a book");
        f.close();
        DM1 junk(BookLocation::sqlite(path));
        QVERIFY(!junk.open(&why));
    }

    void creatingRefusesToOverwrite()
    {
        TestBook book;
        book.db().insert("lb", {{"lb", "钢材"}});
        QString why;
        QVERIFY(!createBook(book.location(), QString(), &why));
        QVERIFY(!why.isEmpty());
        QVERIFY(book.db().exists("SELECT 1 FROM lb WHERE lb = ?", {"钢材"}));
    }
};

MARVODA_TEST(TestDatabase)
#include "tst_database.moc"
