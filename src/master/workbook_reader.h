// Reading the rows of one sheet of a spreadsheet file (.xls, .xlsx) or of a .csv text file, for
// the import of master data.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

// A file that cannot be read as a workbook; the text says why, in the operator's words.
class WorkbookError : public std::runtime_error {
public:
    explicit WorkbookError(const QString &text) : std::runtime_error(text.toStdString()) {}
    QString text() const { return QString::fromStdString(what()); }
};

namespace workbook {

enum class Format { Xls, Xlsx, Csv };

// The kind of file: from its first bytes (an .xls renamed .xlsx still reads), else by a .csv or
// .txt suffix; nullopt for anything else.
std::optional<Format> detectFormat(const QString &path);

// Called once for each row that has a cell, in order: the sheet's row number (1 = the first
// row) and the cells from column A on as text: numbers in plain decimal form as a spreadsheet
// shows them ("12.5", "13800138000"), dates "yyyy-mm-dd", times "hh:mm:ss". Trailing empty cells
// may be left off.
using RowHandler = std::function<void(int row, const QStringList &cells)>;

// Reads the sheet named `sheet` (letter case ignored, as spreadsheet programs do) of an .xls or
// .xlsx file, or the whole of a .csv file; throws WorkbookError.
void readSheet(const QString &path, const QString &sheet, const RowHandler &onRow);

void readXls(const QString &path, const QString &sheet, const RowHandler &onRow);
void readXlsx(const QString &path, const QString &sheet, const RowHandler &onRow);
void readCsv(const QString &path, const RowHandler &onRow);

// The stored results of the formulas on an .xls sheet, read from the workbook's own bytes
// (FreeXL leaves formula cells empty).
struct FormulaCell {
    unsigned row, col;   // 0-based
    QString text;
};
std::vector<FormulaCell> xlsFormulaResults(const QByteArray &file, const QString &sheet);

// CSV text: UTF-8 (with or without a byte-order mark), else GBK, the encoding Chinese Windows
// programs save in; throws WorkbookError when it is neither.
QString decodeText(const QByteArray &bytes);
// Splits comma-separated text into records: quoted fields may hold commas, doubled quotes and
// line breaks.
void parseCsv(const QString &text, const RowHandler &onRow);

// A cell's number as a spreadsheet shows it at its full 15-digit precision: 12.5, 100, 0.3
// (for the double nearest 0.1 + 0.2), never in exponent form.
QString numberText(double v);

} // namespace workbook
