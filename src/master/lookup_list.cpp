#include "master/lookup_list.h"

#include <QHash>

namespace {

LookupListConfig make(LookupKind kind)
{
    LookupListConfig c;
    c.kind = kind;
    switch (kind) {
    case LookupKind::Category:
        c.table = "lb";
        c.columns = {"lb"};
        c.titles = {"类别"};
        c.listCaption = "商品类别设置";
        c.addCaption = "新增商品类别";
        c.editCaption = "修改商品类别";
        c.labels = {"商品类别"};
        c.noun = "类别";
        c.emptyMessages = {"商品类别不可为空！"};
        c.repeatMessage = "商品类别不可重复！";
        c.chosenColumn = "lb";
        break;
    case LookupKind::Unit:
        c.table = "dw";
        c.columns = {"dw"};
        c.titles = {"计量单位"};
        c.listCaption = "计量单位设置";
        c.addCaption = "新增计量单位";
        c.editCaption = "修改计量单位";
        c.labels = {"计量单位"};
        c.noun = "单位";
        c.emptyMessages = {"计量单位不可为空！"};
        c.repeatMessage = "计量单位不可重复！";
        c.chosenColumn = "dw";
        c.titleSort = false;
        break;
    case LookupKind::Warehouse:
        c.table = "ck";
        c.columns = {"ck"};
        c.titles = {"仓库"};
        c.listCaption = "仓库设置";
        c.addCaption = "新增仓库";
        c.editCaption = "修改仓库";
        c.labels = {"仓库"};
        c.noun = "仓库";
        c.emptyMessages = {"仓库不可为空！"};
        c.repeatMessage = "仓库不可重复！";
        c.chosenColumn = "ck";
        break;
    case LookupKind::AdjustmentReason:
        c.table = "rklx";
        c.columns = {"lx"};
        c.titles = {"异动原因"};
        c.listCaption = "异动原因设置";
        c.addCaption = "新增异动原因";
        c.labels = {"异动原因"};
        c.noun = "原因";
        c.emptyMessages = {"异动原因不可为空！"};
        c.repeatMessage = "异动原因不可重复！";
        c.chosenColumn = "lx";
        c.canEdit = false;
        break;
    case LookupKind::IncomeExpenseItem:
        c.table = "szxm";
        c.columns = {"lb", "xm"};
        c.titles = {"类别", "收支项目"};
        c.listCaption = "收支项目设置";
        c.addCaption = "新增收支项目";
        c.labels = {"类别", "项目"};
        c.noun = "项目";
        c.emptyMessages = {"类别不可为空！", "项目不可为空！"};
        c.repeatMessage = "项目不可重复！";
        c.chosenColumn = "xm";
        c.canEdit = false;
        break;
    }
    return c;
}

} // namespace

const LookupListConfig &LookupListConfig::of(LookupKind kind)
{
    static const LookupListConfig all[] = {make(LookupKind::Category), make(LookupKind::Unit),
                                           make(LookupKind::Warehouse), make(LookupKind::AdjustmentReason),
                                           make(LookupKind::IncomeExpenseItem)};
    return all[int(kind)];
}

QStringList incomeExpenseCategories() { return {QStringLiteral("收入"), QStringLiteral("支出")}; }

QSqlQuery LookupList::all()
{
    return db_.exec(QStringLiteral("SELECT id, %1 FROM %2 ORDER BY id").arg(config_.columns.join(u','), config_.table));
}

QStringList LookupList::values()
{
    QSqlQuery q = db_.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY id").arg(config_.chosenColumn, config_.table));
    QStringList out;
    while (q.next()) out << q.value(0).toString();
    return out;
}

std::optional<Refusal> LookupList::checkFilled(const QStringList &values) const
{
    for (int i = 0; i < config_.columns.size(); ++i)
        if (values.value(i).trimmed().isEmpty())
            return Refusal{config_.emptyMessages[i], config_.columns[i], Refusal::Missing};
    return std::nullopt;
}

namespace {

QVariantList trimmedValues(const QStringList &values, int n)
{
    QVariantList out;
    for (int i = 0; i < n; ++i) out << values.value(i).trimmed();
    return out;
}

} // namespace

std::optional<Refusal> LookupList::add(const QStringList &values, qint64 *newId)
{
    if (auto r = checkFilled(values)) return r;
    const QVariantList v = trimmedValues(values, int(config_.columns.size()));
    QStringList conditions;
    for (const QString &c : config_.columns) conditions << c + QStringLiteral(" = ?");
    if (db_.exec(QStringLiteral("SELECT 1 FROM %1 WHERE %2").arg(config_.table, conditions.join(QStringLiteral(" AND "))), v)
            .next())
        return Refusal{config_.repeatMessage, config_.columns.last(), Refusal::Refused};
    QList<std::pair<QString, QVariant>> row;
    for (int i = 0; i < v.size(); ++i) row.append({config_.columns[i], v[i]});
    const qint64 id = db_.insert(config_.table, row);
    if (newId) *newId = id;
    return std::nullopt;
}

std::optional<Refusal> LookupList::edit(qint64 id, const QStringList &values)
{
    if (auto r = checkFilled(values)) return r;
    const QVariantList v = trimmedValues(values, int(config_.columns.size()));
    QStringList sets;
    for (const QString &c : config_.columns) sets << c + QStringLiteral(" = ?");
    db_.exec(QStringLiteral("UPDATE %1 SET %2 WHERE id = ?").arg(config_.table, sets.join(QStringLiteral(", "))),
             v + QVariantList{id});
    return std::nullopt;
}

void LookupList::remove(qint64 id)
{
    db_.exec(QStringLiteral("DELETE FROM %1 WHERE id = ?").arg(config_.table), {id});
}

QString warehouseFieldForMark(const QString &mark)
{
    static const QHash<QString, QString> fields = {
        {"tjsp", "ck"},   {"tjcg", "ck"},   {"tjxs", "ck"},  {"tjpf", "ck"},  {"tjrk", "ck"},   {"tjdb1", "ck1"},
        {"tjdb2", "ck2"}, {"zu1", "ck1"},   {"zu2", "ck2"},  {"chai1", "ck1"}, {"chai2", "ck2"},
    };
    return fields.value(mark);
}
