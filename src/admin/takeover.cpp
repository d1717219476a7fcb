#include "admin/takeover.h"

#include "admin/mdb_source.h"
#include "app/data/schema.h"
#include "app/password.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QSet>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QTextStream>

#include <sqlite3.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <future>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace takeover {

namespace {

using schema::ColumnKind;

// Rows per statement on PostgreSQL: few round trips, well under its limit of bound values.
constexpr int RowsPerStatement = 64;
// Progress is reported (and a cancel noticed) this often.
constexpr qint64 RowsPerProgress = 2048;
// A problem met many times in one column is named this many times, then counted.
constexpr int ExamplesPerColumn = 20;

struct Cancelled {};

class Failure : public std::runtime_error {
public:
    explicit Failure(const QString &m) : std::runtime_error(m.toStdString()) {}
};

// List values the windows check for uniqueness when one is added, though the book carries no
// unique index for them (they may be edited to an existing name): a second one comes over as
// it is and is named in the report.
struct ListKey {
    const char *table;
    QStringList columns;
};
const QList<ListKey> &listKeys()
{
    static const QList<ListKey> keys = {{"lb", {"lb"}},          {"dw", {"dw"}}, {"ck", {"ck"}},
                                        {"rklx", {"lx"}},        {"szxm", {"lb", "xm"}},
                                        {"ghs", {"mc"}},         {"kh", {"mc"}}, {"yg", {"xm"}}};
    return keys;
}

QString typeName(SourceType t)
{
    switch (t) {
    case SourceType::Text: return QStringLiteral("文本");
    case SourceType::Integer: return QStringLiteral("整数");
    case SourceType::Currency: return QStringLiteral("货币");
    case SourceType::Numeric: return QStringLiteral("数值");
    case SourceType::Double: return QStringLiteral("双精度");
    case SourceType::Single: return QStringLiteral("单精度");
    case SourceType::Date: return QStringLiteral("日期");
    case SourceType::Boolean: return QStringLiteral("是/否");
    case SourceType::Other: return QStringLiteral("其他");
    }
    return {};
}

std::optional<qint64> wholeNumber(QByteArrayView t)
{
    qint64 v = 0;
    const char *end = t.data() + t.size();
    const auto r = std::from_chars(t.data(), end, v);
    if (r.ec != std::errc() || r.ptr != end) return std::nullopt;
    return v;
}

// Plain "-123.4567" with at most four decimals and fourteen whole digits, read straight into
// ten-thousandths without any chance of overflow; anything else goes through Decimal::parse
// (blanks, more decimals to round, the far ends of the Currency range).
std::optional<Decimal> plainDecimal(QByteArrayView t)
{
    qsizetype i = 0;
    const bool negative = !t.isEmpty() && t[0] == '-';
    if (negative) ++i;
    qint64 whole = 0;
    int digits = 0;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i, ++digits) {
        if (digits >= 14) return std::nullopt;
        whole = whole * 10 + (t[i] - '0');
    }
    qint64 frac = 0;
    int fracDigits = 0;
    if (i < t.size() && t[i] == '.') {
        for (++i; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
            if (++fracDigits > 4) return std::nullopt;
            frac = frac * 10 + (t[i] - '0');
        }
    }
    if (i != t.size() || (digits == 0 && fracDigits == 0)) return std::nullopt;
    for (int k = fracDigits; k < 4; ++k) frac *= 10;
    const qint64 raw = whole * Decimal::Scale + frac;
    return Decimal::fromRaw(negative ? -raw : raw);
}

std::optional<Decimal> amountOf(SourceType type, QByteArrayView t)
{
    switch (type) {
    case SourceType::Integer:
    case SourceType::Boolean:
        if (const auto n = wholeNumber(t); n && *n < std::numeric_limits<qint64>::max() / Decimal::Scale &&
                                           *n > std::numeric_limits<qint64>::min() / Decimal::Scale)
            return Decimal::fromRaw(*n * Decimal::Scale);
        return std::nullopt;
    case SourceType::Date:
    case SourceType::Other: return std::nullopt;
    case SourceType::Text: return Decimal::parse(QString::fromUtf8(t));
    default:
        if (const auto d = plainDecimal(t)) return d;
        return Decimal::parse(QString::fromLatin1(t));
    }
}

std::optional<qint64> integerOf(SourceType type, QByteArrayView t)
{
    if (type == SourceType::Integer) return wholeNumber(t);
    const std::optional<Decimal> d = amountOf(type, t);
    if (!d || d->raw() % Decimal::Scale != 0) return std::nullopt;
    return d->raw() / Decimal::Scale;
}

QByteArrayView textOf(SourceType type, QByteArrayView t)
{
    // A date with no time of day is the book's "yyyy-mm-dd".
    if (type == SourceType::Date && t.endsWith(" 00:00:00")) return t.first(10);
    return t;
}

QString quoted(QByteArrayView t) { return u'“' + QString::fromUtf8(t) + u'”'; }

