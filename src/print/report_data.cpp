#include "print/report_data.h"

#include <QAbstractItemModel>

void ReportData::appendRows(QAbstractItemModel &model, const QHash<QString, int> &fieldColumns,
                            int role)
{
    // A lazily fetching model holds only what it has fetched; a print shows every row.
    while (model.canFetchMore({})) model.fetchMore({});
    const int n = model.rowCount();
    rows.reserve(rows.size() + n);
    for (int r = 0; r < n; ++r) {
        ReportRow row;
        for (auto it = fieldColumns.cbegin(); it != fieldColumns.cend(); ++it)
            row.insert(it.key(), model.data(model.index(r, it.value()), role).toString());
        rows.append(std::move(row));
    }
}
