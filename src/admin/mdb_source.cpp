#include "admin/mdb_source.h"

// glib.h must come first: mdbtools.h includes it inside extern "C", which C++ templates refuse.
#include <glib.h>
#include <mdbtools.h>

#include <QDate>
#include <QtEndian>
#include <QFile>
#include <QFileInfo>
#include <QTime>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// Large enough for any memo typed in Access (65,535 characters, up to 3 bytes each in UTF-8);
// a longer value would come back cut short, which the reader refuses rather than keep.
constexpr size_t BindSize = 256 * 1024;

SourceType typeOf(int colType)
{
    switch (colType) {
    case MDB_TEXT:
    case MDB_MEMO: return SourceType::Text;
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT: return SourceType::Integer;
    case MDB_MONEY: return SourceType::Currency;
    case MDB_NUMERIC: return SourceType::Numeric;
    case MDB_DOUBLE: return SourceType::Double;
    case MDB_FLOAT: return SourceType::Single;
    case MDB_DATETIME: return SourceType::Date;
    case MDB_BOOL: return SourceType::Boolean;
    default: return SourceType::Other;
    }
}

// Room for any value of a number or date column as text.
using Scratch = std::array<char, 64>;

// Shortest text that reads back as the same number, in plain notation: the value as Access
// shows it ("0.1", "3.14159"). Values too large for any amount keep an exponent.
template <typename F>
int plainNumber(F value, char *out)
{
    if (!std::isfinite(value)) return std::snprintf(out, sizeof(Scratch), "nan");
    auto r = std::to_chars(out, out + sizeof(Scratch), value, std::chars_format::fixed);
    if (r.ec != std::errc()) r = std::to_chars(out, out + sizeof(Scratch), value);
    return int(r.ptr - out);
}

// Digits of v, at least `width` of them with leading zeros; returns the end.
char *digits(char *out, quint64 v, int width = 1)
{
    char buf[24];
    int n = 0;
    do {
        buf[n++] = char('0' + v % 10);
        v /= 10;
    } while (v != 0 || n < width);
    while (n > 0) *out++ = buf[--n];
    return out;
}

// Access keeps a date as days since 1899-12-30; the fraction is the time of day, also for days
// before that date. Written as "yyyy-mm-dd hh:mm:ss".
int dateText(double serial, char *out)
{
    if (!std::isfinite(serial) || std::fabs(serial) > 3e6) return std::snprintf(out, sizeof(Scratch), "nan");
    double whole = std::trunc(serial);
    qint64 seconds = std::llround(std::fabs(serial - whole) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        whole += serial < 0 ? -1 : 1;
    }
    int y = 0, m = 0, d = 0;
    QDate(1899, 12, 30).addDays(qint64(whole)).getDate(&y, &m, &d);
    char *p = out;
    if (y < 0) *p++ = '-';
    p = digits(p, quint64(std::abs(y)), 4);
    *p++ = '-';
    p = digits(p, quint64(m), 2);
    *p++ = '-';
    p = digits(p, quint64(d), 2);
    *p++ = ' ';
    p = digits(p, quint64(seconds / 3600), 2);
    *p++ = ':';
    p = digits(p, quint64(seconds / 60 % 60), 2);
    *p++ = ':';
    p = digits(p, quint64(seconds % 60), 2);
    return int(p - out);
}

// Ten-thousandths as plain decimal text: "-7.0000".
int currencyText(qint64 raw, char *out)
{
    char *p = out;
    if (raw < 0) *p++ = '-';
    // The magnitude of the smallest value does not fit in a signed number.
    const quint64 mag = raw < 0 ? quint64(0) - quint64(raw) : quint64(raw);
    p = digits(p, mag / 10000);
    *p++ = '.';
    p = digits(p, mag % 10000, 4);
    return int(p - out);
}

int integerText(qint64 v, char *out) { return int(std::to_chars(out, out + sizeof(Scratch), v).ptr - out); }

// Columns whose stored bytes are read directly: libmdb then skips making text of them, and
// its text would be rounded (Single, Double) or out of range (dates before 1900).
bool readRaw(int colType)
{
    switch (colType) {
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
    case MDB_MONEY:
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_DATETIME: return true;
    default: return false;
    }
}