// How one column of the new book is filled.
struct ColumnPlan {
    QString name;
    ColumnKind kind = ColumnKind::Text;
    int source = -1;   // column of the Access table; -1: it has none, the book's default stays
    SourceType type = SourceType::Text;
    bool emptyAsText = false;   // an empty value is written as empty text, not NULL
    Decimal sum;
    int problems = 0;
};

// One value of a row on its way into the book: a view of the source's text where it can be
// (valid until the source steps on), or text of its own (hashes, new numbers, rows held back).
struct Cell {
    enum Kind : char { Null, Int, Text };
    Kind kind = Null;
    qint64 n = 0;
    QByteArrayView text;
    QByteArray owned;

    void setInt(qint64 v) { kind = Int, n = v; }
    void setNull() { kind = Null; }
    void setText(QByteArrayView v) { kind = Text, text = v; }
    void setOwned(QByteArray v)
    {
        kind = Text;
        owned = std::move(v);
        text = owned;
    }
    QString toString() const { return kind == Text ? QString::fromUtf8(text) : kind == Int ? QString::number(n) : QString(); }
    // Keeps the text when the source moves on.
    void own()
    {
        if (kind == Text && text.data() != owned.constData()) setOwned(text.toByteArray());
    }
};
using Cells = std::vector<Cell>;

class RowWriter {
public:
    virtual ~RowWriter() = default;
    virtual void add(const Cells &row) = 0;
    virtual void flush() = 0;   // every row added so far is in the book
};

QString insertStatement(const QString &table, const QStringList &columns, int rows)
{
    const QString one = u'(' + QStringList(columns.size(), QStringLiteral("?")).join(u',') + u')';
    return QStringLiteral("INSERT INTO %1 (%2) VALUES %3").arg(table, columns.join(u','), QStringList(rows, one).join(u','));
}

sqlite3 *sqliteHandle(Database &db)
{
    const QVariant handle = db.connection().driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0) throw Failure(QStringLiteral("SQLite接口不可用"));
    return *static_cast<sqlite3 *const *>(handle.data());
}

// SQLite: one kept statement through SQLite's own interface, text bound as the UTF-8 it arrives
// in; the book's rows go in at the speed the file is read.
class SqliteWriter final : public RowWriter {
public:
    SqliteWriter(Database &db, const QString &table, const QStringList &columns)
    {
        db_ = sqliteHandle(db);
        const QByteArray sql = insertStatement(table, columns, 1).toUtf8();
        if (sqlite3_prepare_v2(db_, sql.constData(), int(sql.size()), &st_, nullptr) != SQLITE_OK) fail();
    }
    ~SqliteWriter() override { sqlite3_finalize(st_); }

    void add(const Cells &row) override
    {
        for (int i = 0; i < int(row.size()); ++i) {
            const Cell &c = row[size_t(i)];
            if (c.kind == Cell::Int) sqlite3_bind_int64(st_, i + 1, c.n);
            // The text stays where it is until the row is stepped: SQLite need not copy it.
            else if (c.kind == Cell::Text) sqlite3_bind_text(st_, i + 1, c.text.data(), int(c.text.size()), SQLITE_STATIC);
            else sqlite3_bind_null(st_, i + 1);
        }
        if (sqlite3_step(st_) != SQLITE_DONE) fail();
        sqlite3_reset(st_);
    }
    void flush() override {}

private:
    [[noreturn]] void fail()
    {
        const DbError e(QString::fromUtf8(sqlite3_errmsg(db_)), QString::number(sqlite3_extended_errcode(db_)));
        if (st_) sqlite3_reset(st_);
        throw e;
    }

    sqlite3 *db_ = nullptr;
    sqlite3_stmt *st_ = nullptr;
};

// PostgreSQL: statements of many rows each, so the rows do not wait on a round trip each.
class BatchWriter final : public RowWriter {
public:
    BatchWriter(Database &db, const QString &table, const QStringList &columns)
        : db_(db), table_(table), columns_(columns)
    {
    }

    void add(const Cells &row) override
    {
        for (const Cell &c : row) {
            if (c.kind == Cell::Int) pending_.append(c.n);
            else if (c.kind == Cell::Text) pending_.append(QString::fromUtf8(c.text));
            else pending_.append(QVariant(QMetaType::fromType<QString>()));
        }
        if (++rows_ == RowsPerStatement) flush();
    }

    void flush() override
    {
        if (rows_ == 0) return;
        QSqlQuery tail;
        QSqlQuery *q = &tail;
        if (rows_ == RowsPerStatement) {
            if (!full_) full_.emplace(db_.prepare(insertStatement(table_, columns_, RowsPerStatement)));
            q = &*full_;
        } else {
            tail = db_.prepare(insertStatement(table_, columns_, rows_));
        }
        for (int i = 0; i < pending_.size(); ++i) q->bindValue(i, pending_[i]);
        Database::run(*q);
        pending_.clear();
        rows_ = 0;
    }

private:
    Database &db_;
    QString table_;
    QStringList columns_;
    QVariantList pending_;
    int rows_ = 0;
    std::optional<QSqlQuery> full_;
};

std::unique_ptr<RowWriter> writerFor(Database &db, const QString &table, const QStringList &columns)
{
    if (db.engine() == Database::Engine::SQLite) return std::make_unique<SqliteWriter>(db, table, columns);
    return std::make_unique<BatchWriter>(db, table, columns);
}

