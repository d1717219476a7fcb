// What a printing window hands a layout: the rows as texts keyed by field, the title, the
// captions and fields it binds to the columns, the total texts and the named header texts.
#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class QAbstractItemModel;

using ReportRow = QHash<QString, QString>;

struct ReportData {
    QString title;                    // company print heading + the report's name
    QList<ReportRow> rows;            // in the order and filter the window shows them
    QStringList fields;               // per column: the row field it shows; empty = the layout's
    QHash<int, QString> captions;     // column index -> caption replacing the layout's
    QHash<QString, QString> totals;   // bound field -> total text printed under that column
    QHash<QString, QString> texts;    // named texts of title and summary bands (see PrintLayouts)
    QDate printDate;                  // invalid: the day the pages are built

    // Binds the columns to these fields, in column order.
    ReportData &bind(const QStringList &columnFields) { fields = columnFields; return *this; }
    ReportData &caption(int column, const QString &text) { captions.insert(column, text); return *this; }
    ReportData &total(const QString &field, const QString &text) { totals.insert(field, text); return *this; }
    ReportData &text(const QString &key, const QString &value) { texts.insert(key, value); return *this; }

    // Appends every row of a grid's model, also those a lazy model has not fetched yet;
    // fieldColumns maps each field to its model column, read with `role`.
    void appendRows(QAbstractItemModel &model, const QHash<QString, int> &fieldColumns,
                    int role = Qt::DisplayRole);
};
