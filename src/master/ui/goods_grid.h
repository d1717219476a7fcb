// The goods grids' columns and reading a goods row back from a grid's model.
#pragma once

#include "app/widgets/record_table_model.h"
#include "master/goods.h"

namespace GoodsGrid {

// The goods list: "编码" … "仓库", with the id hidden.
QList<RecordTableModel::Column> listColumns();
// The stock detail list: stock quantity, unit cost and value first, with the id hidden.
QList<RecordTableModel::Column> stockColumns();
// The line picker (all four price columns; the picker shows the one its caller's mark names)
// and, with `assembly`, the assembly picker's columns.
QList<RecordTableModel::Column> pickerColumns(bool assembly);

GoodsRecord recordAt(const RecordTableModel &m, int row);
// Appends a saved row to a grid's model.
void append(RecordTableModel &m, const GoodsRecord &r);

} // namespace GoodsGrid