// One take-over into an open, empty book, inside the caller's transaction.
class Copier {
public:
    Copier(TableSource &source, Database &db, Report &report, const ProgressFn &progress,
           const std::atomic<bool> *cancel)
        : source_(source), db_(db), report_(report), progress_(progress), cancel_(cancel)
    {
    }

    void run()
    {
        QHash<QString, QString> byName;   // lower-case name -> the Access table's own name
        for (const QString &n : source_.tableNames()) byName.insert(n.toLower(), n);
        QSet<QString> known;
        const QList<schema::Table> &tables = schema::tables();
        for (int i = 0; i < tables.size(); ++i) {
            const QString name = QString::fromLatin1(tables[i].name);
            known.insert(name);
            const QString found = byName.value(name);
            if (found.isEmpty()) {
                note(QStringLiteral("Access数据库中没有表 %1，新账套中此表为空。").arg(name));
                report_.tables.append({name, 0, 0, sumsOf(tables[i])});
                continue;
            }
            copy(tables[i], found, i + 1, int(tables.size()));
        }
        for (auto it = byName.cbegin(); it != byName.cend(); ++it) {
            if (known.contains(it.key())) continue;
            // A table that is not ours is only named: one that cannot be read stops nothing.
            try {
                const std::unique_ptr<SourceTable> t = source_.open(it.value());
                note(QStringLiteral("表 %1（%2 行）不属于本软件的数据，未导入。").arg(it.value()).arg(t->declaredRows()));
            } catch (const SourceError &e) {
                note(QStringLiteral("表 %1 不属于本软件的数据，未导入（%2）。").arg(it.value(), e.text()));
            }
        }
        completeBook();
        continueNumbering();
    }

private:
    static QList<AmountSum> sumsOf(const schema::Table &t)
    {
        QList<AmountSum> sums;
        for (const schema::Column &c : t.columns)
            if (c.kind == ColumnKind::Amount) sums.append({QString::fromLatin1(c.name), {}, {}});
        return sums;
    }

    void note(const QString &text) { report_.notes.append(text); }

    void tick(const Progress &p)
    {
        if (cancel_ && cancel_->load()) throw Cancelled{};
        if (progress_) progress_(p);
    }

    // Column c of the current row into `out`, or a problem note. rowName() names the row in a
    // note; called only when there is one to write.
    void convert(ColumnPlan &c, const SourceTable &row, const auto &rowName, const QString &table, Cell &out)
    {
        const bool null = row.isNull(c.source);
        const QByteArrayView t = null ? QByteArrayView() : row.text(c.source);
        switch (c.kind) {
        case ColumnKind::Text:
            // libmdb cannot tell an empty text from a NULL; both come over as NULL, from any source,
            // except in the columns that name goods and warehouses: every posting finds its goods
            // row by them with "=", which never matches a NULL.
            if (null || t.isEmpty()) {
                if (c.emptyAsText) out.setText(QByteArrayView(""));
                else out.setNull();
            }
            else out.setText(textOf(c.type, t));
            return;
        case ColumnKind::Amount: {
            out.setInt(0);
            if (null) return;
            const std::optional<Decimal> d = amountOf(c.type, t);
            if (!d) {
                problem(c, table, rowName(), QStringLiteral("的值%1不是金额或数量，记为 0。").arg(quoted(t)));
                return;
            }
            c.sum += *d;
            out.setInt(d->raw());
            return;
        }
        case ColumnKind::Integer: {
            out.setInt(0);
            if (null) return;
            const std::optional<qint64> n = integerOf(c.type, t);
            if (!n) {
                problem(c, table, rowName(), QStringLiteral("的值%1不是整数，记为 0。").arg(quoted(t)));
                return;
            }
            out.setInt(*n);
            return;
        }
        }
    }

    void problem(ColumnPlan &c, const QString &table, const QString &rowName, const QString &what)
    {
        if (++c.problems <= ExamplesPerColumn) note(QStringLiteral("表 %1 %2 的 %3 列%4").arg(table, rowName, c.name, what));
    }

