#include "admin/mdb_source.h"
#include "admin/takeover.h"
#include "app/data/schema.h"
#include "app/password.h"
#include "app/session.h"
#include "documents/document_numbering.h"
#include "documents/document_service.h"
#include "master/goods.h"
#include "test_book.h"
#include "test_main.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

using Row = QList<QByteArray>;   // a null QByteArray is NULL

// A book kept elsewhere, held in memory: the mapping under test without any file.
class MemorySource final : public TableSource {
public:
    struct Table {
        QList<SourceColumn> columns;
        QList<Row> rows;
        qint64 declared = -1;
    };

    MemorySource &add(const QString &name, const QList<SourceColumn> &columns, const QList<Row> &rows)
    {
        tables_[name] = {columns, rows, qint64(rows.size())};
        order_ << name;
        return *this;
    }

    QString describe() const override { return QStringLiteral("memory"); }
    QStringList tableNames() override { return order_; }
    std::unique_ptr<SourceTable> open(const QString &name) override { return std::make_unique<Reader>(tables_[name]); }

private:
    class Reader final : public SourceTable {
    public:
        explicit Reader(const Table &t) : t_(t) {}
        const QList<SourceColumn> &columns() const override { return t_.columns; }
        qint64 declaredRows() const override { return t_.declared; }
        bool next() override { return ++at_ < t_.rows.size(); }
        bool isNull(int c) const override { return t_.rows[at_][c].isNull(); }
        QByteArrayView text(int c) const override { return t_.rows[at_][c]; }

    private:
        const Table &t_;
        qsizetype at_ = -1;
    };

    QMap<QString, Table> tables_;
    QStringList order_;
};

constexpr SourceType Txt = SourceType::Text;
constexpr SourceType Int = SourceType::Integer;

// Somewhere with no book yet: a folder of its own, or an emptied PostgreSQL database.
class EmptyPlace {
public:
    EmptyPlace()
    {
        if (TestBook::onPostgres()) {
            { TestBook makesTheDatabase; }
            where_ = TestBook::postgresLocation();
            Database admin(where_);
            if (!admin.open()) qFatal("postgres");
            admin.exec(QStringLiteral("DROP SCHEMA IF EXISTS public CASCADE"));
            admin.exec(QStringLiteral("CREATE SCHEMA public"));
        } else {
            where_ = BookLocation::sqlite(QDir(dir_.path()).filePath(QStringLiteral("KLVData1.db")));
        }
    }
    const BookLocation &where() const { return where_; }
    QString dir() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    BookLocation where_;
};

QString fixture(const QString &name)
{
    return QDir(qEnvironmentVariable("MARVODA_SOURCE_DIR")).filePath(QStringLiteral("tests/admin/takeover/") + name);
}

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QVariant valueAt(Database &db, const QString &table, qint64 id, const QString &column)
{
    QSqlQuery q = db.exec(QStringLiteral("SELECT %1 FROM %2 WHERE id = ?").arg(column, table), {id});
    return q.next() ? q.value(0) : QVariant(QStringLiteral("<no row>"));
}

QString notes(const takeover::Result &r) { return r.report.notes.join(u'\n'); }

takeover::AmountSum sumOf(const takeover::Result &r, const QString &table, const QString &column)
{
    for (const takeover::TableTally &t : r.report.tables)
        for (const takeover::AmountSum &s : t.sums)
            if (t.table == table && s.column == column) return s;
    return {};
}

// One table of the fixture as written by make-mdb.sh: "name:TYPE" columns, escaped cells.
struct TsvTable {
    QStringList names, types;
    QList<QList<std::optional<QString>>> rows;
};

TsvTable readTsv(const QString &path)
{
    TsvTable t;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) qFatal("%s", qPrintable(path));
    const QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    for (const QString &heading : lines[0].split(u'\t')) {
        t.names << heading.section(u':', 0, -2);
        t.types << heading.section(u':', -1);
    }
    for (int i = 1; i < lines.size(); ++i) {
        QList<std::optional<QString>> row;
        for (const QString &cell : lines[i].split(u'\t')) {
            if (cell == QLatin1String("\\N")) {
                row << std::nullopt;
                continue;
            }
            QString v;
            for (int k = 0; k < cell.size(); ++k) {
                if (cell[k] == u'\\' && k + 1 < cell.size()) {
                    const QChar n = cell[++k];
                    v += n == u't' ? u'\t' : n == u'n' ? u'\n' : n == u'r' ? u'\r' : n;
                } else {
                    v += cell[k];
                }
            }
            row << v;
        }
        t.rows << row;
    }
    return t;
}

