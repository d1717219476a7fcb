// libFuzzer entry over one spreadsheet reader of the master-data import, chosen at build time
// (FUZZ_XLS, FUZZ_XLS_FORMULAS, FUZZ_XLSX, FUZZ_CSV). A reader may refuse a file with WorkbookError; anything else
// escaping it, a crash, a hang or an allocation beyond libFuzzer's limits is a finding.
#include "master/workbook_reader.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <unistd.h>

namespace {

// The file readers open a path (FreeXL and libzip read files); the input goes to memory-backed
// storage so the run is not bound by the disk.
QString inputFile(const char *suffix)
{
    static const QString path = QStringLiteral("/dev/shm/marvoda-fuzz-%1.%2").arg(getpid()).arg(QLatin1StringView(suffix));
    return path;
}

void writeInput(const QString &path, const uint8_t *data, size_t size)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) abort();
    if (size && f.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size)) abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    qsizetype seen = 0;
    const workbook::RowHandler onRow = [&seen](int row, const QStringList &cells) {
        seen += row;
        for (const QString &c : cells) seen += c.size();
    };
    try {
#if defined(FUZZ_XLS)
        const QString path = inputFile("xls");
        writeInput(path, data, size);
        workbook::readXls(path, QStringLiteral("Sheet1"), onRow);
#elif defined(FUZZ_XLSX)
        const QString path = inputFile("xlsx");
        writeInput(path, data, size);
        workbook::readXlsx(path, QStringLiteral("Sheet1"), onRow);
#elif defined(FUZZ_XLS_FORMULAS)
        // The compound file and BIFF records the program walks itself, at full speed (the
        // FreeXL part above runs in a child process per input, which is slow to fuzz).
        for (const workbook::FormulaCell &c : workbook::xlsFormulaResults(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), QStringLiteral("Sheet1")))
            onRow(int(c.row), {c.text});
#elif defined(FUZZ_CSV)
        workbook::parseCsv(workbook::decodeText(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size))), onRow);
#else
#error "choose a reader: FUZZ_XLS, FUZZ_XLSX or FUZZ_CSV"
#endif
    } catch (const WorkbookError &) {
        // A refused file: the import says why and inserts nothing.
    }
    return seen < 0;   // keeps the cells read
}