    void copy(const schema::Table &target, const QString &sourceName, int tableNo, int tableCount)
    {
        const QString name = QString::fromLatin1(target.name);
        const std::unique_ptr<SourceTable> src = source_.open(sourceName);
        const QList<SourceColumn> &cols = src->columns();

        int idColumn = -1;
        QList<ColumnPlan> plan;
        QSet<int> used;
        auto findColumn = [&](const QString &want) {
            for (int i = 0; i < cols.size(); ++i)
                if (cols[i].name.compare(want, Qt::CaseInsensitive) == 0) return i;
            return -1;
        };
        idColumn = findColumn(QStringLiteral("id"));
        if (idColumn >= 0) used.insert(idColumn);
        else note(QStringLiteral("Access 表 %1 没有 id 列，按读出顺序编号。").arg(sourceName));
        for (const schema::Column &c : target.columns) {
            ColumnPlan p;
            p.name = QString::fromLatin1(c.name);
            p.kind = c.kind;
            p.emptyAsText = p.kind == ColumnKind::Text && schema::goodsNameColumns().contains(p.name);
            p.source = findColumn(p.name);
            if (p.source >= 0) {
                used.insert(p.source);
                p.type = cols[p.source].type;
                if (p.type == SourceType::Other) {
                    note(QStringLiteral("表 %1 的列 %2 类型不能导入，取默认值。").arg(name, p.name));
                    p.source = -1;
                } else if (p.kind == ColumnKind::Amount && (p.type == SourceType::Double || p.type == SourceType::Single)) {
                    note(QStringLiteral("表 %1 的列 %2 为%3型，按四位小数取整（恰为一半时取偶数）。")
                             .arg(name, p.name, typeName(p.type)));
                }
            } else {
                note(QStringLiteral("Access 表 %1 没有列 %2，取默认值（%3）。")
                         .arg(sourceName, p.name, c.kind == ColumnKind::Text ? QStringLiteral("空") : QStringLiteral("0")));
            }
            plan.append(p);
        }
        QList<int> unknown;
        for (int i = 0; i < cols.size(); ++i)
            if (!used.contains(i)) unknown.append(i);
        QList<qint64> unknownValues(unknown.size(), 0);

        QStringList insertColumns{QStringLiteral("id")};
        QList<int> cellOf(plan.size(), -1);   // plan column -> its place in a row of cells
        for (int i = 0; i < plan.size(); ++i)
            if (plan[i].source >= 0) {
                cellOf[i] = int(insertColumns.size());
                insertColumns << plan[i].name;
            }
        const std::unique_ptr<RowWriter> out = writerFor(db_, name, insertColumns);

        // Unique columns (document numbers, operator names): a value seen before is looked up.
        QList<int> uniqueAt;
        QList<const ColumnPlan *> uniquePlans;
        for (const QString &u : target.unique)
            for (int i = 0; i < plan.size(); ++i)
                if (plan[i].name == u && cellOf[i] >= 0) {
                    uniqueAt.append(cellOf[i]);
                    uniquePlans.append(&plan[i]);
                }
        const QSet<size_t> storedKeys = storedValues(sourceName, uniquePlans);
        QSet<size_t> seenKeys;
        QSet<QString> keysNotYetWritten;   // of rows held back until the end
        QList<int> listAt;
        for (const ListKey &k : listKeys())
            if (name == QLatin1String(k.table))
                for (const QString &col : k.columns)
                    for (int i = 0; i < plan.size(); ++i)
                        if (plan[i].name == col && cellOf[i] >= 0) listAt.append(cellOf[i]);
        QHash<QString, int> listCounts;
        int passwordAt = -1;
        if (name == u"yhsz")
            for (int i = 0; i < plan.size(); ++i)
                if (plan[i].name == u"yhmm") passwordAt = cellOf[i];

        struct HeldBack {
            QString originalId;
            Cells cells;
        };
        QList<HeldBack> heldBack;
        qint64 maxId = 0, read = 0;
        const qint64 declared = src->declaredRows();
        Progress progress{name, tableNo, tableCount, 0, declared};
        tick(progress);

        Cells row(size_t(insertColumns.size()));
        while (src->next()) {
            ++read;
            // Rows are named by their id in the report, or by their place when they have none.
            const bool hasId = idColumn >= 0 && !src->isNull(idColumn);
            auto rowName = [&] {
                return hasId ? QStringLiteral("id ") + QString::fromUtf8(src->text(idColumn)) : QStringLiteral("第 %1 行").arg(read);
            };
            for (int i = 0; i < plan.size(); ++i)
                if (cellOf[i] >= 0) convert(plan[i], *src, rowName, name, row[size_t(cellOf[i])]);
            for (int u = 0; u < unknown.size(); ++u)
                if (!src->isNull(unknown[u])) ++unknownValues[u];
            // The Access book keeps passwords as typed; the new one keeps their hashes only.
            if (passwordAt >= 0) row[size_t(passwordAt)].setOwned(hashPassword(row[size_t(passwordAt)].toString()).toUtf8());
            for (int at : uniqueAt) keepUnique(name, insertColumns[at], row[size_t(at)], rowName, storedKeys, seenKeys, keysNotYetWritten, *out);
            if (!listAt.isEmpty()) {
                QStringList parts;
                for (int at : listAt) parts << row[size_t(at)].toString();
                listCounts[parts.join(u'/')] += 1;
            }

            std::optional<qint64> id;
            if (hasId) id = integerOf(cols[idColumn].type, src->text(idColumn));
            else if (idColumn < 0) id = maxId + 1;   // a table kept without ids: numbered as read
            bool free = id && *id > maxId;
            if (id && !free) {
                // Rows seldom come out of id order; when one does, the book says whether its id is free.
                out->flush();
                free = !db_.exists(QStringLiteral("SELECT 1 FROM %1 WHERE id = ?").arg(name), {*id});
            }
            if (free) {
                row[0].setInt(*id);
                maxId = std::max(maxId, *id);
                out->add(row);
            } else {
                const QString shown = hasId ? QString::fromUtf8(src->text(idColumn)) : QStringLiteral("空");
                for (int at : uniqueAt) keysNotYetWritten.insert(row[size_t(at)].toString());
                Cells kept = row;
                for (Cell &c : kept) c.own();
                heldBack.append({shown, std::move(kept)});
            }
            // Hashing a password takes a good part of a second: operators are told one by one.
            if (read % RowsPerProgress == 0 || passwordAt >= 0) {
                progress.rows = read;
                tick(progress);
            }
        }
        out->flush();
        // Rows whose id was missing or taken get the next ids after the largest.
        for (HeldBack &h : heldBack) {
            h.cells[0].setInt(++maxId);
            if (idColumn >= 0 && heldBack.size() <= ExamplesPerColumn)
                note(QStringLiteral("表 %1 的 id %2 重复或无效，该行改为 id %3。").arg(name, h.originalId).arg(maxId));
            out->add(h.cells);
        }
        out->flush();
        if (idColumn >= 0 && heldBack.size() > ExamplesPerColumn)
            note(QStringLiteral("表 %1 有 %2 行的 id 重复或无效，已改为最大 id 之后的编号。").arg(name).arg(heldBack.size()));
        for (int u = 0; u < unknown.size(); ++u)
            note(QStringLiteral("表 %1 的列 %2（%3，%4 行有值）新账套没有，未导入。")
                     .arg(name, cols[unknown[u]].name, typeName(cols[unknown[u]].type))
                     .arg(unknownValues[u]));
        for (const ColumnPlan &p : plan)
            if (p.problems > ExamplesPerColumn)
                note(QStringLiteral("表 %1 的列 %2 共有 %3 个值不能读作数字，均记为 0。").arg(name, p.name).arg(p.problems));
        for (auto it = listCounts.cbegin(); it != listCounts.cend(); ++it)
            if (it.value() > 1)
                note(QStringLiteral("表 %1 中%2出现 %3 次，均已保留，请在基本资料中合并或改名。").arg(name, u'“' + it.key() + u'”').arg(it.value()));

        TableTally tally{name, read, read, {}};
        for (const ColumnPlan &p : plan)
            if (p.kind == ColumnKind::Amount) tally.sums.append({p.name, p.sum, {}});
        report_.tables.append(tally);
        progress.rows = read;
        tick(progress);
    }