// What the new book must hold for a cell the dealer typed into Access: text as typed (blank
// text reads as NULL), numbers as typed rounded to four decimals half to even, NULL as 0.
QVariant expected(const schema::Column &column, const std::optional<QString> &cell)
{
    using schema::ColumnKind;
    const ColumnKind kind = column.kind;
    if (kind == ColumnKind::Text) {
        // Warehouses and goods names, codes and units are never NULL: postings find rows by them.
        if (!cell || cell->isEmpty())
            return schema::goodsNameColumns().contains(QLatin1String(column.name)) ? QVariant(QString("")) : QVariant();
        return *cell;   // dates too: "yyyy-mm-dd", with the time of day when it has one
    }
    const qint64 raw = cell ? Decimal::parseOr0(*cell).raw() : 0;
    return kind == ColumnKind::Integer ? raw / Decimal::Scale : raw;
}

} // namespace

// The mapping from any source into a new book, on an in-memory source.
class TestTakeOverMapping : public QObject {
    Q_OBJECT
private slots:
    void amountsAndTexts_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<qint64>("raw");
        const int cur = int(SourceType::Currency), num = int(SourceType::Numeric), dbl = int(SourceType::Double),
                  sgl = int(SourceType::Single), txt = int(Txt), in = int(Int);
        QTest::newRow("currency at the top of its range") << cur << QByteArray("922337203685477.5807") << Q_INT64_C(9223372036854775807);
        QTest::newRow("currency at the bottom") << cur << QByteArray("-922337203685477.5808") << std::numeric_limits<qint64>::min();
        QTest::newRow("numeric with more decimals, half to even down") << num << QByteArray("1.00005") << qint64(10000);
        QTest::newRow("numeric with more decimals, half to even up") << num << QByteArray("1.00015") << qint64(10002);
        QTest::newRow("double half to even") << dbl << QByteArray("0.00025") << qint64(2);
        QTest::newRow("double beyond double's own digits") << dbl << QByteArray("123456789.12345") << Q_INT64_C(1234567891234);
        QTest::newRow("single") << sgl << QByteArray("3.14159") << qint64(31416);
        QTest::newRow("integer") << in << QByteArray("-2147483648") << Q_INT64_C(-21474836480000);
        QTest::newRow("number kept as text") << txt << QByteArray(" 12.5 ") << qint64(125000);
        QTest::newRow("NULL") << cur << QByteArray() << qint64(0);
    }
    void amountsAndTexts()
    {
        QFETCH(int, type);
        QFETCH(QByteArray, stored);
        QFETCH(qint64, raw);
        EmptyPlace place;
        MemorySource src;
        src.add("sp", {{"id", Int}, {"kcsl", SourceType(type)}, {"ppgg", Txt}}, {{"7", stored, "a\\b\n𠀀 "}});
        const takeover::Result r = takeover::takeOver(src, place.where());
        QVERIFY2(r.ok, qPrintable(r.why));
        DM1 dm(place.where());
        QVERIFY(dm.open());
        QCOMPARE(valueAt(dm.db(), "sp", 7, "kcsl").toLongLong(), raw);
        QCOMPARE(valueAt(dm.db(), "sp", 7, "ppgg").toString(), QString::fromUtf8("a\\b\n𠀀 "));
        QCOMPARE(sumOf(r, "sp", "kcsl").source.raw(), raw);
        QCOMPARE(sumOf(r, "sp", "kcsl").book.raw(), raw);
    }

    // Goods whose code, unit or warehouse the Access book left empty are still the same goods
    // row to every posting of the new book, for lines taken over and lines entered anew.
    void emptyGoodsNamesStillFindTheirRow()
    {
        EmptyPlace place;
        MemorySource src;
        src.add("sp", {{"id", Int}, {"ck", Txt}, {"ppgg", Txt}, {"txm", Txt}, {"dw", Txt},
                       {"kcsl", Int}, {"kcjg", SourceType::Currency}, {"kcje", SourceType::Currency}},
                {{"1", "主仓库", "红砖", "", QByteArray(), "10", "2.0000", "20.0000"}});
        src.add("xsglz", {{"id", Int}, {"dh", Txt}, {"ck", Txt}, {"shbj", Txt}},
                {{"1", "XS20240305001", "主仓库", "已审核"}});
        src.add("xsglc", {{"id", Int}, {"dh", Txt}, {"ppgg", Txt}, {"txm", Txt}, {"dw", Txt}, {"sl", Int},
                          {"jg", Int}, {"je", Int}, {"cbjg", Int}, {"bj", Txt}},
                {{"1", "XS20240305001", "红砖", "", "", "3", "5", "15", "2", "yz"}});
        const takeover::Result r = takeover::takeOver(src, place.where());
        QVERIFY2(r.ok, qPrintable(r.why));
        DM1 dm(place.where());
        QVERIFY(dm.open());
        Database &db = dm.db();
        session::current().stYhm1 = schema::builtInOperator();
        auto stock = [&] {
            QSqlQuery q = db.exec("SELECT COUNT(*), SUM(kcsl) FROM sp");
            return q.next() ? QStringLiteral("%1 rows, %2").arg(q.value(0).toInt()).arg(q.value(1).toLongLong() / Decimal::Scale)
                            : QString();
        };
        const DocumentKind &retail = documentKind(DocType::Retail);
        DocumentService service(db, retail);
        QCOMPARE(service.unapprove("XS20240305001"), DocumentService::Outcome::Done);
        QCOMPARE(stock(), QString("1 rows, 13"));
        // A new sale of the goods as the goods list shows them.
        const std::optional<GoodsRecord> g = GoodsCatalogue(db).find(1);
        QVERIFY(g);
        LineBuffer lines(db, retail);
        lines.startNew(DocumentNumbering::next(db, retail, QDate(2024, 3, 6)).dh);
        DocumentLine l;
        l.txm = g->txm;
        l.ppgg = g->ppgg;
        l.dw = g->dw;
        l.sl = Decimal(4);
        l.jg = Decimal(5);
        l.cbjg = g->kcjg;
        l.recompute(true);
        lines.add(l);
        DocumentHeader h;
        h.rq = "2024-03-06";
        h.setField("ck", g->ck);
        h.payable = h.paid = lines.totals().hjje;
        service.save(h, lines, true, QDate(2024, 3, 6));
        QCOMPARE(stock(), QString("1 rows, 9"));
    }

    void whatTheBookDoesNotKnowIsNamed()
    {
        EmptyPlace place;
        MemorySource src;
        src.add("SP", {{"ID", Int}, {"PPGG", Txt}, {"kcsl", Txt}, {"old", Txt}, {"pic", SourceType::Other}},
                {{"1", "管", "abc", "x", "p"}, {"2", "线", "3", {}, {}}});
        src.add("zu", {{"id", Int}, {"spid1", SourceType::Double}, {"spid2", Int}}, {{"1", "1.5", "2"}});
        src.add("tmp1", {{"a", Txt}}, {{"1"}, {"2"}, {"3"}});
        src.add("dw", {{"dw", Txt}}, {{"根"}, {"吨"}});
        const takeover::Result r = takeover::takeOver(src, place.where());
        QVERIFY2(r.ok, qPrintable(r.why));
        const QString n = notes(r);
        QVERIFY2(n.contains("表 tmp1（3 行）不属于本软件的数据，未导入。"), qPrintable(n));
        QVERIFY(n.contains("表 sp 的列 old（文本，1 行有值）新账套没有，未导入。"));
        QVERIFY(n.contains("表 sp 的列 pic（其他，1 行有值）新账套没有，未导入。"));
        QVERIFY(n.contains("Access 表 SP 没有列 kcje，取默认值（0）。"));
        QVERIFY(n.contains("Access 表 SP 没有列 bz，取默认值（空）。"));
        QVERIFY(n.contains("Access数据库中没有表 xsfx，新账套中此表为空。"));
        QVERIFY(n.contains("表 sp id 1 的 kcsl 列的值“abc”不是金额或数量，记为 0。"));
        QVERIFY(n.contains("表 zu id 1 的 spid1 列的值“1.5”不是整数，记为 0。"));
        DM1 dm(place.where());
        QVERIFY(dm.open());
        QCOMPARE(valueAt(dm.db(), "sp", 2, "kcsl").toLongLong(), qint64(30000));
        QVERIFY(valueAt(dm.db(), "sp", 2, "bz").isNull());
        QCOMPARE(valueAt(dm.db(), "sp", 2, "kcje").toLongLong(), qint64(0));
        QVERIFY(n.contains("Access 表 dw 没有 id 列，按读出顺序编号。"));
        QCOMPARE(valueAt(dm.db(), "dw", 2, "dw").toString(), QString("吨"));
        // The book needs its company row and built-in operator: added, and said so.
        QVERIFY(n.contains("已加入空白的一行"));
        QVERIFY(n.contains("已加入（密码为空）及其全部权限"));
        QCOMPARE(dm.db().exec("SELECT COUNT(*) FROM quanxian").next(), true);
        QSqlQuery q = dm.db().exec("SELECT COUNT(*) FROM quanxian WHERE yh = ?", {schema::builtInOperator()});
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 12);
    }

    // A book kept without unique rules: nothing is dropped, the report says what was done.
    void duplicatesComeOverNamed()
    {
        EmptyPlace place;
        MemorySource src;
        src.add("cgglz", {{"id", Int}, {"dh", Txt}, {"hjje", SourceType::Currency}},
                {{"1", "CG20240305001", "1.0000"},
                 {"2", "CG20240305001", "2.0000"},
                 {"3", "CG20240305001-2", "4.0000"},
                 {"4", "CG20240305001", "8.0000"}});
        src.add("cgglc", {{"id", Int}, {"dh", Txt}},
                {{"1", "CG20240305001"}, {"2", "CG20240305001"}, {"3", "CG20240305001-2"}});
        src.add("yhsz", {{"id", Int}, {"yhmc", Txt}, {"yhmm", Txt}},
                {{"1", "系统管理员", "a"}, {"2", "张三", "p1"}, {"3", "张三", "p2"}});
        src.add("quanxian", {{"id", Int}, {"yh", Txt}, {"qx", Txt}}, {{"1", "张三", "零售开单"}});
        src.add("ck", {{"id", Int}, {"ck", Txt}}, {{"1", "总仓"}, {"2", "总仓"}, {"3", "门市"}});
        // Ids: a gap, a repeat, one out of order, one missing.
        src.add("kh", {{"id", Int}, {"mc", Txt}}, {{"5", "甲"}, {"9", "乙"}, {"5", "丙"}, {"7", "丁"}, {{}, "戊"}});
        const takeover::Result r = takeover::takeOver(src, place.where());
        QVERIFY2(r.ok, qPrintable(r.why));
        DM1 dm(place.where());
        QVERIFY(dm.open());
        Database &db = dm.db();
        auto column = [&](const QString &sql) {
            QStringList out;
            QSqlQuery q = db.exec(sql);
            while (q.next()) out << q.value(0).toString();
            return out;
        };
        QCOMPARE(column("SELECT dh FROM cgglz ORDER BY id"),
                 QStringList({"CG20240305001", "CG20240305001-3", "CG20240305001-2", "CG20240305001-4"}));
        // The stored "-2" keeps its number and its own lines; no renamed header takes them.
        QCOMPARE(column("SELECT COUNT(*) FROM cgglc WHERE dh = 'CG20240305001'"), QStringList{"2"});
        QCOMPARE(column("SELECT hjje FROM cgglz WHERE dh = 'CG20240305001-2'"), QStringList{QString::number(4 * Decimal::Scale)});
        QCOMPARE(column("SELECT yhmc FROM yhsz ORDER BY id"), QStringList({"系统管理员", "张三", "张三-2"}));
        QCOMPARE(column("SELECT yh FROM quanxian ORDER BY id"), QStringList{"张三"});
        QCOMPARE(column("SELECT ck FROM ck ORDER BY id"), QStringList({"总仓", "总仓", "门市"}));
        QCOMPARE(column("SELECT id || ':' || mc FROM kh ORDER BY id"), QStringList({"5:甲", "7:丁", "9:乙", "10:丙", "11:戊"}));
        const QString n = notes(r);
        QVERIFY2(n.contains("表 cgglz id 2：单号 CG20240305001 重复，改为 CG20240305001-3；明细和流水仍随原单号。"), qPrintable(n));
        QVERIFY(n.contains("表 yhsz id 3：操作员名称“张三”重复，改名为“张三-2”，密码不变，未授予权限。"));
        QVERIFY(n.contains("表 ck 中“总仓”出现 2 次，均已保留"));
        QVERIFY(n.contains("表 kh 的 id 5 重复或无效，该行改为 id 10。"));
        QVERIFY(n.contains("表 kh 的 id 空 重复或无效，该行改为 id 11。"));
        // Both operators of one name keep their own password.
        QSqlQuery q = db.exec("SELECT yhmc, yhmm FROM yhsz WHERE yhmc LIKE '张三%' ORDER BY id");
        QVERIFY(q.next() && verifyPassword(q.value(1).toString(), "p1"));
        QVERIFY(q.next() && verifyPassword(q.value(1).toString(), "p2"));
        QVERIFY(q.value(1).toString().startsWith("$argon2id$"));
        // The numbering goes on after the largest id taken over.
        QCOMPARE(db.insert("kh", {{"mc", "新"}}), qint64(12));
        QCOMPARE(db.insert("cgglz", {{"dh", "CG20991231001"}}), qint64(5));
        QCOMPARE(sumOf(r, "cgglz", "hjje").book.toPlain(), QString("15"));
    }

    void cancelLeavesNothing_data()
    {
        QTest::addColumn<QString>("at");
        QTest::newRow("while rows come in") << "sp";
        QTest::newRow("while indexes are built") << takeover::BuildingIndexesStep;
        QTest::newRow("while the book is checked") << takeover::CheckingStep;
    }
    void cancelLeavesNothing()
    {
        QFETCH(QString, at);
        EmptyPlace place;
        MemorySource src;
        QList<Row> many;
        for (int i = 1; i <= 5000; ++i) many << Row{QByteArray::number(i), "x"};
        src.add("sp", {{"id", Int}, {"ppgg", Txt}}, many);
        std::atomic<bool> cancel{false};
        const takeover::Result r = takeover::takeOver(src, place.where(), [&](const takeover::Progress &p) {
            if (p.table == at && (p.rows > 0 || at != u"sp")) cancel = true;
        }, &cancel);
        QVERIFY(!r.ok);
        QVERIFY(r.cancelled);
        QCOMPARE(r.why, takeover::CancelledMessage);
        expectNoBook(place);
    }

    void damagedTables()
    {
        EmptyPlace place;

        // A table that says it holds more rows than it gives is a damaged file.
        // A damaged table of ours stops the take-over; one that is not ours is only named.
        struct Broken final : TableSource {
            QStringList names;
            QString describe() const override { return "broken"; }
            QStringList tableNames() override { return names; }
            std::unique_ptr<SourceTable> open(const QString &t) override { throw SourceError("Access数据库已损坏：表 " + t); }
        } broken;
        broken.names = {"ck"};
        const takeover::Result f = takeover::takeOver(broken, place.where());
        QVERIFY(!f.ok && !f.cancelled);
        QCOMPARE(f.why, takeover::FailedMessage + "Access数据库已损坏：表 ck");
        expectNoBook(place);
        broken.names = {"临时表"};
        const takeover::Result g = takeover::takeOver(broken, place.where());
        QVERIFY2(g.ok, qPrintable(g.why));
        QVERIFY(notes(g).contains("表 临时表 不属于本软件的数据，未导入（Access数据库已损坏：表 临时表）。"));
    }

    void oneTakeOverAtATimeIntoAFolder()
    {
        if (TestBook::onPostgres()) QSKIP("a PostgreSQL take-over is one transaction");
        EmptyPlace place;
        MemorySource src;
        src.add("kh", {{"id", Int}, {"mc", Txt}}, {{"1", "甲"}});
        QLockFile other(place.where().file + ".takeover.lock");
        QVERIFY(other.tryLock(0));
        const takeover::Result r = takeover::takeOver(src, place.where());
        QVERIFY(!r.ok);
        QCOMPARE(r.why, takeover::BusyMessage);
        other.unlock();
        expectNoBook(place);
        QVERIFY(takeover::takeOver(src, place.where()).ok);
    }

    void refusesWhereABookIs()
    {
        TestBook existing;
        existing.db().insert("kh", {{"mc", "原有"}});
        MemorySource src;
        src.add("kh", {{"id", Int}, {"mc", Txt}}, {{"1", "新"}});
        const takeover::Result r = takeover::takeOver(src, existing.location());
        QVERIFY(!r.ok);
        QVERIFY2(r.why.startsWith(takeover::ExistsMessage), qPrintable(r.why));
        QSqlQuery q = existing.db().exec("SELECT mc FROM kh");
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QString("原有"));
        QVERIFY(!q.next());
    }

