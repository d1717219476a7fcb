// Office Open XML workbooks (.xlsx): a zip of XML parts, read with libzip; the small parts
// through QXmlStreamReader, the sheet and its shared strings by a direct scan.
// (Not QuaZip: it exports minizip's own function names, which then take the place of the
// minizip that libxlsxwriter's grid export calls, and the export crashes.)
#include "master/workbook_reader.h"

#include <zip.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QIODevice>
#include <QStringDecoder>
#include <QTime>
#include <QXmlStreamReader>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace workbook {

namespace {

const QLatin1StringView RelationshipsNs("http://schemas.openxmlformats.org/officeDocument/2006/relationships");

QString damaged(const QString &path, const QString &detail)
{
    return QStringLiteral("工作簿内容损坏（%1）：").arg(detail) + path;
}

// One part of the zip, streamed to the XML reader as it is inflated.
class ZipPart : public QIODevice {
public:
    explicit ZipPart(zip_file_t *f) : f_(f) { open(QIODevice::ReadOnly); }
    ~ZipPart() override
    {
        close();
        zip_fclose(f_);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const zip_int64_t n = zip_fread(f_, data, zip_uint64_t(maxSize));
        return n < 0 ? -1 : qint64(n);
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    zip_file_t *f_;
};

class Archive {
public:
    explicit Archive(const QString &path) : path_(path)
    {
        int err = 0;
        zip_ = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err);
        if (!zip_) throw WorkbookError(QStringLiteral("文件不是可读取的Excel工作簿（.xlsx）：") + path);
    }
    ~Archive()
    {
        part_.reset();
        zip_discard(zip_);
    }
    Archive(const Archive &) = delete;
    Archive &operator=(const Archive &) = delete;

    bool has(const QString &name) { return index(name) >= 0; }

    // The part opened for streaming; the caller reads it before asking for another part.
    QIODevice &open(const QString &name)
    {
        const zip_int64_t i = index(name);
        zip_file_t *f = i >= 0 ? zip_fopen_index(zip_, zip_uint64_t(i), 0) : nullptr;
        if (!f) throw WorkbookError(damaged(path_, QStringLiteral("缺少") + name));
        part_.reset();
        part_ = std::make_unique<ZipPart>(f);
        return *part_;
    }