    // The values a table's unique columns hold (as hashes), read before its rows are copied:
    // a repeated number's suffix must not take a number another row of the book already has.
    QSet<size_t> storedValues(const QString &sourceName, const QList<const ColumnPlan *> &columns)
    {
        QSet<size_t> stored;
        if (columns.isEmpty()) return stored;
        const std::unique_ptr<SourceTable> src = source_.open(sourceName);
        for (qint64 read = 1; src->next(); ++read) {
            if (read % RowsPerProgress == 0 && cancel_ && cancel_->load()) throw Cancelled{};
            for (const ColumnPlan *c : columns)
                if (!src->isNull(c->source) && !src->text(c->source).isEmpty())
                    stored.insert(qHash(QString::fromUtf8(textOf(c->type, src->text(c->source)))));
        }
        return stored;
    }

    // A second header with one number, or a second operator of one name: the first keeps it,
    // the later ones get "-2", "-3", … that no other row holds, so no row is lost, none takes
    // another's lines, and the unique rule holds.
    void keepUnique(const QString &table, const QString &column, Cell &cell, const auto &rowName,
                    const QSet<size_t> &stored, QSet<size_t> &seen, QSet<QString> &notYetWritten, RowWriter &out)
    {
        if (cell.kind == Cell::Null) return;
        const QString value = cell.toString();
        auto taken = [&](const QString &s) {
            if (s != value && stored.contains(qHash(s))) return true;
            if (!seen.contains(qHash(s))) return false;
            if (notYetWritten.contains(s)) return true;
            out.flush();
            return db_.exists(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?").arg(table, column), {s});
        };
        QString chosen = value;
        for (int n = 2; taken(chosen); ++n) chosen = value + u'-' + QString::number(n);
        seen.insert(qHash(chosen));
        if (chosen == value) return;
        cell.setOwned(chosen.toUtf8());
        const bool isOperator = table == u"yhsz";
        note(isOperator ? QStringLiteral("表 yhsz %1：操作员名称“%2”重复，改名为“%3”，密码不变，未授予权限。").arg(rowName(), value, chosen)
                        : QStringLiteral("表 %1 %2：单号 %3 重复，改为 %4；明细和流水仍随原单号。").arg(table, rowName(), value, chosen));
    }

    TableTally &tally(const char *table)
    {
        for (TableTally &t : report_.tables)
            if (t.table == QLatin1String(table)) return t;
        throw Failure(QStringLiteral("缺少表 ") + QLatin1String(table));
    }

    // What the program needs to run: the company row and the built-in operator.
    void completeBook()
    {
        if (!db_.exists(QStringLiteral("SELECT 1 FROM danwei"))) {
            db_.insert(QStringLiteral("danwei"), {{"mczc", QString()}, {"mcdy", QString()}});
            tally("danwei").written += 1;
            note(QStringLiteral("Access 表 danwei 没有公司信息，已加入空白的一行，请在公司信息中填写。"));
        }
        const QString admin = schema::builtInOperator();
        if (!db_.exists(QStringLiteral("SELECT 1 FROM yhsz WHERE yhmc = ?"), {admin})) {
            db_.insert(QStringLiteral("yhsz"), {{"yhmc", admin}, {"yhmm", hashPassword(QString())}});
            tally("yhsz").written += 1;
            qint64 granted = 0;
            for (const QString &qx : schema::permissionNames())
                if (!db_.exists(QStringLiteral("SELECT 1 FROM quanxian WHERE yh = ? AND qx = ?"), {admin, qx})) {
                    db_.insert(QStringLiteral("quanxian"), {{"yh", admin}, {"qx", qx}});
                    ++granted;
                }
            tally("quanxian").written += granted;
            note(QStringLiteral("Access 表 yhsz 中没有%1，已加入（密码为空）及其全部权限，请登录后设置密码。").arg(admin));
        }
    }

    // New rows get ids after the largest one taken over.
    void continueNumbering()
    {
        for (const schema::Table &t : schema::tables()) {
            const QString name = QString::fromLatin1(t.name);
            if (db_.engine() == Database::Engine::PostgreSQL)
                db_.exec(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', 'id'), COALESCE((SELECT MAX(id) FROM %1), 0) + 1, false)").arg(name));
            else
                db_.exec(QStringLiteral("UPDATE sqlite_sequence SET seq = (SELECT COALESCE(MAX(id), 0) FROM %1) WHERE name = ?").arg(name), {name});
        }
    }

    TableSource &source_;
    Database &db_;
    Report &report_;
    const ProgressFn &progress_;
    const std::atomic<bool> *cancel_;
};

// Row counts and amount sums of the new book against what was read; any difference fails.
void check(Database &db, Report &report)
{
    for (TableTally &t : report.tables) {
        QStringList selects{QStringLiteral("COUNT(*)")};
        for (const AmountSum &s : t.sums) selects << QStringLiteral("COALESCE(SUM(%1), 0)").arg(s.column);
        QSqlQuery q = db.prepare(QStringLiteral("SELECT %1 FROM %2").arg(selects.join(u','), t.table));
        q.setNumericalPrecisionPolicy(QSql::HighPrecision);
        Database::run(q);
        q.next();
        const qint64 rows = q.value(0).toLongLong();
        if (rows != t.written)
            throw Failure(QStringLiteral("核对不符：表 %1 应有 %2 行，新账套中有 %3 行").arg(t.table).arg(t.written).arg(rows));
        for (int i = 0; i < t.sums.size(); ++i) {
            AmountSum &s = t.sums[i];
            s.book = Decimal::fromRaw(q.value(i + 1).toString().toLongLong());
            if (s.book != s.source)
                throw Failure(QStringLiteral("核对不符：表 %1 列 %2 合计 %3，新账套中为 %4")
                                  .arg(t.table, s.column, s.source.toPlain(), s.book.toPlain()));
        }
    }
}

bool syncFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

void removeSqliteFiles(const QString &file)
{
    for (const char *suffix : {"", "-journal", "-wal", "-shm"}) QFile::remove(file + QLatin1String(suffix));
}

bool postgresHoldsBook(Database &db)
{
    return db.exists(QStringLiteral("SELECT 1 FROM information_schema.tables WHERE table_schema = current_schema() "
                                    "AND table_name IN ('schema_version', 'sp')"));
}

// Progress at least a few times a second, also while one long step runs (an index over a
// million rows, the final write to the disk): the last progress is told again.
class Heartbeat {
public:
    Heartbeat(const ProgressFn &progress, const std::atomic<bool> *cancel) : progress_(progress), cancel_(cancel)
    {
        clock_.start();
    }

    void operator()(const Progress &p)
    {
        last_ = p;
        tell();
    }
    void again()
    {
        if (clock_.elapsed() >= 200) tell();
    }
    bool cancelled() const { return cancel_ && cancel_->load(); }

    // SQLite calls back every so many steps of a statement; a cancel stops the statement.
    void attach(Database &db)
    {
        if (db.engine() != Database::Engine::SQLite) return;
        sqlite3_progress_handler(sqliteHandle(db), 50000, [](void *self) {
            auto *h = static_cast<Heartbeat *>(self);
            h->again();
            return h->cancelled() ? 1 : 0;
        }, this);
    }
    void detach(Database &db)
    {
        if (db.engine() == Database::Engine::SQLite) sqlite3_progress_handler(sqliteHandle(db), 0, nullptr, nullptr);
    }

    // One statement that runs long without steps to call back from (SQLite sorts an index's
    // rows outside its steps): run in a thread of its own while this one keeps telling.
    void runLong(Database &db, const QString &sql)
    {
        if (db.engine() != Database::Engine::SQLite) {
            db.exec(sql);
            return;
        }
        sqlite3 *h = sqliteHandle(db);
        // From that thread the callback may only stop the statement, never show anything.
        sqlite3_progress_handler(h, 50000, [](void *self) { return static_cast<Heartbeat *>(self)->cancelled() ? 1 : 0; }, this);
        const QByteArray text = sql.toUtf8();
        std::future<int> done = std::async(std::launch::async, [h, &text] { return sqlite3_exec(h, text.constData(), nullptr, nullptr, nullptr); });
        while (done.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) again();
        const int rc = done.get();
        attach(db);
        if (rc != SQLITE_OK) throw DbError(QString::fromUtf8(sqlite3_errmsg(h)), QString::number(sqlite3_extended_errcode(h)));
    }

private:
    void tell()
    {
        clock_.restart();
        if (progress_) progress_(last_);
    }

    const ProgressFn &progress_;
    const std::atomic<bool> *cancel_;
    Progress last_;
    QElapsedTimer clock_;
};

// The lookup indexes of a new book: built once over the rows taken over, instead of row by row
// as they arrive, which costs several times the copying. The unique ones stay: they keep
// document numbers and operator names apart while the rows come in.
QStringList dropLookupIndexes(Database &db)
{
    QStringList names, definitions;
    QSqlQuery q = db.exec(db.engine() == Database::Engine::SQLite
                              ? QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL")
                              : QStringLiteral("SELECT indexname, indexdef FROM pg_indexes WHERE schemaname = current_schema()"));
    while (q.next()) {
        const QString sql = q.value(1).toString();
        if (sql.startsWith(QStringLiteral("CREATE UNIQUE"), Qt::CaseInsensitive)) continue;
        names << q.value(0).toString();
        definitions << sql;
    }
    for (const QString &n : names) db.exec(QStringLiteral("DROP INDEX %1").arg(n));
    return definitions;
}

// Creates the schema and copies every table inside one transaction of `db`, then checks.
void fill(TableSource &source, Database &db, Report &report, Heartbeat &beat, const std::atomic<bool> *cancel)
{
    beat.attach(db);
    struct Detach {
        Heartbeat &beat;
        Database &db;
        ~Detach() { beat.detach(db); }
    } detach{beat, db};
    Transaction tx(db);
    schema::create(db, QString());
    // The new book's own company row and operator give way to the Access book's.
    for (const char *t : {"danwei", "yhsz", "quanxian"}) db.exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
    const QStringList indexes = dropLookupIndexes(db);
    const ProgressFn tell = [&beat](const Progress &p) { beat(p); };
    Copier(source, db, report, tell, cancel).run();
    Progress building{BuildingIndexesStep, 0, 0, 0, qint64(indexes.size())};
    for (const QString &sql : indexes) {
        if (beat.cancelled()) throw Cancelled{};
        beat(building);
        beat.runLong(db, sql);
        ++building.rows;
    }
    beat(Progress{CheckingStep, 0, 0, 0, -1});
    check(db, report);
    if (beat.cancelled()) throw Cancelled{};
    tx.commit();
}

} // namespace

QString Report::text() const
{
    QString out;
    QTextStream s(&out);
    s << QStringLiteral("Access数据库导入报告") << '\n'
      << QStringLiteral("Access数据库：") << source << '\n'
      << QStringLiteral("新账套：") << book << '\n'
      << QStringLiteral("时间：") << QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) << "\n\n"
      << QStringLiteral("表名\t读出行数\t写入行数\t金额合计（Access数据库 / 新账套）") << '\n';
    for (const TableTally &t : tables) {
        QStringList sums;
        for (const AmountSum &a : t.sums) sums << QStringLiteral("%1 %2 / %3").arg(a.column, a.source.toPlain(), a.book.toPlain());
        s << t.table << '\t' << t.read << '\t' << t.written << '\t' << sums.join(QStringLiteral("，")) << '\n';
    }
    s << '\n' << QStringLiteral("说明：") << '\n';
    if (notes.isEmpty()) s << QStringLiteral("（无）") << '\n';
    for (int i = 0; i < notes.size(); ++i) s << i + 1 << ". " << notes[i] << '\n';
    s << '\n'
      << QStringLiteral("导入规则：") << '\n'
      << QStringLiteral("- 每行的 id 原样保留；以后新增的记录接在最大 id 之后编号。") << '\n'
      << QStringLiteral("- 文本原样导入（含前后空格、换行和生僻字）；Access中的空值和空文本导入后均为空值，仓库、商品名称、编码和单位为空时记为空文本。") << '\n'
      << QStringLiteral("- 货币、数值型精确到万分位；双精度、单精度按四位小数取整，恰为一半时取偶数；空的金额和数量记为 0。") << '\n'
      << QStringLiteral("- 密码加密（Argon2id）保存，各操作员仍用原密码登录；权限逐行导入。") << '\n'
      << QStringLiteral("- 单号或操作员名称重复时，第一行保持原值，其后各行加“-2”“-3”等后缀（不与已有的单号或名称相同），均在上面列出；单据的明细和流水仍随原单号。"
                        "改名的操作员不带权限。类别、单位、仓库等列表和往来单位中的重复名称原样保留，并在上面列出。") << '\n'
      << QStringLiteral("- 新账套没有的表和列不导入，均在上面列出；Access数据库本身不作任何改动。") << '\n';
    return out;
}

