// Excel 97–2003 workbooks through FreeXL.
#include "master/workbook_reader.h"

#include <freexl.h>

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MARVODA_ASAN 1
#endif
#endif
#if !defined(MARVODA_ASAN) && defined(__SANITIZE_ADDRESS__)
#define MARVODA_ASAN 1
#endif
#if MARVODA_ASAN
#include <sanitizer/common_interface_defs.h>
#endif

namespace workbook {

namespace {

// FreeXL leaves formula cells empty, which would turn a computed stock value into 0 without a
// word. Their stored results are read here straight from the workbook stream: the compound
// file's sector chains, then the sheet's FORMULA records (and the STRING record after a text
// result).
class FormulaResults {
public:
    FormulaResults(const QByteArray &file, const QString &sheet) : file_(file)
    {
        const QByteArray stream = workbookStream();
        if (!stream.isEmpty()) readSheet(stream, sheet);
    }

    // The stored results of the sheet's formulas.
    std::vector<FormulaCell> cells() const
    {
        std::vector<FormulaCell> out;
        out.reserve(size_t(cells_.size()));
        for (auto it = cells_.cbegin(); it != cells_.cend(); ++it) out.push_back({unsigned(it.key() >> 16), unsigned(it.key() & 0xFFFF), it.value()});
        return out;
    }

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