    // A whole part; a part that inflates beyond any real sheet is refused rather than read.
    QByteArray readAll(const QString &name)
    {
        QIODevice &d = open(name);
        QByteArray out;
        char buf[1 << 16];
        for (;;) {
            const qint64 n = d.read(buf, sizeof buf);
            if (n < 0) throw WorkbookError(damaged(path_, name));
            if (n == 0) break;
            out.append(buf, n);
            if (out.size() > (qsizetype(1) << 30)) throw WorkbookError(QStringLiteral("工作簿太大，无法导入：") + path_);
        }
        if (out.startsWith("\xFF\xFE") || out.startsWith("\xFE\xFF")) {
            QStringDecoder utf16(out.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
            out = QString(utf16.decode(out)).toUtf8();
        }
        return out;
    }

    const QString &path() const { return path_; }

private:
    zip_int64_t index(const QString &name) { return zip_name_locate(zip_, name.toUtf8().constData(), ZIP_FL_NOCASE); }

    QString path_;
    zip_t *zip_ = nullptr;
    std::unique_ptr<ZipPart> part_;
};

void checkXml(const QXmlStreamReader &x, const Archive &a, const QString &part)
{
    if (x.hasError()) throw WorkbookError(damaged(a.path(), part + u' ' + x.errorString()));
}

// Excel writes characters XML cannot hold as _xHHHH_ (a literal "_x" as _x005F_x).
QString unescapeOoxml(QString s)
{
    if (!s.contains(QLatin1StringView("_x"))) return s;
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'_' && i + 6 < s.size() && s[i + 1] == u'x' && s[i + 6] == u'_') {
            bool ok = false;
            const ushort code = QStringView(s).mid(i + 2, 4).toUShort(&ok, 16);
            if (ok) {
                out += QChar(code);
                i += 6;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

struct Workbook {
    QString sheetPart;
    QString sharedStringsPart;
    QString stylesPart;
    bool date1904 = false;
};

QString partPath(const QString &target)
{
    if (target.startsWith(u'/')) return QDir::cleanPath(target.mid(1));
    return QDir::cleanPath(QStringLiteral("xl/") + target);
}

Workbook locate(Archive &a, const QString &sheet)
{
    Workbook wb;
    QString sheetRel;
    bool sheetFound = false;
    {
        QXmlStreamReader x(&a.open(QStringLiteral("xl/workbook.xml")));
        while (!x.atEnd()) {
            x.readNext();
            if (!x.isStartElement()) continue;
            if (x.name() == u"workbookPr") {
                const auto v = x.attributes().value(QLatin1StringView("date1904"));
                wb.date1904 = v == u"1" || v == u"true";
            } else if (x.name() == u"sheet" && !sheetFound) {
                const QXmlStreamAttributes at = x.attributes();
                if (at.value(QLatin1StringView("name")).compare(sheet, Qt::CaseInsensitive) == 0) {
                    sheetFound = true;
                    sheetRel = at.value(RelationshipsNs, QLatin1StringView("id")).toString();
                }
            }
        }
        checkXml(x, a, QStringLiteral("workbook.xml"));
    }
    if (!sheetFound) throw WorkbookError(QStringLiteral("工作簿中没有名为“%1”的工作表").arg(sheet));
    {
        QXmlStreamReader x(&a.open(QStringLiteral("xl/_rels/workbook.xml.rels")));
        while (!x.atEnd()) {
            x.readNext();
            if (!x.isStartElement() || x.name() != u"Relationship") continue;
            const QXmlStreamAttributes at = x.attributes();
            const QString target = partPath(at.value(QLatin1StringView("Target")).toString());
            const auto type = at.value(QLatin1StringView("Type"));
            if (at.value(QLatin1StringView("Id")) == sheetRel) wb.sheetPart = target;
            else if (type.endsWith(u"/sharedStrings")) wb.sharedStringsPart = target;
            else if (type.endsWith(u"/styles")) wb.stylesPart = target;
        }
        checkXml(x, a, QStringLiteral("workbook.xml.rels"));
    }
    if (wb.sheetPart.isEmpty()) throw WorkbookError(damaged(a.path(), sheet));
    return wb;
}

bool isDateFormatCode(const QString &code)
{
    // Letters inside quotes, after a backslash or in [...] (colours, conditions) are literals.
    bool quoted = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (quoted) {
            if (c == u'"') quoted = false;
            continue;
        }
        if (c == u'"') quoted = true;
        else if (c == u'\\' || c == u'_' || c == u'*') ++i;
        else if (c == u'[') {
            const qsizetype close = code.indexOf(u']', i);
            const QString inner = code.mid(i + 1, close - i - 1).toLower();
            if (inner == u"h" || inner == u"hh" || inner == u"m" || inner == u"mm" || inner == u"s" || inner == u"ss")
                return true;   // elapsed time
            if (close < 0) break;
            i = close;
        } else {
            const QChar l = c.toLower();
            if (l == u'y' || l == u'd' || l == u'h' || l == u's' || l == u'm') return true;
        }
    }
    return false;
}

bool isBuiltInDateFormat(int id)
{
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58);
}

// For each cell style (the s attribute of a cell): whether it shows its number as a date or time.
std::vector<bool> dateStyles(Archive &a, const QString &part)
{
    std::vector<bool> out;
    if (part.isEmpty() || !a.has(part)) return out;
    QHash<int, bool> customDate;
    bool inCellXfs = false;
    QXmlStreamReader x(&a.open(part));
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            if (x.name() == u"numFmt") {
                const QXmlStreamAttributes at = x.attributes();
                customDate.insert(at.value(QLatin1StringView("numFmtId")).toInt(),
                                  isDateFormatCode(at.value(QLatin1StringView("formatCode")).toString()));
            } else if (x.name() == u"cellXfs") {
                inCellXfs = true;
            } else if (inCellXfs && x.name() == u"xf") {
                const int id = x.attributes().value(QLatin1StringView("numFmtId")).toInt();
                out.push_back(customDate.contains(id) ? customDate.value(id) : isBuiltInDateFormat(id));
            }
        } else if (x.isEndElement() && x.name() == u"cellXfs") {
            inCellXfs = false;
        }
    }
    checkXml(x, a, part);
    return out;
}

