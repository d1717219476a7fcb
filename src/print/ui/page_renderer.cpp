#include "print/ui/page_renderer.h"

#include "app/ui/chinese_fonts.h"

#include "print/ui/print_fonts.h"

#include <QFile>
#include <QHash>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QPrinter>
#include <QRawFont>
#include <QRegularExpression>

#include <cmath>
#include <functional>

namespace PageRenderer {

namespace {

Qt::Alignment qtAlign(PrintAlign a)
{
    switch (a) {
    case PrintAlign::Center: return Qt::AlignHCenter;
    case PrintAlign::Right: return Qt::AlignRight;
    case PrintAlign::Left: break;
    }
    return Qt::AlignLeft;
}

QPageSize pageSize(const PageSetup &s)
{
    if (qFuzzyCompare(s.paperWidthMm, 210.0) && qFuzzyCompare(s.paperHeightMm, 297.0))
        return QPageSize(QPageSize::A4);
    return QPageSize(QSizeF(s.paperWidthMm, s.paperHeightMm), QPageSize::Millimeter,
                     QStringLiteral("%1 × %2 mm").arg(s.paperWidthMm).arg(s.paperHeightMm),
                     QPageSize::ExactMatch);
}

void paintAll(QPainter &painter, const PrintedReport &report, double pxPerMm,
              const std::function<bool()> &newPage)
{
    for (int i = 0; i < report.pages.size(); ++i) {
        if (i > 0 && !newPage()) return;
        paint(painter, report.pages[i], pxPerMm);
    }
}


// The CJK fonts draw a radical and the ideograph it looks like with one glyph. Qt's PDF
// writer names each glyph by the lowest code point that draws it, so "日期" or "金额" read
// back as Kangxi radicals and a saved PDF cannot be searched or copied. The code points of
// the ideographs, taken from the fonts themselves, put the right characters back.
const QHash<ushort, ushort> &radicalIdeographs()
{
    static const QHash<ushort, ushort> table = [] {
        QHash<ushort, ushort> t;
        QString radicals;
        for (ushort r = 0x2E80; r <= 0x2FDF; ++r) radicals += QChar(r);
        for (ushort r = 0x31C0; r <= 0x31EF; ++r) radicals += QChar(r);
        QString ideographs;
        for (ushort u = 0x4E00; u <= 0x9FFF; ++u) ideographs += QChar(u);
        for (const char *family : {"Noto Serif CJK SC", "Noto Sans CJK SC", "AR PL UMing CN", "WenQuanYi Micro Hei"}) {
            const QRawFont font = QRawFont::fromFont(QFont(QString::fromLatin1(family)));
            if (!font.isValid()) continue;
            QHash<quint32, ushort> byGlyph;
            const QList<quint32> ig = font.glyphIndexesForString(ideographs);
            for (int i = 0; i < ig.size() && i < ideographs.size(); ++i)
                if (ig[i] && !byGlyph.contains(ig[i])) byGlyph.insert(ig[i], ideographs[i].unicode());
            const QList<quint32> rg = font.glyphIndexesForString(radicals);
            for (int i = 0; i < rg.size() && i < radicals.size(); ++i) {
                const ushort r = radicals[i].unicode();
                if (rg[i] && byGlyph.contains(rg[i]) && !t.contains(r)) t.insert(r, byGlyph.value(rg[i]));
            }
        }
        // Kangxi radicals a font draws apart still have their ideograph by compatibility.
        for (ushort r = 0x2F00; r <= 0x2FD5; ++r) {
            const QString n = QString(QChar(r)).normalized(QString::NormalizationForm_KC);
            if (!t.contains(r) && n.size() == 1 && n[0].unicode() >= 0x4E00) t.insert(r, n[0].unicode());
        }
        return t;
    }();
    return table;
}

// Rewrites the ToUnicode maps of a PDF written by Qt in place. Each code point keeps its four
// hex digits, so no byte offset in the file moves.
bool fixToUnicodeMaps(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite)) return false;
    QByteArray pdf = f.readAll();
    const QHash<ushort, ushort> &table = radicalIdeographs();
    bool changed = false;
    auto fixToken = [&](char *hex) {
        bool ok = false;
        const ushort code = QByteArray(hex, 4).toUShort(&ok, 16);
        if (!ok || !table.contains(code)) return;
        const QByteArray to = QByteArray::number(table.value(code), 16).toUpper().rightJustified(4, '0');
        memcpy(hex, to.constData(), 4);
        changed = true;
    };
    for (qsizetype at = pdf.indexOf("begincmap"); at >= 0; at = pdf.indexOf("begincmap", at)) {
        const qsizetype end = pdf.indexOf("endcmap", at);
        if (end < 0) break;
        // Lines "<from> <to> [<code> ...]" map glyph by glyph; "<g> <g> <code>" maps one glyph.
        for (qsizetype line = pdf.indexOf('\n', at) + 1; line > 0 && line < end;) {
            qsizetype eol = pdf.indexOf('\n', line);
            if (eol < 0 || eol > end) eol = end;
            char *s = pdf.data() + line;
            const qsizetype len = eol - line;
            if (len > 16 && s[0] == '<' && s[5] == '>' && s[7] == '<' && s[12] == '>') {
                if (s[14] == '[') {
                    for (qsizetype i = 15; i + 5 < len; ++i)
                        if (s[i] == '<' && s[i + 5] == '>') fixToken(s + i + 1);
                } else if (len >= 19 && s[14] == '<' && s[19] == '>' && memcmp(s + 1, s + 8, 4) == 0) {
                    fixToken(s + 15);
                }
            }
            line = eol + 1;
        }
        at = end;
    }
    if (!changed) return true;
    return f.seek(0) && f.write(pdf) == pdf.size();
}

} // namespace

