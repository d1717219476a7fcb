// Excel 97–2003 workbooks through FreeXL.
#include "master/workbook_reader.h"

#include <freexl.h>

#include <QFile>
#include <QHash>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <vector>

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


// FreeXL leaves formula cells empty, which would turn a computed stock value into 0 without a
// word. Their stored results are read here straight from the workbook stream: the compound
// file's sector chains, then the sheet's FORMULA records (and the STRING record after a text
// result).
class FormulaResults {
public:
    FormulaResults(const QString &path, const QString &sheet)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly) || f.size() > (qint64(1) << 30)) return;
        file_ = f.readAll();
        const QByteArray stream = workbookStream();
        if (!stream.isEmpty()) readSheet(stream, sheet);
    }

    // The stored result of the formula at (row, col), 0-based; empty when none.
    QString at(unsigned row, unsigned col) const { return cells_.value((quint64(row) << 16) | col); }
    bool any() const { return !cells_.isEmpty(); }
    bool hasRow(unsigned row) const { return rows_.contains(row); }

private:
    quint32 u32(const QByteArray &b, qsizetype at) const
    {
        if (at < 0 || at + 4 > b.size()) return 0xFFFFFFFF;
        quint32 v;
        memcpy(&v, b.constData() + at, 4);
        return qFromLittleEndian(v);
    }
    static quint16 u16(const QByteArray &b, qsizetype at)
    {
        if (at < 0 || at + 2 > b.size()) return 0;
        quint16 v;
        memcpy(&v, b.constData() + at, 2);
        return qFromLittleEndian(v);
    }

    // The sectors of a chain, joined; stops at the end mark, a bad link or a loop.
    QByteArray chain(quint32 start, const std::vector<quint32> &table, qsizetype sectorSize,
                     const QByteArray &from, qsizetype offset, qsizetype limit) const
    {
        QByteArray out;
        size_t steps = 0;
        for (quint32 s = start; s < 0xFFFFFFFA && s < table.size() && steps <= table.size(); s = table[s], ++steps) {
            const qsizetype at = offset + qsizetype(s) * sectorSize;
            if (at < 0 || at + sectorSize > from.size()) break;
            out.append(from.constData() + at, sectorSize);
            if (out.size() >= limit) break;
        }
        return out.left(limit);
    }

    QByteArray workbookStream() const
    {
        if (file_.size() < 512 || !file_.startsWith(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))) return {};
        const int shift = u16(file_, 0x1E);
        if (shift < 7 || shift > 16) return {};
        const qsizetype sector = qsizetype(1) << shift;
        const qsizetype miniSector = qsizetype(1) << std::min<int>(u16(file_, 0x20), 16);
        // The sectors holding the allocation table: 109 listed in the header, more in a chain.
        std::vector<quint32> fatSectors;
        for (int i = 0; i < 109; ++i) fatSectors.push_back(u32(file_, 0x4C + 4 * i));
        quint32 difat = u32(file_, 0x44);
        for (quint32 n = 0; difat < 0xFFFFFFFA && n < u32(file_, 0x48) && n < 100000; ++n) {
            const qsizetype at = sector + qsizetype(difat) * sector;
            for (qsizetype i = 0; i + 4 < sector; i += 4) fatSectors.push_back(u32(file_, at + i));
            difat = u32(file_, at + sector - 4);
        }
        std::vector<quint32> fat;
        for (quint32 fs : fatSectors) {
            if (fs >= 0xFFFFFFFA) continue;
            const qsizetype at = sector + qsizetype(fs) * sector;
            if (at + sector > file_.size()) break;
            for (qsizetype i = 0; i < sector; i += 4) fat.push_back(u32(file_, at + i));
        }
        const QByteArray dir = chain(u32(file_, 0x30), fat, sector, file_, sector, qsizetype(1) << 26);
        QByteArray miniStream;
        quint32 wbStart = 0xFFFFFFFE;
        qsizetype wbSize = 0;
        for (qsizetype e = 0; e + 128 <= dir.size(); e += 128) {
            const int nameBytes = std::min<int>(u16(dir, e + 64), 64);
            const QString name = QString::fromUtf16(reinterpret_cast<const char16_t *>(dir.constData() + e),
                                                    std::max(0, nameBytes / 2 - 1));
            const quint32 start = u32(dir, e + 116);
            const qsizetype size = u32(dir, e + 120);
            if (e == 0) miniStream = chain(start, fat, sector, file_, sector, size);
            else if (name == u"Workbook" || name == u"Book") {
                wbStart = start;
                wbSize = size;
                break;
            }
        }
        if (wbStart >= 0xFFFFFFFA) return {};
        if (wbSize >= qsizetype(u32(file_, 0x38))) return chain(wbStart, fat, sector, file_, sector, wbSize);
        const QByteArray miniFatBytes = chain(u32(file_, 0x3C), fat, sector, file_, sector, qsizetype(1) << 26);
        std::vector<quint32> miniFat;
        for (qsizetype i = 0; i + 4 <= miniFatBytes.size(); i += 4) miniFat.push_back(u32(miniFatBytes, i));
        return chain(wbStart, miniFat, miniSector, miniStream, 0, wbSize);
    }

    void readSheet(const QByteArray &s, const QString &sheet)
    {
        // The workbook globals name each sheet with the stream offset of its records.
        qsizetype sheetAt = -1;
        qsizetype at = 0;
        while (at + 4 <= s.size()) {
            const quint16 type = u16(s, at);
            const quint16 len = u16(s, at + 2);
            const qsizetype data = at + 4;
            if (type == 0x000A) break;   // end of the globals
            if (type == 0x0085 && len >= 8) {   // sheet: offset, state, kind, name
                const int cch = quint8(s[data + 6]);
                const bool wide = quint8(s[data + 7]) & 1;
                QString name;
                if (wide && data + 8 + 2 * cch <= s.size())
                    name = QString::fromUtf16(reinterpret_cast<const char16_t *>(s.constData() + data + 8), cch);
                else if (!wide && data + 8 + cch <= s.size())
                    name = QString::fromLatin1(s.constData() + data + 8, cch);
                if (name.compare(sheet, Qt::CaseInsensitive) == 0 && sheetAt < 0) sheetAt = u32(s, data);
            }
            at = data + len;
        }
        if (sheetAt <= 0 || sheetAt >= s.size()) return;
        at = sheetAt;
        qint64 pending = -1;   // a text result arrives in the STRING record that follows
        while (at + 4 <= s.size()) {
            const quint16 type = u16(s, at);
            const quint16 len = u16(s, at + 2);
            const qsizetype data = at + 4;
            if (data + len > s.size()) break;
            if (type == 0x000A) break;   // end of the sheet
            if (type == 0x0006 && len >= 14) {
                const unsigned row = u16(s, data), col = u16(s, data + 2);
                const quint64 key = (quint64(row) << 16) | col;
                pending = -1;
                const QByteArray result = s.mid(data + 6, 8);
                if (quint8(result[6]) == 0xFF && quint8(result[7]) == 0xFF) {
                    switch (quint8(result[0])) {
                    case 0: pending = qint64(key); break;
                    case 1: put(row, col, quint8(result[2]) ? QStringLiteral("TRUE") : QStringLiteral("FALSE")); break;
                    default: break;   // an error value or an empty text
                    }
                } else {
                    double v;
                    memcpy(&v, result.constData(), 8);
                    put(row, col, numberText(v));
                }
            } else if (type == 0x0207 && pending >= 0 && len >= 3) {
                const int cch = u16(s, data);
                const bool wide = quint8(s[data + 2]) & 1;
                const qsizetype room = len - 3;
                const int n = int(std::min<qsizetype>(cch, wide ? room / 2 : room));
                const QString text = wide ? QString::fromUtf16(reinterpret_cast<const char16_t *>(s.constData() + data + 3), n)
                                          : QString::fromLatin1(s.constData() + data + 3, n);
                put(unsigned(quint64(pending) >> 16), unsigned(pending & 0xFFFF), text);
                pending = -1;
            }
            at = data + len;
        }
    }

    void put(unsigned row, unsigned col, const QString &text)
    {
        if (text.isEmpty()) return;
        cells_.insert((quint64(row) << 16) | col, text);
        rows_.insert(row, true);
    }

    QByteArray file_;
    QHash<quint64, QString> cells_;
    QHash<unsigned, bool> rows_;
};

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

    const FormulaResults formulas(path, sheet);
    QStringList cells;
    for (unsigned int r = 0; r < rows; ++r) {
        cells.clear();
        qsizetype filled = 0;
        const bool formulaRow = formulas.any() && formulas.hasRow(r);
        for (unsigned short c = 0; c < cols; ++c) {
            FreeXL_CellValue v;
            if (freexl_get_cell_value(xls.get(), r, c, &v) != FREEXL_OK) v.type = FREEXL_CELL_NULL;
            cells << (v.type == FREEXL_CELL_NULL && formulaRow ? formulas.at(r, c) : cellText(v));
            if (!cells.last().isEmpty()) filled = cells.size();
        }
        if (filled == 0) continue;
        cells.resize(filled);
        onRow(int(r) + 1, cells);
    }
}

} // namespace workbook
