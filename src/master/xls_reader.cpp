// Excel 97–2003 workbooks through FreeXL.
#include "master/workbook_reader.h"

#include <freexl.h>

#include <QFile>

namespace workbook {

namespace {

class XlsHandle {
public:
    explicit XlsHandle(const QString &path)
    {
        const int rc = freexl_open(QFile::encodeName(path).constData(), &h_);
        if (rc != FREEXL_OK) {
            h_ = nullptr;
            throw WorkbookError(QStringLiteral("文件不是可读取的Excel 97–2003工作簿（错误%1）：").arg(rc) + path);
        }
    }
    ~XlsHandle()
    {
        if (h_) freexl_close(h_);
    }
    XlsHandle(const XlsHandle &) = delete;
    XlsHandle &operator=(const XlsHandle &) = delete;
    const void *get() const { return h_; }

private:
    const void *h_ = nullptr;
};

QString cellText(const FreeXL_CellValue &v)
{
    switch (v.type) {
    case FREEXL_CELL_INT: return QString::number(v.value.int_value);
    case FREEXL_CELL_DOUBLE: return numberText(v.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME: return v.value.text_value ? QString::fromUtf8(v.value.text_value) : QString();
    default: return QString();
    }
}

} // namespace

void readXls(const QString &path, const QString &sheet, const RowHandler &onRow)
{
    XlsHandle xls(path);
    unsigned int password = 0;
    if (freexl_get_info(xls.get(), FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK && password == FREEXL_BIFF_OBFUSCATED)
        throw WorkbookError(QStringLiteral("工作簿设有密码，请先在电子表格程序中取消密码：") + path);
    unsigned int sheets = 0;
    if (freexl_get_info(xls.get(), FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK) sheets = 0;
    int found = -1;
    for (unsigned short i = 0; i < sheets && found < 0; ++i) {
        const char *name = nullptr;
        if (freexl_get_worksheet_name(xls.get(), i, &name) == FREEXL_OK && name &&
            QString::fromUtf8(name).compare(sheet, Qt::CaseInsensitive) == 0)
            found = i;
    }
    if (found < 0) throw WorkbookError(QStringLiteral("工作簿中没有名为“%1”的工作表").arg(sheet));
    if (freexl_select_active_worksheet(xls.get(), (unsigned short)found) != FREEXL_OK)
        throw WorkbookError(QStringLiteral("工作表“%1”无法读取").arg(sheet));
    unsigned int rows = 0;
    unsigned short cols = 0;
    if (freexl_worksheet_dimensions(xls.get(), &rows, &cols) != FREEXL_OK)
        throw WorkbookError(QStringLiteral("工作表“%1”无法读取").arg(sheet));

    QStringList cells;
    for (unsigned int r = 0; r < rows; ++r) {
        cells.clear();
        qsizetype filled = 0;
        for (unsigned short c = 0; c < cols; ++c) {
            FreeXL_CellValue v;
            if (freexl_get_cell_value(xls.get(), r, c, &v) != FREEXL_OK) v.type = FREEXL_CELL_NULL;
            cells << cellText(v);
            if (!cells.last().isEmpty()) filled = cells.size();
        }
        if (filled == 0) continue;
        cells.resize(filled);
        onRow(int(r) + 1, cells);
    }
}

} // namespace workbook
