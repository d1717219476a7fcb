// Office Open XML workbooks (.xlsx): a zip of XML parts, read with libzip and QXmlStreamReader.
// (Not QuaZip: it exports minizip's own function names, which then take the place of the
// minizip that libxlsxwriter's grid export calls, and the export crashes.)
#include "master/workbook_reader.h"

#include <zip.h>

#include <QFile>
#include <QIODevice>

#include <QDate>
#include <QDir>
#include <QHash>
#include <QTime>
#include <QXmlStreamReader>

#include <cmath>
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

// The text of a <si> or <is> element: its <t>, or the <t> of each run; phonetic guides (<rPh>)
// are not part of the text.
QString richText(QXmlStreamReader &x)
{
    const QString end = x.name().toString();
    QString text;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            if (x.name() == u"t") text += x.readElementText();
            else if (x.name() == u"rPh") x.skipCurrentElement();
        } else if (x.isEndElement() && x.name() == end) {
            break;
        }
    }
    return unescapeOoxml(text);
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

QStringList sharedStrings(Archive &a, const QString &part)
{
    QStringList out;
    if (part.isEmpty() || !a.has(part)) return out;
    QXmlStreamReader x(&a.open(part));
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            if (x.name() == u"sst") {
                const int n = x.attributes().value(QLatin1StringView("uniqueCount")).toInt();
                if (n > 0 && n < 10'000'000) out.reserve(n);
            } else if (x.name() == u"si") {
                out << richText(x);
            }
        }
    }
    checkXml(x, a, part);
    return out;
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

// Column index (0 = A) of a cell reference such as "AB12"; -1 when it has no letters.
int columnOf(QStringView ref)
{
    int col = 0;
    qsizetype i = 0;
    for (; i < ref.size(); ++i) {
        const QChar c = ref[i];
        if (c >= u'A' && c <= u'Z') col = col * 26 + (c.unicode() - u'A' + 1);
        else if (c >= u'a' && c <= u'z') col = col * 26 + (c.unicode() - u'a' + 1);
        else break;
        if (col > 16384) return 16384;   // beyond the widest sheet a spreadsheet program makes
    }
    return i == 0 ? -1 : col - 1;
}

} // namespace

void readXlsx(const QString &path, const QString &sheet, const RowHandler &onRow)
{
    Archive a(path);
    const Workbook wb = locate(a, sheet);
    const QStringList strings = sharedStrings(a, wb.sharedStringsPart);
    const std::vector<bool> dates = dateStyles(a, wb.stylesPart);

    QXmlStreamReader x(&a.open(wb.sheetPart));
    QStringList cells;
    int rowNumber = 0;
    int nextCol = 0;
    bool inRow = false;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            const QStringView name = x.name();
            if (name == u"row") {
                const int r = x.attributes().value(QLatin1StringView("r")).toInt();
                rowNumber = r > 0 ? r : rowNumber + 1;
                cells.clear();
                nextCol = 0;
                inRow = true;
            } else if (name == u"c" && inRow) {
                const QXmlStreamAttributes at = x.attributes();
                const int refCol = columnOf(at.value(QLatin1StringView("r")));
                const int col = refCol >= 0 ? refCol : nextCol;
                nextCol = col + 1;
                const QString type = at.value(QLatin1StringView("t")).toString();
                const int style = at.value(QLatin1StringView("s")).toInt();
                QString raw;
                bool hasValue = false;
                while (!x.atEnd()) {
                    x.readNext();
                    if (x.isStartElement()) {
                        if (x.name() == u"v") {
                            raw = x.readElementText();
                            hasValue = true;
                        } else if (x.name() == u"is") {
                            raw = richText(x);
                            hasValue = true;
                        } else {
                            x.skipCurrentElement();   // the formula: its stored result is in <v>
                        }
                    } else if (x.isEndElement() && x.name() == u"c") {
                        break;
                    }
                }
                if (!hasValue || col >= 16384) continue;
                QString text;
                if (type == u"s") {
                    bool ok = false;
                    const int i = raw.toInt(&ok);
                    if (!ok || i < 0 || i >= strings.size()) throw WorkbookError(damaged(path, QStringLiteral("共享字符串")));
                    text = strings[i];
                } else if (type == u"inlineStr") {
                    text = raw;
                } else if (type == u"str" || type == u"e") {
                    text = unescapeOoxml(raw);
                } else if (type == u"b") {
                    text = raw.trimmed() == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
                } else if (type == u"d") {
                    text = raw.left(10);
                } else {
                    bool ok = false;
                    const double v = raw.toDouble(&ok);
                    if (!ok) text = raw;
                    else if (style >= 0 && size_t(style) < dates.size() && dates[size_t(style)]) text = serialDateText(v, wb.date1904);
                    else text = numberText(v);
                }
                if (text.isEmpty()) continue;
                while (cells.size() < col) cells << QString();
                if (cells.size() == col) cells << text;
                else cells[col] = text;
            }
        } else if (x.isEndElement() && x.name() == u"row") {
            inRow = false;
            if (!cells.isEmpty()) onRow(rowNumber, cells);
        }
    }
    checkXml(x, a, wb.sheetPart);
}

} // namespace workbook