QString serialDateText(double serial, bool date1904)
{
    if (!std::isfinite(serial) || serial < 0 || serial > 2958465) return numberText(serial);
    double days = std::floor(serial);
    qint64 secs = std::llround((serial - days) * 86400.0);
    if (secs >= 86400) {
        days += 1;
        secs -= 86400;
    }
    const QTime t = QTime(0, 0).addSecs(int(secs));
    if (days == 0 && !date1904) return t.toString(QStringLiteral("HH:mm:ss"));
    const QDate base = date1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30);
    const QString d = base.addDays(qint64(days)).toString(QStringLiteral("yyyy-MM-dd"));
    return secs == 0 ? d : d + u' ' + t.toString(QStringLiteral("HH:mm:ss"));
}

// The sheet part holds nearly all of a workbook's bytes. QXmlStreamReader needs microseconds a
// cell, which makes a sheet of 50,000 goods rows take seconds, so the sheet is scanned directly:
// tags, attributes, character data, entities, comments and CDATA; nothing else occurs there.
class SheetScanner {
public:
    enum Kind { Start, End, Eof };

    explicit SheetScanner(const QByteArray &xml) : p_(xml.constData()), end_(xml.constData() + xml.size()) {}

    // The next tag; character data before it is appended to text() when capture(true) is on.
    Kind next()
    {
        while (p_ < end_) {
            const char *lt = static_cast<const char *>(memchr(p_, '<', size_t(end_ - p_)));
            if (!lt) {
                addText(p_, end_);
                p_ = end_;
                return Eof;
            }
            addText(p_, lt);
            p_ = lt + 1;
            if (startsWith("!--")) {
                skipPast("-->");
            } else if (startsWith("![CDATA[")) {
                p_ += 8;
                const char *e = find("]]>");
                if (capturing_) text_.append(p_, e - p_);
                p_ = e + (e < end_ ? 3 : 0);
            } else if (startsWith("?") || startsWith("!")) {
                skipPast(">");
            } else {
                const bool closing = p_ < end_ && *p_ == '/';
                if (closing) ++p_;
                const char *nameStart = p_;
                while (p_ < end_ && !isSpace(*p_) && *p_ != '>' && *p_ != '/') ++p_;
                name_ = QByteArrayView(nameStart, p_ - nameStart);
                if (const qsizetype colon = name_.indexOf(':'); colon >= 0) name_ = name_.sliced(colon + 1);
                const char *attrStart = p_;
                char quote = 0;
                while (p_ < end_ && (quote || *p_ != '>')) {
                    if (quote) {
                        if (*p_ == quote) quote = 0;
                    } else if (*p_ == '"' || *p_ == '\'') {
                        quote = *p_;
                    }
                    ++p_;
                }
                if (p_ >= end_) throw WorkbookError(QStringLiteral("工作表内容不完整"));
                selfClosing_ = !closing && p_ > attrStart && p_[-1] == '/';
                attrs_ = QByteArrayView(attrStart, p_ - attrStart - (selfClosing_ ? 1 : 0));
                ++p_;
                return closing ? End : Start;
            }
        }
        return Eof;
    }

    QByteArrayView name() const { return name_; }
    bool selfClosing() const { return selfClosing_; }

    // The value of an attribute of the current start tag, entities left as they are (the ones
    // read here are references, numbers and type letters).
    QByteArrayView attribute(QByteArrayView key) const
    {
        qsizetype i = 0;
        while (i < attrs_.size()) {
            while (i < attrs_.size() && isSpace(attrs_[i])) ++i;
            const qsizetype k = i;
            while (i < attrs_.size() && attrs_[i] != '=' && !isSpace(attrs_[i])) ++i;
            QByteArrayView found = attrs_.sliced(k, i - k);
            if (const qsizetype colon = found.indexOf(':'); colon >= 0) found = found.sliced(colon + 1);
            while (i < attrs_.size() && attrs_[i] != '"' && attrs_[i] != '\'') ++i;
            if (i >= attrs_.size()) break;
            const char quote = attrs_[i++];
            const qsizetype v = i;
            while (i < attrs_.size() && attrs_[i] != quote) ++i;
            if (found == key) return attrs_.sliced(v, i - v);
            ++i;
        }
        return {};
    }

