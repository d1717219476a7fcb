#include "app/data/schema.h"

#include "app/password.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace schema {

namespace {

constexpr ColumnKind T = ColumnKind::Text;
constexpr ColumnKind A = ColumnKind::Amount;
constexpr ColumnKind I = ColumnKind::Integer;

QList<Table> makeTables()
{
    const QList<Column> partner = {{"mc", T},   {"lxr", T},  {"lxdh", T}, {"lxcz", T}, {"lxdz", T},
                                   {"yb", T},   {"yhmc", T}, {"yhzh", T}, {"bz", T}};
    auto header = [](const char *party, const char *payable, const char *paid) {
        return QList<Column>{{"dh", T},   {"rq", T},  {"kdrq", T},     {"ck", T},      {party, T},
                             {"jsr", T},  {"hjsl", A}, {"hjje", A},    {"yhe", A},     {payable, A},
                             {paid, A},   {"qk", A},  {"bz", T},       {"zhidan", T},  {"shbj", T}};
    };
    // `hh`: the entry session a pending line ("dz", "ds") belongs to; 0 on committed lines.
    const QList<Column> tradeLine = {{"dh", T}, {"txm", T}, {"ppgg", T}, {"dw", T}, {"sl", A},
                                     {"jg", A}, {"zk", A},  {"je", A},   {"bj", T}, {"hh", I}};
    QList<Column> salesLine = tradeLine;
    salesLine << Column{"cbjg", A} << Column{"cbje", A} << Column{"maoli", A};
    const QList<Column> stockLine = {{"dh", T}, {"txm", T}, {"ppgg", T}, {"dw", T},
                                     {"sl", A}, {"jg", A},  {"je", A},   {"bj", T}, {"hh", I}};
    auto ledger = [](const char *party, bool withCost) {
        QList<Column> c = {{"rq", T},   {"dh", T},  {"ck", T}, {party, T}, {"jsr", T}, {"txm", T},
                           {"ppgg", T}, {"dw", T},  {"sl", A}, {"jg", A},  {"zk", A},  {"je", A}};
        if (withCost) c << Column{"cbjg", A} << Column{"cbje", A} << Column{"maoli", A};
        return c;
    };
    auto money = [](const char *party) {
        return QList<Column>{{"rq", T}, {"dh", T}, {party, T}, {"je", A}, {"jsr", T}, {"bz", T}, {"shbj", T}};
    };
    const QList<Column> partsList = {{"spid1", I}, {"spid2", I}, {"xs", A}, {"sl", A}};
    const QList<Column> summary = {{"txm", T}, {"ppgg", T}, {"dw", T}, {"zsl", A}, {"zje", A}, {"fenzu", T}};

    const QList<QStringList> headerIdx = {{"kdrq"}, {"rq"}};
    // The second finds the few pending lines among all committed ones.
    const QList<QStringList> lineIdx = {{"dh"}, {"bj", "hh"}};
    // The date indexes also carry the figures the combined statistics sum over a period, so a
    // period is summed from the index alone.
    const QList<QStringList> ledgerIdx = {{"dh"}, {"rq", "sl", "je"}, {"ck", "txm"}};
    const QList<QStringList> purchaseHeaderIdx = {{"kdrq"}, {"rq", "shbj", "yfe", "sfe", "qk"}};
    const QList<QStringList> salesHeaderIdx = {{"kdrq"}, {"rq", "shbj", "yse", "sse", "qk"}};
    const QList<QStringList> moneyIdx = {{"dh"}, {"rq", "shbj", "je"}};
    // The statistics sum each ledger per goods item, per partner or handler and goods item:
    // covering indexes deliver the rows in that order without sorting a million of them.
    // The handler index of the sales also serves the commission table (per handler and goods
    // row of a warehouse).
    auto withIdx = [&ledgerIdx](QList<QStringList> more) { return ledgerIdx + more; };
    const QList<QStringList> purchaseIdx = withIdx({{"txm", "ppgg", "dw", "sl", "je"},
                                                    {"ghs", "txm", "ppgg", "dw", "sl", "je"},
                                                    {"jsr", "txm", "ppgg", "dw", "sl", "je"}});
    const QList<QStringList> salesIdx = withIdx({{"txm", "ppgg", "dw", "sl", "je", "cbje", "maoli"},
                                                 {"kh", "txm", "ppgg", "dw", "sl", "je", "cbje", "maoli"},
                                                 {"jsr", "txm", "ppgg", "dw", "ck", "sl", "je", "cbje", "maoli"}});
    const QList<QStringList> stockChangeIdx = withIdx({{"txm", "ppgg", "dw", "lx", "sl", "je"}});

    return {
        {"sp",
         {{"ck", T},  {"lb", T},   {"ppgg", T}, {"txm", T},  {"dw", T},   {"jj", A},   {"xjpf", A}, {"xjls", A},
          {"slt", A}, {"jet", A},  {"kcsl", A}, {"kcjg", A}, {"kcje", A}, {"ms", T},   {"bz", T}},
         // The fourth is a goods row's key in the order the ledgers sort their lines, with the
         // commission rates, so a sale line finds its rates without reading the row. The last
         // one holds every column the goods pickers search in a warehouse, so a keystroke
         // reads the index and fetches only the rows that match.
         {{"ck", "txm"}, {"txm"}, {"lb"}, {"txm", "ppgg", "dw", "ck", "slt", "jet"}, {"ck", "lb", "ppgg", "txm"}},
         {}},
        {"lb", {{"lb", T}}, {{"lb"}}, {}},
        {"dw", {{"dw", T}}, {{"dw"}}, {}},
        {"ck", {{"ck", T}}, {{"ck"}}, {}},
        {"rklx", {{"lx", T}}, {{"lx"}}, {}},
        {"szxm", {{"lb", T}, {"xm", T}}, {{"lb", "xm"}}, {}},
        {"ghs", partner, {{"mc"}}, {}},
        {"kh", partner, {{"mc"}}, {}},
        {"yg",
         {{"xm", T}, {"xb", T}, {"zw", T}, {"bm", T}, {"dh", T}, {"dz", T}, {"jbgz", A}, {"sfz", T}, {"bz", T}},
         {{"xm"}},
         {}},
        {"danwei",
         {{"mczc", T}, {"mcdy", T}, {"lxr", T}, {"dh", T}, {"cz", T}, {"dz", T},
          {"bz1", T},  {"bz2", T},  {"bz3", T}, {"bz4", T}},
         {},
         {}},
        {"yhsz", {{"yhmc", T}, {"yhmm", T}}, {}, {"yhmc"}},
        {"quanxian", {{"yh", T}, {"qx", T}}, {{"yh"}}, {}},
        {"cgglz", header("ghs", "yfe", "sfe"), purchaseHeaderIdx, {"dh"}},
        {"cgglc", tradeLine, lineIdx, {}},
        {"xsglz", header("kh", "yse", "sse"), salesHeaderIdx, {"dh"}},
        {"xsglc", salesLine, lineIdx, {}},
        {"cgfx", ledger("ghs", false), purchaseIdx, {}},
        {"xsfx", ledger("kh", true), salesIdx, {}},
        {"fkfx", money("ghs"), moneyIdx, {}},
        {"skfx", money("kh"), moneyIdx, {}},
        {"dbglz",
         {{"dh", T},   {"rq", T},   {"kdrq", T}, {"ck1", T}, {"ck2", T},    {"jsr", T},
          {"hjsl", A}, {"hjje", A}, {"bz", T},   {"zhidan", T}, {"shbj", T}},
         headerIdx,
         {"dh"}},
        {"dbglc", stockLine, lineIdx, {}},
        {"rkfx",
         {{"rq", T},  {"dh", T},  {"ck", T}, {"lx", T}, {"jsr", T}, {"txm", T},
          {"ppgg", T}, {"dw", T}, {"sl", A}, {"jg", A}, {"je", A}},
         stockChangeIdx,
         {}},
        {"rkglz",
         {{"dh", T},   {"rq", T},   {"kdrq", T}, {"ck", T},     {"lx", T},   {"jsr", T},
          {"hjsl", A}, {"hjje", A}, {"bz", T},   {"zhidan", T}, {"shbj", T}},
         headerIdx,
         {"dh"}},
        {"rkglc", stockLine, lineIdx, {}},
        {"zu", partsList, {{"spid1"}}, {}},
        {"chai", partsList, {{"spid1"}}, {}},
        {"szfx",
         {{"rq", T}, {"lb", T}, {"xm", T}, {"se", A}, {"ze", A}, {"jsr", T}, {"bz", T}},
         {{"rq", "se", "ze"}},
         {}},
        // Kept for stored books and the clearing command; the statistics are computed by query.
        {"cghz", summary, {}, {}},
        {"xshz", summary, {}, {}},
        {"xstj3", {{"yuangong", T}, {"sltc", A}, {"jetc", A}, {"ztc", A}}, {}, {}},
        {"rkhz", summary, {}, {}},
        // The entry sessions pending lines belong to: one per entry window while it runs, with
        // the number prefix of its kind, its operator and when it started.
        {"lrhh", {{"lx", T}, {"czy", T}, {"sj", T}}, {}, {}},
        // Who did what to the book: approvals, un-approvals, deletions, zeroing, grants, restores.
        {"czrz", {{"sj", T}, {"czy", T}, {"cz", T}, {"dh", T}, {"nr", T}}, {{"sj"}, {"dh"}}, {}},
        {"kctj",
         {{"txm", T},  {"ppgg", T}, {"dw", T},   {"cgsl", A}, {"cgje", A}, {"xssl", A},
          {"xsje", A}, {"rksl", A}, {"rkje", A}, {"ysl", A},  {"yje", A}},
         {},
         {}},
    };
}

QString columnType(const Database &db, ColumnKind k)
{
    switch (k) {
    case ColumnKind::Text: return QStringLiteral("TEXT");
    case ColumnKind::Amount: return db.amountType() + QStringLiteral(" NOT NULL DEFAULT 0");
    case ColumnKind::Integer: return db.amountType() + QStringLiteral(" NOT NULL DEFAULT 0");
    }
    return {};
}

} // namespace

