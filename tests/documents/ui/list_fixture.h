// Reading a document list as the operator sees it: the numbers shown, the status bar totals,
// and putting the cursor on one document.
#pragma once

#include "documents/ui/document_list_window.h"

#include <QStringList>
#include <QTableView>
#include <QTest>

inline QStringList shownNumbers(const DocumentListWindow &list)
{
    QStringList out;
    for (int r = 0; r < list.model()->rowCount(); ++r) out << list.model()->text(r, "dh");
    return out;
}

inline QStringList totals(const DocumentListWindow &list)
{
    QStringList out;
    for (int i = 0; i < 8; ++i) out << list.totalText(i);
    return out;
}

inline void select(DocumentListWindow &list, const QString &dh)
{
    const int row = int(shownNumbers(list).indexOf(dh));
    QVERIFY(row >= 0);
    list.grid()->setCurrentIndex(list.model()->index(row, 0));
}
