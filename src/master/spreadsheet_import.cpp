#include "master/spreadsheet_import.h"

#include "app/data/database.h"
#include "app/text/decimal.h"
#include "master/workbook_reader.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

struct Field {
    const char16_t *heading;
    const char *column;
    bool number;   // stored as the Decimal raw count
};

// Heading → column, in the order of the template's columns.
const std::vector<Field> &fieldsOf(ImportTarget t)
{
    static const std::vector<Field> goods = {
        {u"类别", "lb", false},       {u"编码", "txm", false},     {u"商品名称", "ppgg", false},
        {u"单位", "dw", false},       {u"采购单价", "jj", true},   {u"批发单价", "xjpf", true},
        {u"零售单价", "xjls", true},  {u"库存数量", "kcsl", true}, {u"库存单价", "kcjg", true},
        {u"库存金额", "kcje", true},  {u"数量提成", "slt", true},  {u"金额提成", "jet", true},
        {u"商品描述", "ms", false},   {u"备注", "bz", false},      {u"仓库", "ck", false}};
    static const std::vector<Field> partners = {
        {u"名称", "mc", false},     {u"联系人", "lxr", false},   {u"联系电话", "lxdh", false},
        {u"传真号码", "lxcz", false}, {u"联系地址", "lxdz", false}, {u"邮政编码", "yb", false},
        {u"开户银行", "yhmc", false}, {u"银行帐号", "yhzh", false}, {u"备注", "bz", false}};
    static const std::vector<Field> employees = {
        {u"姓名", "xm", false},   {u"性别", "xb", false},     {u"职务", "zw", false},
        {u"部门", "bm", false},   {u"联系电话", "dh", false}, {u"住址", "dz", false},
        {u"基本工资", "jbgz", true}, {u"身份证编号", "sfz", false}, {u"备注", "bz", false}};
    switch (t) {
    case ImportTarget::Goods: return goods;
    case ImportTarget::Suppliers:
    case ImportTarget::Customers: return partners;
    case ImportTarget::Employees: return employees;
    }
    return goods;
}

// Partners and employees are known by name (the first column): the book holds each name once.
bool keyedByName(ImportTarget t) { return t != ImportTarget::Goods; }

class ImportFailure {
public:
    explicit ImportFailure(QString why) : text(std::move(why)) {}
    QString text;
};

using Row = std::vector<QVariant>;

// Reads and checks every row before the book is touched.
std::vector<Row> readRows(ImportTarget target, const QString &path)
{
    const std::vector<Field> &fields = fieldsOf(target);
    const QString empty = QStringLiteral("");   // not a null string: that would be stored as NULL
    std::vector<int> columnOf;                   // sheet column of each field
    bool headingRead = false;
    std::vector<Row> rows;

    workbook::readSheet(path, spreadsheet_import::SheetName, [&](int rowNumber, const QStringList &cells) {
        if (!headingRead) {
            headingRead = true;
            QHash<QString, int> at;
            for (int c = int(cells.size()) - 1; c >= 0; --c) at.insert(cells[c].trimmed(), c);
            QStringList missing;
            for (const Field &f : fields) {
                const QString h = QString::fromUtf16(f.heading);
                columnOf.push_back(at.value(h, -1));
                if (columnOf.back() < 0) missing << h;
            }
            if (!missing.isEmpty())
                throw ImportFailure(QStringLiteral("缺少列标题：") + missing.join(QStringLiteral("、")));
            return;
        }
        Row row;
        row.reserve(fields.size());
        bool anyCell = false;
        for (size_t i = 0; i < fields.size(); ++i) {
            const QString text = cells.value(columnOf[i]);
            const bool blank = text.trimmed().isEmpty();
            anyCell = anyCell || !blank;
            if (!fields[i].number) {
                row.emplace_back(text.isNull() ? empty : text);
            } else if (blank) {
                row.emplace_back(qint64(0));
            } else {
                const auto d = Decimal::parse(text);
                if (!d)
                    throw ImportFailure(QStringLiteral("第%1行“%2”不是有效的数字：%3")
                                            .arg(rowNumber)
                                            .arg(QString::fromUtf16(fields[i].heading), text));
                row.emplace_back(d->raw());
            }
        }
        if (anyCell) rows.push_back(std::move(row));
    });
    if (!headingRead) throw ImportFailure(QStringLiteral("工作表“%1”是空的，没有标题行").arg(spreadsheet_import::SheetName));
    return rows;
}