const QList<Table> &tables()
{
    static const QList<Table> all = makeTables();
    return all;
}

const Table *table(const QString &name)
{
    for (const Table &t : tables())
        if (name == QLatin1String(t.name)) return &t;
    return nullptr;
}

const QStringList &permissionNames()
{
    static const QStringList names = {
        QStringLiteral("系统设置"), QStringLiteral("基本资料"), QStringLiteral("采购开单"),
        QStringLiteral("采购查询"), QStringLiteral("零售开单"), QStringLiteral("批发开单"),
        QStringLiteral("销售查询"), QStringLiteral("变动开单"), QStringLiteral("变动查询"),
        QStringLiteral("财务管理"), QStringLiteral("库存归零"), QStringLiteral("显示库存价格")};
    return names;
}

// Index n (from 1) of the table's list; its name is its position, so a later version adds
// indexes at the end of a list and creates them by number.
static void createIndex(Database &db, const Table &t, int n)
{
    db.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS %1_i%2 ON %1 (%3)").arg(QLatin1String(t.name)).arg(n).arg(t.indexes[n - 1].join(u',')));
}

static void createTable(Database &db, const Table &t)
{
    QStringList defs{db.idColumnDefinition()};
    for (const Column &c : t.columns)
        defs << QString::fromLatin1(c.name) + u' ' + columnType(db, c.kind);
    db.exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(QLatin1String(t.name), defs.join(QStringLiteral(", "))));
    for (int n = 1; n <= t.indexes.size(); ++n) createIndex(db, t, n);
    if (!t.unique.isEmpty())
        db.exec(QStringLiteral("CREATE UNIQUE INDEX %1_u ON %1 (%2)").arg(QLatin1String(t.name), t.unique.join(u',')));
}

