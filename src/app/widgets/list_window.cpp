#include "app/widgets/list_window.h"

#include "app/prompter.h"
#include "app/widgets/record_table_model.h"
#include "app/widgets/title_sort.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QTableView>

namespace ListWindow {

void setupGrid(QTableView *grid, RecordTableModel *model)
{
    grid->setModel(model);
    for (int c = 0; c < model->columns().size(); ++c) grid->setColumnHidden(c, !model->columns()[c].visible);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);   // no per-row measuring
    TitleSort::attach(grid);
}

QString recordCountText(int rows) { return QStringLiteral("记录数：") + QString::number(rows); }

bool requireOpen(const QAbstractItemModel *model)
{
    const auto *records = qobject_cast<const RecordTableModel *>(model);
    const bool open = records ? records->isOpen() : model != nullptr;
    if (!open) prompt().warn(QStringLiteral("数据表未打开，请先查询！"));
    return open;
}

bool requireRows(const QAbstractItemModel *model, const QString &noun, Action action)
{
    if (!requireOpen(model)) return false;
    if (model->rowCount() > 0) return true;
    static const char16_t *const endings[] = {u"可修改！", u"可删除！", u"可选择！"};
    prompt().warn(QStringLiteral("没有") + noun + QString::fromUtf16(endings[action]));
    return false;
}

bool confirmDelete(const QString &noun)
{
    return prompt().confirm(QStringLiteral("确定要删除此") + noun + QStringLiteral("么？"));
}

} // namespace ListWindow
