#include "app/widgets/title_sort.h"

#include "app/widgets/record_table_model.h"

#include <QHeaderView>
#include <QPointer>
#include <QTableView>

namespace TitleSort {

void attach(QTableView *grid)
{
    grid->setSortingEnabled(false);   // the view's own sorting would sort a second time
    QHeaderView *header = grid->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    QPointer<QTableView> view(grid);
    QObject::connect(header, &QHeaderView::sectionClicked, grid, [view](int column) {
        auto *model = view ? qobject_cast<RecordTableModel *>(view->model()) : nullptr;
        if (!model || !model->isOpen()) return;
        const bool ascendingNow = model->sortColumn() == column && model->sortOrder() == Qt::AscendingOrder;
        model->sort(column, ascendingNow ? Qt::DescendingOrder : Qt::AscendingOrder);
        if (view->currentIndex().isValid()) view->scrollTo(view->currentIndex());
    });
}

} // namespace TitleSort