void create(Database &db, const QString &adminPassword)
{
    Transaction tx(db);
    for (const Table &t : tables()) createTable(db, t);
    db.exec(QStringLiteral("CREATE TABLE schema_version (version INTEGER NOT NULL)"));
    db.exec(QStringLiteral("INSERT INTO schema_version (version) VALUES (?)"), {CurrentVersion});
    db.insert(QStringLiteral("danwei"), {{"mczc", QString()}, {"mcdy", QString()}});
    db.insert(QStringLiteral("yhsz"), {{"yhmc", builtInOperator()}, {"yhmm", hashPassword(adminPassword)}});
    for (const QString &qx : permissionNames())
        db.insert(QStringLiteral("quanxian"), {{"yh", builtInOperator()}, {"qx", qx}});
    tx.commit();
}

const QStringList &goodsNameColumns()
{
    static const QStringList c = {"ck", "ck1", "ck2", "ppgg", "txm", "dw"};
    return c;
}

void upgrade(Database &db)
{
    const int from = version(db);
    if (from >= CurrentVersion || from < 1) return;
    Transaction tx(db);
    // Version 2: the operation log.
    if (from < 2) createTable(db, *table(QStringLiteral("czrz")));
    // Version 3: the statistics' covering indexes on the three detail ledgers (4th onwards),
    // and the date indexes widened to carry the figures summed over a period.
    if (from < 3) {
        for (const char *name : {"cgfx", "xsfx", "rkfx"}) {
            const Table &t = *table(QString::fromLatin1(name));
            for (int n = 4; n <= t.indexes.size(); ++n) createIndex(db, t, n);
        }
        for (const auto &[name, n] : {std::pair{"cgfx", 2}, {"xsfx", 2}, {"rkfx", 2}, {"fkfx", 2}, {"skfx", 2},
                                      {"cgglz", 2}, {"xsglz", 2}, {"szfx", 1}}) {
            db.exec(QStringLiteral("DROP INDEX IF EXISTS %1_i%2").arg(QLatin1String(name)).arg(n));
            createIndex(db, *table(QString::fromLatin1(name)), n);
        }
    }
    // Version 4: the goods rows' key index led by the code and carrying the commission rates.
    // A book whose statistics were gathered gets them for it too, or the planner would keep
    // preferring the indexes it has figures for.
    if (from < 4) {
        db.exec(QStringLiteral("DROP INDEX IF EXISTS sp_i4"));
        createIndex(db, *table(QStringLiteral("sp")), 4);
        if (db.engine() == Database::Engine::SQLite &&
            db.exists(QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = 'sqlite_stat1'")))
            db.exec(QStringLiteral("ANALYZE sp"));
    }
    // Version 5: pending lines belong to the entry session that wrote them. Lines left pending
    // by an older program get session 0, which no session has: they are offered back as lines
    // of an interrupted entry.
    if (from < 5) {
        if (!db.connection().tables().contains(QStringLiteral("lrhh"))) createTable(db, *table(QStringLiteral("lrhh")));
        for (const char *name : {"cgglc", "xsglc", "dbglc", "rkglc"}) {
            const Table &t = *table(QString::fromLatin1(name));
            if (db.connection().record(QLatin1String(name)).indexOf(QStringLiteral("hh")) < 0)
                db.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN hh %2").arg(QLatin1String(name), columnType(db, ColumnKind::Integer)));
            createIndex(db, t, 2);
        }
    }
    // Version 6: warehouses and goods names, codes and units are never NULL. An earlier take-over
    // wrote empty ones as NULL, which no posting's "=" finds: each made a goods row of its own.
    if (from < 6) {
        for (const Table &t : tables())
            for (const Column &c : t.columns)
                if (goodsNameColumns().contains(QLatin1String(c.name)))
                    db.exec(QStringLiteral("UPDATE %1 SET %2 = '' WHERE %2 IS NULL").arg(QLatin1String(t.name), QLatin1String(c.name)));
    }
    db.exec(QStringLiteral("UPDATE schema_version SET version = ?"), {CurrentVersion});
    tx.commit();
}

int version(Database &db)
{
    try {
        QSqlQuery q = db.exec(QStringLiteral("SELECT version FROM schema_version"));
        return q.next() ? q.value(0).toInt() : 0;
    } catch (const DbError &) {
        return 0;
    }
}

} // namespace schema