Result takeOver(TableSource &source, const BookLocation &where, const ProgressFn &progress, const std::atomic<bool> *cancel)
{
    Result r;
    r.report.source = source.describe();
    r.report.book = where.describe();
    Heartbeat beat(progress, cancel);
    auto fail = [&](const QString &why) {
        r.ok = false;
        r.why = why;
        r.report.tables.clear();
        return r;
    };
    try {
        if (where.engine == Database::Engine::SQLite) {
            if (QFileInfo::exists(where.file)) return fail(ExistsMessage + where.file);
            const QFileInfo fi(where.file);
            if (!QDir().mkpath(fi.absolutePath())) return fail(QStringLiteral("无法创建目录：") + fi.absolutePath());
            const QString work = where.file + QStringLiteral(".takeover");
            // One take-over at a time into a folder; a lock left by a killed one is taken over.
            QLockFile lock(work + QStringLiteral(".lock"));
            if (!lock.tryLock(0)) return fail(BusyMessage);
            removeSqliteFiles(work);   // left by a take-over that was killed
            {
                QFile f(work);
                if (!f.open(QIODevice::WriteOnly)) return fail(f.errorString());
            }
            try {
                Database db(BookLocation::sqlite(work));
                QString why;
                if (!db.open(&why)) throw Failure(why);
                // The work file is thrown away on any failure: it needs no protection while it fills.
                db.exec(QStringLiteral("PRAGMA journal_mode=MEMORY"));
                db.exec(QStringLiteral("PRAGMA synchronous=OFF"));
                db.exec(QStringLiteral("PRAGMA cache_size=-16384"));   // 16 MiB: more sorts the indexes no faster
                fill(source, db, r.report, beat, cancel);
                // With its journal in memory the book is this one file; the program puts it in
                // WAL mode when it opens it.
                db.disconnect();
                // The book is on the disk before it takes its name.
                beat(Progress{WritingStep, 0, 0, 0, -1});
                std::future<bool> synced = std::async(std::launch::async, [&work] { return syncFile(work); });
                while (synced.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) beat.again();
                if (!synced.get()) throw Failure(QStringLiteral("无法写入磁盘：") + work);
                if (QFileInfo::exists(where.file)) throw Failure(ExistsMessage + where.file);
                if (!QFile::rename(work, where.file)) throw Failure(QStringLiteral("无法改名为 ") + where.file);
                syncFile(fi.absolutePath());
            } catch (...) {
                removeSqliteFiles(work);
                throw;
            }
        } else {
            Database db(where);
            QString why;
            if (!db.open(&why)) return fail(why);
            if (postgresHoldsBook(db)) return fail(ExistsMessage + where.describe());
            fill(source, db, r.report, beat, cancel);
        }
    } catch (const Cancelled &) {
        r.cancelled = true;
        return fail(CancelledMessage);
    } catch (const SourceError &e) {
        return fail(FailedMessage + e.text());
    } catch (const DbError &e) {
        if (beat.cancelled()) {   // the statement a cancel interrupted
            r.cancelled = true;
            return fail(CancelledMessage);
        }
        return fail(FailedMessage + e.text());
    } catch (const std::exception &e) {
        return fail(FailedMessage + QString::fromStdString(e.what()));
    }
    r.ok = true;
    return r;
}