private:
    static void expectNoBook(const EmptyPlace &place)
    {
        if (TestBook::onPostgres()) {
            Database db(place.where());
            QVERIFY(db.open());
            QVERIFY(!db.exists("SELECT 1 FROM information_schema.tables WHERE table_schema = current_schema()"));
        } else {
            QCOMPARE(QDir(place.dir()).entryList(QDir::Files | QDir::Hidden), QStringList());
        }
    }
};

// Real Access files made by the fixture tool, read through libmdb.
class TestTakeOverAccessFile : public QObject {
    Q_OBJECT
private slots:
    void everyValueComesOver()
    {
        EmptyPlace place;
        // A copy of its own: a PostgreSQL book keeps the report beside the Access file.
        QTemporaryDir beside;
        const QString mdb = QDir(beside.path()).filePath("KLVData1.mdb");
        QVERIFY(QFile::copy(fixture("full.mdb"), mdb));
        const QByteArray before = fileHash(mdb);
        const QDateTime modified = QFileInfo(mdb).lastModified();
        const takeover::Result r = takeover::takeOverAccessBook(mdb, place.where());
        QVERIFY2(r.ok, qPrintable(r.why));
        QCOMPARE(fileHash(mdb), before);
        QCOMPARE(QFileInfo(mdb).lastModified(), modified);

        DM1 dm(place.where());
        QVERIFY(dm.open());
        Database &db = dm.db();
        int compared = 0;
        const QDir tables(fixture("full"));
        for (const QString &file : tables.entryList({"*.tsv"})) {
            const QString name = file.chopped(4).toLower();
            const schema::Table *t = schema::table(name);
            if (!t) continue;
            const TsvTable tsv = readTsv(tables.filePath(file));
            const int idAt = int(tsv.names.indexOf(QRegularExpression("^id$", QRegularExpression::CaseInsensitiveOption)));
            QVERIFY(idAt >= 0);
            QSqlQuery count = db.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(name));
            QVERIFY(count.next());
            if (name != u"yhsz" && name != u"quanxian" && name != u"danwei") QCOMPARE(count.value(0).toInt(), int(tsv.rows.size()));
            for (const auto &row : tsv.rows) {
                const qint64 id = row[idAt]->toLongLong();
                QSqlQuery q = db.exec(QStringLiteral("SELECT * FROM %1 WHERE id = ?").arg(name), {id});
                QVERIFY2(q.next(), qPrintable(QStringLiteral("%1 id %2").arg(name).arg(id)));
                for (const schema::Column &c : t->columns) {
                    const int at = int(tsv.names.indexOf(QRegularExpression(QStringLiteral("^%1$").arg(c.name), QRegularExpression::CaseInsensitiveOption)));
                    if (at < 0) continue;
                    QVariant want = expected(c, row[at]);
                    if (name == u"yhsz" && QLatin1String(c.name) == QLatin1String("yhmm")) {
                        QVERIFY(verifyPassword(q.value(c.name).toString(), row[at].value_or(QString())));
                        continue;
                    }
                    if (name == u"cgglz" && QLatin1String(c.name) == QLatin1String("dh")) continue;   // renamed repeats
                    if (name == u"yhsz" && QLatin1String(c.name) == QLatin1String("yhmc")) continue;
                    const QVariant got = q.value(c.name);
                    const QString where = QStringLiteral("%1 id %2 %3").arg(name).arg(id).arg(c.name);
                    if (c.kind == schema::ColumnKind::Text) {
                        QCOMPARE(got.isNull(), want.isNull());
                        if (!want.isNull()) QVERIFY2(got.toString() == want.toString(), qPrintable(where + ": " + got.toString() + " / " + want.toString()));
                    } else {
                        QVERIFY2(got.toLongLong() == want.toLongLong(), qPrintable(where + ": " + got.toString() + " / " + want.toString()));
                    }
                    ++compared;
                }
            }
        }
        QVERIFY(compared > 1000);