    // The sectors of a chain, joined; stops at the end mark, a bad link or a loop, so it never
    // holds more than the file itself.
    QByteArray chain(quint32 start, const std::vector<quint32> &table, qsizetype sectorSize,
                     const QByteArray &from, qsizetype offset, qsizetype limit) const
    {
        QByteArray out;
        std::vector<bool> seen(table.size());
        for (quint32 s = start; s < 0xFFFFFFFA && s < table.size() && !seen[s]; s = table[s]) {
            seen[s] = true;
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
        // A damaged chain may loop or claim more sectors than the file has; each real one is a
        // sector of the file, which bounds what is read.
        const qsizetype sectorsInFile = file_.size() / sector;
        std::vector<quint32> fatSectors;
        for (int i = 0; i < 109; ++i) fatSectors.push_back(u32(file_, 0x4C + 4 * i));
        quint32 difat = u32(file_, 0x44);
        for (quint32 n = 0; difat < 0xFFFFFFFA && n < u32(file_, 0x48) && qsizetype(n) < sectorsInFile; ++n) {
            const qsizetype at = sector + qsizetype(difat) * sector;
            for (qsizetype i = 0; i + 4 < sector; i += 4) fatSectors.push_back(u32(file_, at + i));
            difat = u32(file_, at + sector - 4);
        }
        if (qsizetype(fatSectors.size()) > sectorsInFile + 109) fatSectors.resize(size_t(sectorsInFile + 109));
        std::vector<quint32> fat;
        for (quint32 fs : fatSectors) {
            if (fs >= 0xFFFFFFFA) continue;
            if (qsizetype(fat.size()) >= sectorsInFile * (sector / 4)) break;
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
            if (data + len > s.size()) break;   // a record cut off by the end of the stream
            if (type == 0x000A) break;   // end of the globals
            if (type == 0x0085 && len >= 8) {   // sheet: offset, state, kind, name
                const int cch = quint8(s[data + 6]);
                const bool wide = quint8(s[data + 7]) & 1;
                QString name;
                if (wide && 8 + 2 * cch <= len)
                    name = QString::fromUtf16(reinterpret_cast<const char16_t *>(s.constData() + data + 8), cch);
                else if (!wide && 8 + cch <= len)
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
    }

    QByteArray file_;
    QHash<quint64, QString> cells_;
};

} // namespace

std::vector<FormulaCell> xlsFormulaResults(const QByteArray &file, const QString &sheet)
{
    return FormulaResults(file, sheet).cells();
}

// FreeXL trusts the lengths inside the file: a damaged workbook can make it read outside its
// buffers, crash or ask for gigabytes while it opens the file. It therefore runs in a child
// process of its own, which hands back the cells over a pipe; a child that dies, overruns its
// memory or time leaves the program standing and the import says the file is damaged.
namespace {

enum Status : char { Done = 'K', OpenFailed = 'O', Password = 'P', NoSheet = 'S', Unreadable = 'U' };

void put(std::string &out, const void *p, size_t n) { out.append(static_cast<const char *>(p), n); }

// In the child: the cells of the sheet, each as row, column, FreeXL type and value, then one
// status byte (and FreeXL's code after OpenFailed).
std::string readWithFreeXl(const QByteArray &path, const QByteArray &sheet)
{
    std::string out;
    const void *h = nullptr;
    const int rc = freexl_open(path.constData(), &h);
    if (rc != FREEXL_OK) {
        out += char(OpenFailed);
        put(out, &rc, sizeof rc);
        return out;
    }
    struct Close {
        const void *h;
        ~Close() { freexl_close(h); }
    } close{h};
    unsigned int password = 0;
    if (freexl_get_info(h, FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK && password == FREEXL_BIFF_OBFUSCATED)
        return std::string(1, char(Password));
    unsigned int sheets = 0;
    if (freexl_get_info(h, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK) sheets = 0;
    int found = -1;
    for (unsigned short i = 0; i < sheets && found < 0; ++i) {
        const char *name = nullptr;
        if (freexl_get_worksheet_name(h, i, &name) == FREEXL_OK && name && QString::fromUtf8(name).compare(QString::fromUtf8(sheet), Qt::CaseInsensitive) == 0)
            found = i;
    }
    if (found < 0) return std::string(1, char(NoSheet));
    unsigned int rows = 0;
    unsigned short cols = 0;
    if (freexl_select_active_worksheet(h, (unsigned short)found) != FREEXL_OK || freexl_worksheet_dimensions(h, &rows, &cols) != FREEXL_OK)
        return std::string(1, char(Unreadable));
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < cols; ++c) {
            FreeXL_CellValue v;
            if (freexl_get_cell_value(h, r, c, &v) != FREEXL_OK || v.type == FREEXL_CELL_NULL) continue;
            out += 'C';
            put(out, &r, sizeof r);
            put(out, &c, sizeof c);
            put(out, &v.type, 1);
            switch (v.type) {
            case FREEXL_CELL_INT: put(out, &v.value.int_value, sizeof v.value.int_value); break;
            case FREEXL_CELL_DOUBLE: put(out, &v.value.double_value, sizeof v.value.double_value); break;
            default: {
                const quint32 n = v.value.text_value ? quint32(strlen(v.value.text_value)) : 0;
                put(out, &n, sizeof n);
                if (n) put(out, v.value.text_value, n);
            }
            }
        }
    }
    out += char(Done);
    return out;
}

bool writeAll(int fd, const std::string &s)
{
    for (size_t at = 0; at < s.size();) {
        const ssize_t n = ::write(fd, s.data() + at, s.size() - at);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        at += size_t(n);
    }
    return true;
}

// What the child sent, or nullopt when it did not finish: killed by a fault, out of memory, or
// still reading after the time a real workbook needs.
std::optional<QByteArray> runIsolated(const QByteArray &path, const QByteArray &sheet)
{
#if MARVODA_ASAN
    // The checker's own memory cannot be capped below: a short clock bounds what a damaged file
    // makes FreeXL take (a fuzzer gives each input two seconds).
    constexpr int TimeLimitMs = 1500;
#else
    // A full sheet of 65,536 rows takes FreeXL a few seconds.
    constexpr int TimeLimitMs = 30000;
#endif
    constexpr qsizetype OutputLimit = qsizetype(1) << 30;
    int fds[2];
    if (pipe(fds) != 0) return std::nullopt;
    const pid_t pid = fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return std::nullopt;
    }
    if (pid == 0) {
        ::close(fds[0]);
        // It never outlives the program or its clock, even when the program is killed meanwhile.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        alarm(unsigned(TimeLimitMs / 1000 + 1));
        // The child has nothing to tell the operator: its end is judged by its exit status.
        const int devNull = ::open("/dev/null", O_WRONLY);
        if (devNull >= 0) dup2(devNull, STDERR_FILENO);
#if MARVODA_ASAN
        // Under the address checker (fuzzing, checked builds) a fault in FreeXL ends the child
        // like any crash; the checker's hooks that report it as the program's own belong to the parent.
        __sanitizer_set_death_callback(nullptr);
#else
        // Above any real workbook (a full sheet of cells is some 300 MB); FreeXL asks for rows ×
        // columns cells before reading them, and follows a looping chain of a damaged file.
        const rlimit mem{rlim_t(1) << 30, rlim_t(1) << 30};
        setrlimit(RLIMIT_AS, &mem);
#endif
        const bool sent = writeAll(fds[1], readWithFreeXl(path, sheet));
        _exit(sent ? 0 : 1);
    }
    ::close(fds[1]);
    QByteArray got;
    QElapsedTimer clock;
    clock.start();
    bool complete = false;
    char buf[1 << 16];
    for (;;) {
        const qint64 left = TimeLimitMs - clock.elapsed();
        pollfd p{fds[0], POLLIN, 0};
        const int ready = left > 0 ? poll(&p, 1, int(left)) : 0;
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) break;
        const ssize_t n = ::read(fds[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) {
            complete = true;
            break;
        }
        if (n < 0 || got.size() + n > OutputLimit) break;
        got.append(buf, n);
    }
    ::close(fds[0]);
    if (!complete) kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    if (!complete || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return got;
}

} // namespace

void readXls(const QString &path, const QString &sheet, const RowHandler &onRow)
{
    const auto damaged = [&] { return WorkbookError(QStringLiteral("工作簿内容损坏，无法读取：") + path); };
    const std::optional<QByteArray> sent = runIsolated(QFile::encodeName(path), sheet.toUtf8());
    if (!sent || sent->isEmpty()) throw damaged();
    const QByteArray &s = *sent;
    switch (s.back()) {
    case Done: break;
    case OpenFailed: {
        int rc = 0;
        if (s.size() == 1 + qsizetype(sizeof rc)) memcpy(&rc, s.constData() + 1, sizeof rc);
        throw WorkbookError(QStringLiteral("文件不是可读取的Excel 97–2003工作簿（错误%1）：").arg(rc) + path);
    }
    case Password: throw WorkbookError(QStringLiteral("工作簿设有密码，请先在电子表格程序中取消密码：") + path);
    case NoSheet: throw WorkbookError(QStringLiteral("工作簿中没有名为“%1”的工作表").arg(sheet));
    case Unreadable: throw WorkbookError(QStringLiteral("工作表“%1”无法读取").arg(sheet));
    default: throw damaged();
    }

    std::map<unsigned, QStringList> rows;
    qsizetype at = 0;
    const qsizetype end = s.size() - 1;
    auto take = [&](void *into, qsizetype n) {
        if (n > end - at) throw damaged();
        memcpy(into, s.constData() + at, size_t(n));
        at += n;
    };
    while (at < end) {
        char tag = 0;
        take(&tag, 1);
        if (tag != 'C') throw damaged();
        quint32 r = 0;
        quint16 c = 0;
        unsigned char type = 0;
        take(&r, sizeof r);
        take(&c, sizeof c);
        take(&type, 1);
        QString text;
        if (type == FREEXL_CELL_INT) {
            int v = 0;
            take(&v, sizeof v);
            text = QString::number(v);
        } else if (type == FREEXL_CELL_DOUBLE) {
            double v = 0;
            take(&v, sizeof v);
            text = numberText(v);
        } else {
            quint32 n = 0;
            take(&n, sizeof n);
            if (qint64(n) > end - at) throw damaged();
            if (type == FREEXL_CELL_TEXT || type == FREEXL_CELL_SST_TEXT || type == FREEXL_CELL_DATE ||
                type == FREEXL_CELL_DATETIME || type == FREEXL_CELL_TIME)
                text = QString::fromUtf8(s.constData() + at, n);
            at += n;
        }
        QStringList &cells = rows[r];
        if (c >= cells.size()) cells.resize(c + 1);
        cells[c] = text;
    }
    // Formula results stand in the cells FreeXL leaves empty.
    QFile f(path);
    const QByteArray file = f.open(QIODevice::ReadOnly) && f.size() <= (qint64(1) << 30) ? f.readAll() : QByteArray();
    for (const auto &[r, c, text] : xlsFormulaResults(file, sheet)) {
        QStringList &cells = rows[r];
        if (c >= cells.size()) cells.resize(c + 1);
        if (cells[c].isEmpty()) cells[c] = text;
    }
    for (auto &[r, cells] : rows) {
        while (!cells.isEmpty() && cells.last().isEmpty()) cells.removeLast();
        if (!cells.isEmpty()) onRow(int(r) + 1, cells);
    }
}

} // namespace workbook