// Several rows per statement: one round trip per batch instead of per row.
void insertRows(Database &db, const QString &table, const std::vector<Field> &fields, const std::vector<Row> &rows)
{
    QStringList columns;
    for (const Field &f : fields) columns << QString::fromLatin1(f.column);
    const QString one = u'(' + QStringList(columns.size(), QStringLiteral("?")).join(u',') + u')';
    const int perStatement = std::max(1, 990 / int(fields.size()));   // within SQLite's 999 bound values
    auto statement = [&](int n) {
        return db.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                              .arg(table, columns.join(u','), QStringList(n, one).join(u',')));
    };
    std::optional<QSqlQuery> full;
    size_t r = 0;
    while (r < rows.size()) {
        const int n = int(std::min<size_t>(size_t(perStatement), rows.size() - r));
        std::optional<QSqlQuery> tail;
        QSqlQuery *q = nullptr;
        if (n == perStatement) {
            if (!full) full = statement(n);
            q = &*full;
        } else {
            tail = statement(n);
            q = &*tail;
        }
        int pos = 0;
        for (int k = 0; k < n; ++k, ++r)
            for (const QVariant &v : rows[r]) q->bindValue(pos++, v);
        Database::run(*q);
    }
}

} // namespace

QString ImportResult::message() const
{
    return ok ? spreadsheet_import::Succeeded : spreadsheet_import::Failed + u'\n' + reason;
}

namespace spreadsheet_import {

QString caption(ImportTarget t)
{
    switch (t) {
    case ImportTarget::Goods: return QStringLiteral("导入商品资料");
    case ImportTarget::Suppliers: return QStringLiteral("导入厂商资料");
    case ImportTarget::Customers: return QStringLiteral("导入客户资料");
    case ImportTarget::Employees: return QStringLiteral("导入员工资料");
    }
    return {};
}

QString table(ImportTarget t)
{
    switch (t) {
    case ImportTarget::Goods: return QStringLiteral("sp");
    case ImportTarget::Suppliers: return QStringLiteral("ghs");
    case ImportTarget::Customers: return QStringLiteral("kh");
    case ImportTarget::Employees: return QStringLiteral("yg");
    }
    return {};
}

QString templateFile(ImportTarget t)
{
    switch (t) {
    case ImportTarget::Goods: return QStringLiteral("商品资料.xls");
    case ImportTarget::Suppliers: return QStringLiteral("厂商资料.xls");
    case ImportTarget::Customers: return QStringLiteral("客户资料.xls");
    case ImportTarget::Employees: return QStringLiteral("员工资料.xls");
    }
    return {};
}

QStringList headings(ImportTarget t)
{
    QStringList out;
    for (const Field &f : fieldsOf(t)) out << QString::fromUtf16(f.heading);
    return out;
}

} // namespace spreadsheet_import

ImportResult importFile(Database &db, ImportTarget target, const QString &path)
{
    ImportResult result;
    try {
        std::vector<Row> rows = readRows(target, path);
        const QString table = spreadsheet_import::table(target);
        Transaction tx(db);
        if (keyedByName(target)) {
            const QString nameColumn = QString::fromLatin1(fieldsOf(target).front().column);
            QSet<QString> names;
            QSqlQuery q = db.exec(QStringLiteral("SELECT %1 FROM %2").arg(nameColumn, table));
            while (q.next()) names.insert(q.value(0).toString());
            std::vector<Row> fresh;
            fresh.reserve(rows.size());
            for (Row &row : rows) {
                const QString name = row.front().toString();
                if (name.trimmed().isEmpty() || names.contains(name)) {
                    ++result.skipped;
                    continue;
                }
                names.insert(name);
                fresh.push_back(std::move(row));
            }
            rows = std::move(fresh);
        }
        insertRows(db, table, fieldsOf(target), rows);
        tx.commit();
        result.ok = true;
        result.inserted = int(rows.size());
    } catch (const ImportFailure &e) {
        result.reason = e.text;
    } catch (const WorkbookError &e) {
        result.reason = e.text();
    } catch (const DbError &e) {
        result.reason = e.text();
    }
    if (!result.ok) {
        result.inserted = 0;
        result.skipped = 0;
    }
    return result;
}