    void capture(bool on)
    {
        capturing_ = on;
        if (on) text_.clear();
    }
    // The captured character data with its entities resolved.
    QString text() const { return QString::fromUtf8(decodeEntities(text_)); }

private:
    static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    bool startsWith(const char *s) const
    {
        const size_t n = strlen(s);
        return size_t(end_ - p_) >= n && memcmp(p_, s, n) == 0;
    }
    const char *find(const char *s) const
    {
        const QByteArrayView rest(p_, end_ - p_);
        const qsizetype i = rest.indexOf(QByteArrayView(s));
        return i < 0 ? end_ : p_ + i;
    }
    void skipPast(const char *s)
    {
        const char *e = find(s);
        p_ = e < end_ ? e + strlen(s) : end_;
    }
    void addText(const char *from, const char *to)
    {
        if (capturing_ && to > from) text_.append(from, to - from);
    }

    static QByteArray decodeEntities(const QByteArray &raw)
    {
        if (!raw.contains('&')) return raw;
        QByteArray out;
        out.reserve(raw.size());
        for (qsizetype i = 0; i < raw.size(); ++i) {
            const qsizetype semi = raw[i] == '&' ? raw.indexOf(';', i) : -1;
            if (semi < 0 || semi - i > 10) {
                out += raw[i];
                continue;
            }
            const QByteArrayView ent(raw.constData() + i + 1, semi - i - 1);
            if (ent == "lt") out += '<';
            else if (ent == "gt") out += '>';
            else if (ent == "amp") out += '&';
            else if (ent == "quot") out += '"';
            else if (ent == "apos") out += '\'';
            else if (ent.startsWith('#')) {
                bool ok = false;
                const uint code = ent.startsWith("#x") ? ent.sliced(2).toByteArray().toUInt(&ok, 16) : ent.sliced(1).toByteArray().toUInt(&ok);
                if (!ok || code > 0x10FFFF) {
                    out += raw[i];
                    continue;
                }
                const char32_t c = code;
                out += QString::fromUcs4(&c, 1).toUtf8();
            } else {
                out += raw[i];
                continue;
            }
            i = semi;
        }
        return out;
    }

    const char *p_;
    const char *end_;
    QByteArrayView name_;
    QByteArrayView attrs_;
    bool selfClosing_ = false;
    bool capturing_ = false;
    QByteArray text_;
};

// Column index (0 = A) of a cell reference such as "AB12"; -1 when it has no letters.
int columnOf(QByteArrayView ref)
{
    int col = 0;
    qsizetype i = 0;
    for (; i < ref.size(); ++i) {
        const char c = ref[i];
        if (c >= 'A' && c <= 'Z') col = col * 26 + (c - 'A' + 1);
        else if (c >= 'a' && c <= 'z') col = col * 26 + (c - 'a' + 1);
        else break;
        if (col > 16384) return 16384;   // beyond the widest sheet a spreadsheet program makes
    }
    return i == 0 ? -1 : col - 1;
}

int toInt(QByteArrayView v) { return v.toByteArray().toInt(); }

} // namespace

// The shared strings: the text of each <si>, its <t> or the <t> of each run; phonetic guides
// (<rPh>) are not part of the text.
QStringList sharedStrings(Archive &a, const QString &part)
{
    QStringList out;
    if (part.isEmpty() || !a.has(part)) return out;
    const QByteArray xml = a.readAll(part);
    SheetScanner x(xml);
    QString text;
    bool inSi = false;
    bool inText = false;
    int skipping = 0;
    for (SheetScanner::Kind k = x.next(); k != SheetScanner::Eof; k = x.next()) {
        const QByteArrayView name = x.name();
        if (k == SheetScanner::Start) {
            if (skipping) {
                if (!x.selfClosing()) ++skipping;
            } else if (name == "sst") {
                const int n = toInt(x.attribute("uniqueCount"));
                if (n > 0 && n < 10'000'000) out.reserve(n);
            } else if (name == "si") {
                text.clear();
                inSi = !x.selfClosing();
                if (!inSi) out << QString();
            } else if (inSi && name == "rPh") {
                if (!x.selfClosing()) skipping = 1;
            } else if (inSi && name == "t" && !x.selfClosing()) {
                x.capture(true);
                inText = true;
            }
        } else if (skipping) {
            --skipping;
        } else if (inText && name == "t") {
            text += x.text();
            x.capture(false);
            inText = false;
        } else if (inSi && name == "si") {
            out << unescapeOoxml(text);
            inSi = false;
        }
    }
    return out;
}

