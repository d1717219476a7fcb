#include "app/widgets/grid_export.h"

#include "app/widgets/spreadsheet_opener.h"

#include "app/book_folders.h"
#include "app/prompter.h"
#include "app/widgets/record_table_model.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QProgressDialog>
#include <QTableView>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace GridExport {

namespace {

constexpr int maxSheetRows = 1048576;
constexpr int maxSheetColumns = 16384;

// Width in spreadsheet character units: CJK characters take two.
double textWidth(const QString &s)
{
    double w = 0;
    for (QChar c : s) w += c.unicode() >= 0x2E80 ? 2 : 1;
    return w;
}

QString sheetNameFor(const QString &name)
{
    QString s = name;
    for (QChar bad : {u'[', u']', u':', u'*', u'?', u'/', u'\\'}) s.remove(bad);
    s = s.trimmed().left(31);
    return s.isEmpty() ? QStringLiteral("Sheet1") : s;
}

// Frees the workbook without writing it (a cancel or an early failure).
struct WorkbookGuard {
    lxw_workbook *wb = nullptr;
    ~WorkbookGuard() { if (wb) lxw_workbook_free(wb); }
};

Opener &opener()
{
    static Opener o;
    return o;
}

} // namespace

QList<int> gridColumns(const QTableView *grid)
{
    QList<int> out;
    const QHeaderView *h = grid->horizontalHeader();
    const int n = grid->model() ? grid->model()->columnCount() : 0;
    for (int pos = 0; pos < n; ++pos) {
        const int logical = h->logicalIndex(pos);
        out << (logical < 0 || grid->isColumnHidden(logical) ? -1 : logical);
    }
    return out;
}