void paint(QPainter &painter, const PrintedPage &page, double pxPerMm, QPointF origin)
{
    installChineseFonts();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    QPen pen(Qt::black);
    // Whole device pixels: a rule of 1.06 px would come out one or two pixels wide at random.
    pen.setWidth(std::max(1, int(std::lround(Paginator::RuleWidthMm * pxPerMm))));
    painter.setPen(pen);
    for (const QLineF &l : page.rules)
        painter.drawLine(QLineF(origin + l.p1() * pxPerMm, origin + l.p2() * pxPerMm));

    const QPaintDevice &device = *painter.device();
    for (const PageText &t : page.texts) {
        const QRectF r(origin + t.rect.topLeft() * pxPerMm, t.rect.size() * pxPerMm);
        painter.setFont(printQFont(t.font, pxPerMm, device));
        // Without TextDontClip the painter clips to the rectangle: a long name never runs
        // into the next column.
        painter.drawText(r, int(qtAlign(t.align) | Qt::AlignVCenter | Qt::TextSingleLine), t.text);
    }
    painter.restore();
}

QPageLayout pageLayout(const PageSetup &setup)
{
    return QPageLayout(pageSize(setup), setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

bool print(QPrinter &printer, const PrintedReport &report)
{
    printer.setFullPage(true);
    printer.setPageLayout(pageLayout(report.page));
    printer.setDocName(report.title);
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const double pxPerMm = printer.resolution() / 25.4;
    paintAll(painter, report, pxPerMm, [&] { return printer.newPage(); });
    return painter.end();
}

bool writePdf(const QString &path, const PrintedReport &report, QString *error)
{
    {
        // QPdfWriter says nothing about a file it cannot create; find out first.
        QFile probe(path);
        if (!probe.open(QIODevice::WriteOnly)) {
            if (error) *error = probe.errorString();
            return false;
        }
    }
    {
        QPdfWriter writer(path);
        writer.setResolution(300);
        writer.setTitle(report.title);
        writer.setCreator(QStringLiteral("Marvoda"));
        writer.setPageLayout(pageLayout(report.page));
        QPainter painter;
        if (!painter.begin(&writer)) {
            if (error) *error = QStringLiteral("PDF writer failed to start");
            return false;
        }
        paintAll(painter, report, writer.resolution() / 25.4, [&] { return writer.newPage(); });
        if (!painter.end()) {
            if (error) *error = QStringLiteral("PDF writer failed to finish");
            return false;
        }
    }   // the writer closes the file here
    if (!fixToUnicodeMaps(path)) {
        if (error) *error = QStringLiteral("PDF text map could not be rewritten");
        return false;
    }
    return true;
}

} // namespace PageRenderer
