// A fixed print layout: page setup, columns and the bands that pagination places on each page.
// Everything is in millimetres and described without any painting type, so pages can be laid
// out and checked without a printer or a window.
#pragma once

#include <QList>
#include <QRectF>
#include <QString>

enum class PrintAlign { Left, Center, Right };

// A font as the layouts name it; the renderer maps the family to an installed font.
// Sizes are in screen pixels at 96 per inch, the unit the layouts were drawn in.
struct PrintFont {
    QString family;
    double pixels = 13;
    bool bold = false;

    static PrintFont title() { return {QStringLiteral("SimHei"), 19, true}; }
    static PrintFont text() { return {QStringLiteral("SimSun"), 13, false}; }
    static PrintFont pageNumber() { return {QStringLiteral("SimSun"), 12, false}; }

    double heightMm() const { return pixels * 25.4 / 96.0; }
    friend bool operator==(const PrintFont &, const PrintFont &) = default;
};

struct PageSetup {
    double paperWidthMm = 210;    // as the paper is named, portrait sense
    double paperHeightMm = 297;
    bool landscape = false;
    double leftMm = 10, rightMm = 10, topMm = 10, bottomMm = 10;

    static PageSetup a4(bool landscape = false) { return {210, 297, landscape, 10, 10, 10, 10}; }
    // Continuous forms of the documents: 241 mm wide, 93 mm per form.
    static PageSetup continuousForm() { return {241, 93, false, 10, 40, 0, 10}; }

    double pageWidthMm() const { return landscape ? paperHeightMm : paperWidthMm; }
    double pageHeightMm() const { return landscape ? paperWidthMm : paperHeightMm; }
    double printableWidthMm() const { return pageWidthMm() - leftMm - rightMm; }
    double printableBottomMm() const { return pageHeightMm() - bottomMm; }
};

struct PrintColumn {
    QString caption;
    QString field;           // the row field shown unless the printing window binds another
    PrintAlign align = PrintAlign::Left;
    double widthMm = 20;
};

// One text placed on a band. Its printed text is `text` followed by the value of its source.
struct PrintItem {
    enum class Source {
        Fixed,        // `text` alone
        Title,        // the report title the window sets
        Text,         // a named text the window sets (ReportData::texts[key])
        Caption,      // the caption of `column`, as the window may have replaced it
        Field,        // the row's value of the field bound to `column`
        Total,        // the total text of the field bound to `column`
        PageNumber,   // the page's number
        PrintDate,    // the date of printing, "yyyy-mm-dd"
    };
    Source source = Source::Fixed;
    QString text;
    QString key;
    QRectF rect;              // mm, from the band's top left at the left margin; unused with column
    int column = -1;          // >= 0: the item fills the cell of this column (and `span` - 1 more)
    int span = 1;
    PrintAlign align = PrintAlign::Left;
    PrintFont font = PrintFont::text();
};

struct PrintBand {
    double heightMm = 0;
    QList<PrintItem> items;
    bool ruleAbove = false;
    bool ruleBelow = false;
    bool columnRules = false;   // vertical rules on the column bounds, except inside a spanned item

    bool isEmpty() const { return heightMm <= 0; }
};

struct PrintLayout {
    enum class Kind { List, Document, CombinedStatistics };

    QString name;
    Kind kind = Kind::List;
    PageSetup page;
    QList<PrintColumn> columns;

    PrintBand pageHeader;           // top of every page
    PrintBand title;                // once, top of the first page
    PrintBand columnHeader;         // every page, below the page header
    PrintBand detail;               // once per row
    QList<PrintBand> summary;       // once after the last row, kept together on one page
    PrintBand pageFooter;           // bottom of every page

    double columnsWidthMm() const;
    double columnLeftMm(int column) const;   // from the left margin
    int columnOf(const QString &caption) const;   // -1 when no column has that caption
    double summaryHeightMm() const;
};