Result exportModelToXlsx(const QAbstractItemModel *model, const QList<int> &columns, const QString &path,
                         const QString &sheetName, const Progress &progress)
{
    Result result;
    const int rows = model->rowCount();
    if (rows + 1 > maxSheetRows || columns.size() > maxSheetColumns) {
        result.error = QStringLiteral("too many rows or columns for one sheet");
        return result;
    }
    const QFileInfo target(path);
    QTemporaryFile part(target.absolutePath() + QStringLiteral("/.") + target.completeBaseName()
                        + QStringLiteral("-XXXXXX.part"));
    if (!part.open()) {
        result.error = part.errorString();
        return result;
    }
    part.close();   // the writer opens it by name; the object still removes it on failure
    const QByteArray partName = QFile::encodeName(part.fileName());
    const QByteArray tmpDir = QFile::encodeName(target.absolutePath());

    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;   // rows go to disk as written: long lists stay small and fast
    options.tmpdir = const_cast<char *>(tmpDir.constData());
    WorkbookGuard guard{workbook_new_opt(partName.constData(), &options)};
    if (!guard.wb) {
        result.error = QStringLiteral("cannot create workbook");
        return result;
    }
    const QByteArray sheet = sheetNameFor(sheetName).toUtf8();
    lxw_worksheet *ws = workbook_add_worksheet(guard.wb, sheet.constData());
    lxw_format *text = workbook_add_format(guard.wb);
    format_set_num_format_index(text, 49);   // the built-in text format "@"
    if (!ws) {
        result.error = QStringLiteral("cannot add worksheet");
        return result;
    }

    const auto *records = qobject_cast<const RecordTableModel *>(model);
    auto cellText = [&](int row, int column) {
        return records ? records->text(row, column) : model->index(row, column).data(Qt::DisplayRole).toString();
    };

    // Column formats must precede the rows in this writing mode; widths from the title and the
    // first rows.
    for (int p = 0; p < columns.size(); ++p) {
        const int c = columns[p];
        if (c < 0) continue;
        const QString title = model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        double width = qMax(8.0, textWidth(title));
        for (int r = 0; r < qMin(rows, 200); ++r) width = qMax(width, textWidth(cellText(r, c).trimmed()));
        worksheet_set_column(ws, lxw_col_t(p), lxw_col_t(p), qMin(width + 2, 60.0), text);
    }
    lxw_error err = LXW_NO_ERROR;
    for (int p = 0; p < columns.size() && !err; ++p) {
        if (columns[p] < 0) continue;
        const QByteArray title = model->headerData(columns[p], Qt::Horizontal, Qt::DisplayRole).toString().trimmed().toUtf8();
        err = worksheet_write_string(ws, 0, lxw_col_t(p), title.constData(), text);
    }
    QByteArray utf8;
    for (int r = 0; r < rows && !err; ++r) {
        for (int p = 0; p < columns.size(); ++p) {
            if (columns[p] < 0) continue;
            const QString v = cellText(r, columns[p]).trimmed();
            if (v.isEmpty()) continue;
            utf8 = v.toUtf8();
            err = worksheet_write_string(ws, lxw_row_t(r + 1), lxw_col_t(p), utf8.constData(), text);
            if (err) break;
        }
        if (progress && ((r + 1) % 256 == 0 || r + 1 == rows) && !progress(r + 1, rows)) {
            result.outcome = Outcome::Cancelled;
            return result;   // the guard frees the workbook, the part file is removed
        }
    }
    if (err) {
        result.error = QString::fromUtf8(lxw_strerror(err));
        return result;
    }
    err = workbook_close(guard.wb);
    guard.wb = nullptr;
    if (err) {
        result.error = QString::fromUtf8(lxw_strerror(err));
        return result;
    }
    // rename(2) replaces an older file of that name in one step.
    if (std::rename(partName.constData(), QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
        result.error = QString::fromLocal8Bit(std::strerror(errno));
        return result;
    }
    part.setAutoRemove(false);
    result.outcome = Outcome::Written;
    return result;
}

QString defaultFileName(const QString &windowName, const QDateTime &when)
{
    QString base = windowName.trimmed();
    for (QChar bad : {u'/', u'\\', u':', u'*', u'?', u'"', u'<', u'>', u'|'}) base.replace(bad, u'_');
    if (base.isEmpty()) base = QStringLiteral("导出");
    return base + u'_' + when.toString(QStringLiteral("yyyyMMdd_hhmmss")) + QStringLiteral(".xlsx");
}

QString defaultFolder(const QString &dataDir) { return QDir(dataDir).filePath(book_folders::ExportFolder); }

bool exportGridToFile(QTableView *grid, const QString &windowName, const QString &path)
{
    QAbstractItemModel *model = grid->model();
    if (!model) return false;
    // A long list still reading its rows in the background is read to its end: the file holds
    // every row of the query, not only those shown so far.
    while (model->canFetchMore({})) model->fetchMore({});
    const int rows = model->rowCount();
    std::unique_ptr<QProgressDialog> dialog;
    Progress progress;
    if (rows > progressThreshold) {
        dialog = std::make_unique<QProgressDialog>(QStringLiteral("正在导出数据……"), QStringLiteral("取消"), 0, rows,
                                                   grid->window());
        dialog->setWindowTitle(QStringLiteral("导出"));
        dialog->setWindowModality(Qt::WindowModal);
        dialog->setMinimumDuration(500);
        dialog->setAutoClose(false);
        dialog->setAutoReset(false);
        QProgressDialog *d = dialog.get();
        progress = [d](int done, int) {
            d->setValue(done);   // a modal progress dialog lets pending events run here
            return !d->wasCanceled();
        };
    }
    const Result r = exportModelToXlsx(model, gridColumns(grid), path, windowName, progress);
    dialog.reset();
    if (r.outcome == Outcome::Cancelled) return false;
    if (!r.written()) {
        prompt().info(QStringLiteral("数据导出失败！"));
        return false;
    }
    const Opener &open = opener();
    const bool opened = open ? open(path) : openInSpreadsheet(path);
    if (!opened) prompt().info(QStringLiteral("数据导出成功！\n") + QDir::toNativeSeparators(path));
    return true;
}

void setOpener(Opener o) { opener() = std::move(o); }

} // namespace GridExport

void ExportGridToExcel(QTableView *grid, const QString &windowName, const QString &dataDir)
{
    if (!grid || !grid->model()) return;
    const QString folder = GridExport::defaultFolder(dataDir);
    QDir().mkpath(folder);
    const QString suggested = QDir(folder).filePath(GridExport::defaultFileName(windowName, QDateTime::currentDateTime()));
    QString path = QFileDialog::getSaveFileName(grid->window(), QStringLiteral("导出"), suggested,
                                                QStringLiteral("Excel 工作簿 (*.xlsx)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().compare(QStringLiteral("xlsx"), Qt::CaseInsensitive) != 0) path += QStringLiteral(".xlsx");
    GridExport::exportGridToFile(grid, windowName, path);
}