Result takeOverAccessBook(const QString &mdbFile, const BookLocation &where, const ProgressFn &progress,
                          const std::atomic<bool> *cancel)
{
    Result r;
    try {
        MdbSource source(mdbFile);
        r = takeOver(source, where, progress, cancel);
    } catch (const SourceError &e) {
        r.why = e.text();
        return r;
    }
    if (!r.ok) return r;
    const QString folder = where.engine == Database::Engine::SQLite ? QFileInfo(where.file).absolutePath()
                                                                    : QFileInfo(mdbFile).absolutePath();
    r.reportFile = QDir(folder).filePath(QStringLiteral("Access导入报告-%1.txt")
                                             .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
    QFile f(r.reportFile);
    if (f.open(QIODevice::WriteOnly | QIODevice::Text)) f.write(r.report.text().toUtf8());
    else r.reportFile.clear();
    return r;
}

int commandLine(const QString &mdbFile, const BookLocation &where)
{
    int lastTable = 0;
    QString lastStep;
    const Result r = takeOverAccessBook(mdbFile, where, [&](const Progress &p) {
        if (p.tableCount == 0) {
            if (p.table != lastStep) std::fprintf(stderr, "%s\n", qPrintable(p.table));
            lastStep = p.table;
            return;
        }
        if (p.tableNo == lastTable) return;
        lastTable = p.tableNo;
        std::fprintf(stderr, "%s\n", qPrintable(QStringLiteral("正在导入表 %1（%2/%3）").arg(p.table).arg(p.tableNo).arg(p.tableCount)));
    });
    if (!r.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(r.why));
        return 1;
    }
    std::printf("%s", r.report.text().toUtf8().constData());
    if (!r.reportFile.isEmpty()) std::printf("%s\n", qPrintable(QStringLiteral("报告已保存为 ") + r.reportFile));
    return 0;
}

} // namespace takeover
