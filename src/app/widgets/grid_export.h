// Exporting a list grid to a spreadsheet file (.xlsx): titles of the visible columns in row 1
// at their grid positions, every value as text from row 2, so codes keep their leading zeros
// and amounts the form they have in the grid.
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>

class QAbstractItemModel;
class QTableView;

// The "导出" command of the list windows: asks where to save (default the folder "导出" in the
// data directory, named after the window and the time), writes the file, then opens it in the
// desktop's spreadsheet program or says where it is. Failures: "数据导出失败！".
// The caller has checked that the list is open.
void ExportGridToExcel(QTableView *grid, const QString &windowName, const QString &dataDir);

namespace GridExport {

enum class Outcome { Written, Cancelled, Failed };
struct Result {
    Outcome outcome = Outcome::Failed;
    QString error;   // why it failed, for the log of a test or a bench
    bool written() const { return outcome == Outcome::Written; }
};

// Called as rows are written; returning false cancels the export.
using Progress = std::function<bool(int rowsDone, int rowsTotal)>;

// The model column shown at each grid position (0-based), -1 where the grid hides it.
QList<int> gridColumns(const QTableView *grid);

// Writes the model's display texts, trimmed, for the given columns into `path`. The file is
// written under a temporary name in the same folder and renamed at the end, so a failure or a
// cancel leaves nothing under `path` (an older file there stays as it was).
Result exportModelToXlsx(const QAbstractItemModel *model, const QList<int> &columns, const QString &path,
                         const QString &sheetName = QString(), const Progress &progress = {});

// "<window>_yyyyMMdd_hhmmss.xlsx", with characters a file name cannot hold replaced.
QString defaultFileName(const QString &windowName, const QDateTime &when);
QString defaultFolder(const QString &dataDir);   // dataDir + "/导出"

// Everything after the save dialog: writing (with a progress dialog the operator can cancel
// for long lists), the failure message, and opening the file. True when the file was written.
bool exportGridToFile(QTableView *grid, const QString &windowName, const QString &path);

// How a written file is shown to the operator; returns false when no program can open it.
// The default opens .xlsx files with the desktop's spreadsheet program when one is installed.
using Opener = std::function<bool(const QString &path)>;
void setOpener(Opener opener);   // an empty function restores the default

// Lists longer than this get the progress dialog.
constexpr int progressThreshold = 2000;

} // namespace GridExport
