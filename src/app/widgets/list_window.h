// What every list window does the same way: its grid set up for a RecordTableModel, the record
// count, and the guards before edit, delete, choose, print and export.
#pragma once

#include <QString>

class QAbstractItemModel;
class QTableView;
class RecordTableModel;

namespace ListWindow {

// Puts `model` into `grid`: hidden columns hidden, whole rows selected, read only, title-click
// sorting attached.
void setupGrid(QTableView *grid, RecordTableModel *model);

// "记录数：" + n, for the list's count text or status panel.
QString recordCountText(int rows);

enum Action { Edit, Delete, Choose };

// True when the list is open; otherwise warns "数据表未打开，请先查询！".
bool requireOpen(const QAbstractItemModel *model);
// True when the list is open and has rows; otherwise the closed-table warning, or
// "没有" + noun + "可修改！" / "可删除！" / "可选择！".
bool requireRows(const QAbstractItemModel *model, const QString &noun, Action action);
// Asks "确定要删除此" + noun + "么？"; true only for OK.
bool confirmDelete(const QString &noun);

} // namespace ListWindow