class MdbTable final : public SourceTable {
public:
    MdbTable(MdbHandle *mdb, MdbTableDef *t) : mdb_(mdb), t_(t)
    {
        const int n = int(t_->num_cols);
        buffers_.resize(size_t(n));
        lengths_.assign(size_t(n), 0);
        scratch_.resize(size_t(n));
        for (int i = 0; i < n; ++i) {
            MdbColumn *c = static_cast<MdbColumn *>(g_ptr_array_index(t_->columns, guint(i)));
            cols_.append({QString::fromUtf8(c->name), typeOf(c->col_type)});
            raw_.push_back(c);
            if (readRaw(c->col_type)) {
                mdb_bind_column(t_, i + 1, nullptr, nullptr);
                continue;
            }
            buffers_[size_t(i)].assign(BindSize, '\0');
            mdb_bind_column(t_, i + 1, buffers_[size_t(i)].data(), &lengths_[size_t(i)]);
        }
        mdb_rewind_table(t_);
    }
    ~MdbTable() override { mdb_free_tabledef(t_); }

    const QList<SourceColumn> &columns() const override { return cols_; }
    qint64 declaredRows() const override { return qint64(t_->num_rows); }

    bool next() override
    {
        if (!mdb_fetch_row(t_)) {
            if (read_ != qint64(t_->num_rows))
                throw damaged(QStringLiteral("应有 %1 行，只读出 %2 行").arg(t_->num_rows).arg(read_));
            return false;
        }
        ++read_;
        const unsigned char *page = mdb_->pg_buf;
        for (size_t i = 0; i < raw_.size(); ++i) {
            const MdbColumn *c = raw_[i];
            if (readRaw(c->col_type)) {
                if (c->cur_value_len <= 0) {
                    lengths_[i] = 0;
                    continue;
                }
                const int at = c->cur_value_start;
                char *out = scratch_[i].data();
                switch (c->col_type) {
                case MDB_BYTE: lengths_[i] = integerText(page[at], out); break;
                case MDB_INT: lengths_[i] = integerText(qFromLittleEndian<qint16>(page + at), out); break;
                case MDB_LONGINT: lengths_[i] = integerText(qFromLittleEndian<qint32>(page + at), out); break;
                case MDB_MONEY: lengths_[i] = currencyText(qFromLittleEndian<qint64>(page + at), out); break;
                case MDB_FLOAT: lengths_[i] = plainNumber(mdb_get_single(mdb_->pg_buf, at), out); break;
                case MDB_DOUBLE: lengths_[i] = plainNumber(mdb_get_double(mdb_->pg_buf, at), out); break;
                case MDB_DATETIME: lengths_[i] = dateText(mdb_get_double(mdb_->pg_buf, at), out); break;
                }
                continue;
            }
            if ((c->col_type == MDB_TEXT || c->col_type == MDB_MEMO) && size_t(lengths_[i]) + 4 >= BindSize)
                throw damaged(QStringLiteral("第 %1 行的 %2 过长，无法完整读出").arg(read_).arg(cols_[int(i)].name));
            if (c->col_type == MDB_MEMO && !memoComplete(c))
                throw damaged(QStringLiteral("第 %1 行的 %2 不完整").arg(read_).arg(cols_[int(i)].name));
        }
        return true;
    }

    bool isNull(int c) const override
    {
        return lengths_[size_t(c)] <= 0 && raw_[size_t(c)]->col_type != MDB_BOOL;
    }

    QByteArrayView text(int c) const override
    {
        const size_t i = size_t(c);
        if (isNull(c)) return {};
        if (readRaw(raw_[i]->col_type)) return QByteArrayView(scratch_[i].data(), lengths_[i]);
        if (raw_[i]->col_type == MDB_BOOL) return QByteArrayView(buffers_[i].data(), qstrlen(buffers_[i].data()));
        return QByteArrayView(buffers_[i].data(), lengths_[i]);
    }

private:
    // A long memo keeps its text on a chain of pages of its own, and the row says how long it
    // is. libmdb warns on standard error and gives what it found when the chain breaks off.
    bool memoComplete(const MdbColumn *c) const
    {
        if (c->cur_value_len < MDB_MEMO_OVERHEAD) return true;
        const quint32 head = quint32(mdb_get_int32(mdb_->pg_buf, c->cur_value_start));
        const quint32 length = head & 0x3fffffff;
        if (head & 0x80000000) return true;   // kept in the row itself
        int pageRow = int(mdb_get_int32(mdb_->pg_buf, c->cur_value_start + 4));
        const bool onePage = head & 0x40000000;
        quint64 found = 0;
        for (int pages = 0; pageRow != 0 && pages < 1 << 20; ++pages) {
            void *buf = nullptr;
            int at = 0;
            size_t len = 0;
            if (mdb_find_pg_row(mdb_, pageRow, &buf, &at, &len) != 0) return false;
            if (onePage) return len >= length;
            if (len < 4) return false;
            pageRow = int(mdb_get_int32(buf, at));
            found += len - 4;
        }
        return found >= length;
    }