        // The lookup indexes, built after the rows, are all there.
        QStringList expectedIndexes, indexes;
        for (const schema::Table &t : schema::tables()) {
            for (int i = 1; i <= t.indexes.size(); ++i) expectedIndexes << QStringLiteral("%1_i%2").arg(t.name).arg(i);
            if (!t.unique.isEmpty()) expectedIndexes << QStringLiteral("%1_u").arg(t.name);
        }
        QSqlQuery ix = db.exec(TestBook::onPostgres()
                                   ? "SELECT indexname FROM pg_indexes WHERE schemaname = current_schema() AND indexname NOT LIKE '%_pkey'"
                                   : "SELECT name FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL");
        while (ix.next()) indexes << ix.value(0).toString();
        indexes.sort();
        expectedIndexes.sort();
        QCOMPARE(indexes, expectedIndexes);

        // A few values stated outright, beside the rule above.
        QCOMPARE(valueAt(db, "sp", 1, "jj").toLongLong(), Q_INT64_C(999999999999999999));
        QCOMPARE(valueAt(db, "sp", 1, "xjpf").toLongLong(), qint64(2));      // Double 0.00025
        QCOMPARE(valueAt(db, "sp", 1, "xjls").toLongLong(), qint64(4));      // Single 0.00035 as Access shows it
        QCOMPARE(valueAt(db, "sp", 3, "ppgg").toString(), QString::fromUtf8("𠀀𠀁𪚥 生僻字"));
        QCOMPARE(valueAt(db, "sp", 10, "ms").toString().size(), 69000 + 3);   // 𠀀 is two UTF-16 units
        QCOMPARE(valueAt(db, "cgglz", 1, "rq").toString(), QString("1650-01-01"));
        QCOMPARE(valueAt(db, "cgglz", 3, "rq").toString(), QString("2100-12-31 23:59:59"));
        QCOMPARE(valueAt(db, "yg", 11, "dh").toString(), QString("2147483647"));   // Long into a text column