void readXlsx(const QString &path, const QString &sheet, const RowHandler &onRow)
{
    Archive a(path);
    const Workbook wb = locate(a, sheet);
    const QStringList strings = sharedStrings(a, wb.sharedStringsPart);
    const std::vector<bool> dates = dateStyles(a, wb.stylesPart);
    const QByteArray xml = a.readAll(wb.sheetPart);

    SheetScanner x(xml);
    QStringList cells;
    int rowNumber = 0;
    int nextCol = 0;
    bool inRow = false;
    // The cell being read.
    int col = -1;
    QByteArray type;
    int style = 0;
    QString value;
    bool hasValue = false;
    int inIs = 0;      // inside <is> (an inline string)
    int skipping = 0;  // inside <rPh> or <f>, whose text is not the value
    bool inText = false;

    for (SheetScanner::Kind k = x.next(); k != SheetScanner::Eof; k = x.next()) {
        const QByteArrayView name = x.name();
        if (k == SheetScanner::Start) {
            if (skipping) {
                if (!x.selfClosing()) ++skipping;
            } else if (name == "row") {
                const int r = toInt(x.attribute("r"));
                rowNumber = r > 0 ? r : rowNumber + 1;
                cells.clear();
                nextCol = 0;
                inRow = !x.selfClosing();
            } else if (name == "c" && inRow) {
                const int refCol = columnOf(x.attribute("r"));
                col = refCol >= 0 ? refCol : nextCol;
                nextCol = col + 1;
                type = x.attribute("t").toByteArray();
                style = toInt(x.attribute("s"));
                value.clear();
                hasValue = false;
                inIs = 0;
                if (x.selfClosing()) col = -1;
            } else if (col >= 0 && name == "v") {
                if (!x.selfClosing()) {
                    x.capture(true);
                    inText = true;
                }
            } else if (col >= 0 && name == "is") {
                inIs = 1;
                hasValue = true;
            } else if (col >= 0 && inIs && name == "t") {
                if (!x.selfClosing()) {
                    x.capture(true);
                    inText = true;
                }
            } else if (col >= 0 && (name == "rPh" || name == "f")) {
                if (!x.selfClosing()) skipping = 1;
            }
            continue;
        }
        // End tags.
        if (skipping) {
            --skipping;
            continue;
        }
        if (inText && (name == "v" || name == "t")) {
            value += x.text();
            x.capture(false);
            inText = false;
            hasValue = true;
        } else if (name == "is") {
            inIs = 0;
        } else if (name == "c" && col >= 0) {
            if (hasValue && col < 16384) {
                QString text;
                if (type == "s") {
                    bool ok = false;
                    const int i = value.toInt(&ok);
                    if (!ok || i < 0 || i >= strings.size()) throw WorkbookError(damaged(path, QStringLiteral("共享字符串")));
                    text = strings[i];
                } else if (type == "inlineStr" || type == "str" || type == "e") {
                    text = unescapeOoxml(value);
                } else if (type == "b") {
                    text = value.trimmed() == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
                } else if (type == "d") {
                    text = value.left(10);
                } else {
                    bool ok = false;
                    const double v = value.toDouble(&ok);
                    if (!ok) text = value;
                    else if (style >= 0 && size_t(style) < dates.size() && dates[size_t(style)]) text = serialDateText(v, wb.date1904);
                    else text = numberText(v);
                }
                if (!text.isEmpty()) {
                    while (cells.size() < col) cells << QString();
                    if (cells.size() == col) cells << text;
                    else cells[col] = text;
                }
            }
            col = -1;
        } else if (name == "row" && inRow) {
            inRow = false;
            if (!cells.isEmpty()) onRow(rowNumber, cells);
        }
    }
}

} // namespace workbook
