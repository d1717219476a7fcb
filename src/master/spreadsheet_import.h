// Bulk import of goods, suppliers, customers and employees from a spreadsheet whose sheet
// "Sheet1" has a heading row with the fixed Chinese column titles.
#pragma once

#include "app/book_folders.h"

#include <QString>
#include <QStringList>

class Database;

enum class ImportTarget { Goods, Suppliers, Customers, Employees };

struct ImportResult {
    bool ok = false;
    QString reason;     // why nothing was imported, in the operator's words (empty on success)
    int inserted = 0;   // rows added to the book
    int skipped = 0;    // partner and employee rows whose name is already in the book, repeats
                        // an earlier row of the file, or is empty

    // "批量导入成功!", or "批量导入失败!" followed by the reason on a line of its own.
    QString message() const;
};

namespace spreadsheet_import {

inline const QString Succeeded = QStringLiteral("批量导入成功!");
inline const QString Failed = QStringLiteral("批量导入失败!");
inline const QString SheetName = QStringLiteral("Sheet1");
inline const QString &TemplateFolder = book_folders::TemplateFolder;

QString caption(ImportTarget t);        // "导入商品资料", the dialog's caption
QString table(ImportTarget t);          // "sp", "ghs", "kh", "yg"
QString templateFile(ImportTarget t);   // "商品资料.xls": its name in TemplateFolder
QStringList headings(ImportTarget t);   // the heading row, in the template's column order

} // namespace spreadsheet_import

// Reads the file (.xls, .xlsx: its sheet "Sheet1"; .csv: the whole text), maps the heading row by
// name (order free, blanks around a heading ignored, other columns ignored) and inserts every row in one transaction: on any
// failure nothing is inserted. Empty text cells are stored as empty text, empty number cells as
// 0; a number column holding anything else than a number fails with its row. Rows with no cell
// under any known heading are passed over. Goods rows are all inserted; a partner or employee
// whose name exists already is skipped.
ImportResult importFile(Database &db, ImportTarget target, const QString &path);