        // Operators log in with the passwords they had; the report is kept beside the book.
        QSqlQuery ops = db.exec("SELECT yhmc FROM yhsz ORDER BY id");
        QStringList names;
        while (ops.next()) names << ops.value(0).toString();
        QCOMPARE(names, QStringList({"系统管理员", "店员", "会计", "店员-2", "收银员𠀀"}));
        const QString n = notes(r);
        QVERIFY2(n.contains("表 oldtmp（2 行）不属于本软件的数据，未导入。"), qPrintable(n));
        QVERIFY(n.contains("表 sp 的列 sfqy（是/否，6 行有值）新账套没有，未导入。"));
        QVERIFY(n.contains("Access 表 xstj3 没有列 ztc，取默认值（0）。"));
        QVERIFY(n.contains("Access数据库中没有表 czrz"));
        const QString reportFolder = TestBook::onPostgres() ? beside.path() : place.dir();
        QCOMPARE(QFileInfo(r.reportFile).absolutePath(), QFileInfo(reportFolder).absoluteFilePath());
        QFile kept(r.reportFile);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(kept.readAll()).contains("sp\t6\t6\tjj 100000000000005.3455 / 100000000000005.3455"));
        QCOMPARE(QDir(place.dir()).entryList({"*.takeover*"}, QDir::Files), QStringList());   // no work file left
    }

    // The far ends of each stored type, read from their bytes.
    void extremesOfEachType()
    {
        EmptyPlace place;
        QTemporaryDir beside;
        const QString mdb = QDir(beside.path()).filePath("KLVData1.mdb");
        QVERIFY(QFile::copy(fixture("extremes.mdb"), mdb));
        const takeover::Result r = takeover::takeOverAccessBook(mdb, place.where());
        QVERIFY2(r.ok, qPrintable(r.why));
        DM1 dm(place.where());
        QVERIFY(dm.open());
        QCOMPARE(valueAt(dm.db(), "sp", 1, "jj").toLongLong(), std::numeric_limits<qint64>::max());
        QCOMPARE(valueAt(dm.db(), "sp", 2, "jj").toLongLong(), std::numeric_limits<qint64>::min());
        QCOMPARE(valueAt(dm.db(), "sp", 1, "kcsl").toLongLong(), Q_INT64_C(21474836470000));
        QCOMPARE(valueAt(dm.db(), "sp", 2, "kcsl").toLongLong(), Q_INT64_C(-21474836480000));
        QCOMPARE(valueAt(dm.db(), "sp", 2, "xjpf").toLongLong(), qint64(0));   // -0.00005: half to even
        QCOMPARE(valueAt(dm.db(), "sp", 1, "ms").toString(), QString("0100-01-01"));
        QCOMPARE(valueAt(dm.db(), "sp", 2, "ms").toString(), QString("9999-12-31 23:59:59"));
        // A Double beyond any amount is named, not wrapped.
        QCOMPARE(valueAt(dm.db(), "sp", 1, "xjpf").toLongLong(), qint64(0));
        QVERIFY2(notes(r).contains("表 sp id 1 的 xjpf 列的值“100000000000000000000”不是金额或数量，记为 0。"), qPrintable(notes(r)));
    }

    // The fixture itself, read by mdbtools' own exporter.
    void fixtureReadsBackWithMdbExport()
    {
        const QString exporter = QStandardPaths::findExecutable("mdb-export");
        if (exporter.isEmpty()) QSKIP("mdb-export (Debian mdbtools) is not installed");
        QProcess p;
        p.start(exporter, {fixture("full.mdb"), "cgglz"});
        QVERIFY(p.waitForFinished());
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(out.startsWith("id,dh,rq,kdrq,"), qPrintable(out));
        QCOMPARE(out.count("\"CG20240305001\","), 3);
        QVERIFY(out.contains("99999999999999.9999"));
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("spoil");
        QTest::addColumn<QString>("why");
        QTest::newRow("a text file") << "text" << "不是Access数据库：";
        QTest::newRow("an empty file") << "empty" << "不是Access数据库：";
        QTest::newRow("cut short inside a page") << "cut" << "Access数据库已损坏：文件长度不是整页";
        QTest::newRow("last pages lost") << "pages" << "Access数据库已损坏：";
        QTest::newRow("no file") << "missing" << "无法读取文件：";
        QTest::newRow("a page of a long memo lost") << "memo" << "Access数据库已损坏：表 sp 第 3 行的 ms 不完整";
    }
    void refusals()
    {
        QFETCH(QString, spoil);
        QFETCH(QString, why);
        EmptyPlace place;
        QTemporaryDir dir;
        const QString mdb = QDir(dir.path()).filePath("KLVData1.mdb");
        QByteArray bytes;
        {
            QFile f(fixture("full.mdb"));
            QVERIFY(f.open(QIODevice::ReadOnly));
            bytes = f.readAll();
        }
        if (spoil == u"text") bytes = "这不是数据库\n";
        else if (spoil == u"empty") bytes.clear();
        else if (spoil == u"cut") bytes.chop(1000);
        else if (spoil == u"pages") bytes.chop(4096 * 60);
        else if (spoil == u"memo") {
            // The pages holding the memo of 69,000 "长" (U+957F), one of them in the middle zeroed.
            QList<qsizetype> pages;
            for (qsizetype at = 0; at < bytes.size(); at += 4096)
                if (bytes.mid(at, 4096).contains(QByteArray("\x7f\x95").repeated(16))) pages << at;
            QVERIFY(pages.size() > 3);
            bytes.replace(pages[pages.size() / 2], 4096, QByteArray(4096, '\0'));
        }
        if (spoil != u"missing") {
            QFile f(mdb);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        const takeover::Result r = takeover::takeOverAccessBook(mdb, place.where());
        QVERIFY(!r.ok);
        QVERIFY2(r.why.contains(why), qPrintable(r.why));
        if (!TestBook::onPostgres()) QCOMPARE(QDir(place.dir()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
};

MARVODA_TEST(TestTakeOverMapping)
MARVODA_TEST(TestTakeOverAccessFile)

#include "tst_takeover.moc"
