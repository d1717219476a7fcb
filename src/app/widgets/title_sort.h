// Sorting a list grid by a click on a column title: ascending first, then alternating; the
// sorted column's title is bold. Only the rows already loaded are sorted; nothing is re-queried.
#pragma once

class QTableView;

namespace TitleSort {

// The grid's model must be a RecordTableModel (looked up at each click, so the model may be
// set or replaced later). A click while the list is not open does nothing.
void attach(QTableView *grid);

} // namespace TitleSort