    SourceError damaged(const QString &what) const
    {
        return SourceError(MdbSource::DamagedMessage + QStringLiteral("表 ") + QString::fromUtf8(t_->name) + u' ' + what);
    }

    MdbHandle *mdb_;
    MdbTableDef *t_;
    QList<SourceColumn> cols_;
    std::vector<MdbColumn *> raw_;
    std::vector<std::vector<char>> buffers_;
    std::vector<int> lengths_;
    std::vector<Scratch> scratch_;   // number and date columns as text
    qint64 read_ = 0;
};

} // namespace

struct MdbSource::Handle {
    MdbHandle *mdb = nullptr;
    ~Handle()
    {
        if (mdb) mdb_close(mdb);
    }
};

MdbSource::MdbSource(const QString &file) : file_(file), h_(std::make_unique<Handle>())
{
    const QFileInfo fi(file);
    if (!fi.isFile() || !fi.isReadable()) throw SourceError(QStringLiteral("无法读取文件：") + file);
    // Every Jet and ACE file names its engine at the start; libmdb opens anything else as an
    // empty book of the oldest format.
    {
        QFile f(fi.absoluteFilePath());
        const QByteArray head = f.open(QIODevice::ReadOnly) ? f.read(19) : QByteArray();
        if (head.mid(4) != "Standard Jet DB" && head.mid(4) != "Standard ACE DB") throw SourceError(NotAccessMessage + file);
    }
    // Opened without MDB_WRITABLE: libmdb reads the file and never writes it.
    h_->mdb = mdb_open(QFile::encodeName(fi.absoluteFilePath()).constData(), MDB_NOFLAGS);
    if (!h_->mdb) throw SourceError(NotAccessMessage + file);
    MdbHandle *mdb = h_->mdb;
    if (mdb->f->jet_version == MDB_VER_JET3)
        throw SourceError(QStringLiteral("不支持Access 97（Jet 3）格式的数据库，请先用Access转换为2000或更新的格式：") + file);
    // Jet 4 keeps text as UTF-16; libmdb's own converter takes it for UCS-2 and turns every
    // character beyond U+FFFF (rare Chinese characters among them) into "?".
    iconv_close(mdb->iconv_in);
    mdb->iconv_in = iconv_open("UTF-8", "UTF-16LE");
    mdb_set_bind_size(mdb, BindSize);
    mdb_set_boolean_fmt_numbers(mdb);
    if (mdb->fmt->pg_size <= 0 || fi.size() % mdb->fmt->pg_size != 0)
        throw SourceError(DamagedMessage + QStringLiteral("文件长度不是整页，文件不完整：") + file);
    if (!mdb_read_catalog(mdb, MDB_TABLE)) throw SourceError(DamagedMessage + QStringLiteral("无法读出表目录：") + file);
}

MdbSource::~MdbSource() = default;

QStringList MdbSource::tableNames()
{
    QStringList names;
    MdbHandle *mdb = h_->mdb;
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto *e = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
        if (e->object_type != MDB_TABLE || mdb_is_system_table(e)) continue;
        names << QString::fromUtf8(e->object_name);
    }
    return names;
}

std::unique_ptr<SourceTable> MdbSource::open(const QString &table)
{
    MdbHandle *mdb = h_->mdb;
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto *e = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
        if (e->object_type != MDB_TABLE || QString::fromUtf8(e->object_name) != table) continue;
        MdbTableDef *t = mdb_read_table(e);
        if (!t) break;
        if (!mdb_read_columns(t) || t->num_cols != t->columns->len) {
            mdb_free_tabledef(t);
            break;
        }
        return std::make_unique<MdbTable>(mdb, t);
    }
    throw SourceError(DamagedMessage + QStringLiteral("无法读出表 ") + table);
}
