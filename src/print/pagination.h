// Turns a layout and its data into pages of positioned texts and rules, in millimetres from
// the paper's top-left corner. Row heights come from the layout, so no font is measured here;
// the renderer clips every text to its rectangle.
#pragma once

#include "print/print_layout.h"
#include "print/report_data.h"

#include <QLineF>
#include <QList>
#include <QRectF>
#include <QString>

struct PageText {
    QRectF rect;   // mm
    QString text;
    PrintAlign align = PrintAlign::Left;
    PrintFont font;
};

struct PrintedPage {
    int number = 0;            // from 1
    QList<PageText> texts;
    QList<QLineF> rules;       // mm
};

struct PrintedReport {
    QString title;
    PageSetup page;
    QList<PrintedPage> pages;
};

// Builds the pages step by step, so a preview can show the first pages and a progress while
// a long list is still being laid out.
class Paginator {
public:
    Paginator(const PrintLayout &layout, const ReportData &data);

    // Lays out up to maxRows further rows (the summary and the last page after the last row).
    // Returns true once every page is finished.
    bool step(int maxRows);
    bool done() const { return done_; }
    int rowsDone() const { return next_; }
    int rowCount() const { return int(data_.rows.size()); }

    // The pages finished so far; the one being filled is not among them until it is full.
    const QList<PrintedPage> &pages() const { return report_.pages; }
    const PrintedReport &report() const { return report_; }

    static constexpr double CellPaddingMm = 1.0;
    static constexpr double RuleWidthMm = 0.2;

private:
    void startPage();
    void finishPage();
    void place(const PrintBand &band, const ReportRow *row);
    QString valueOf(const PrintItem &item, const ReportRow *row) const;
    QString boundField(int column) const;
    double bottomLimit() const;

    PrintLayout layout_;
    ReportData data_;
    PrintedReport report_;
    PrintedPage current_;
    bool pageOpen_ = false;
    bool done_ = false;
    int next_ = 0;
    double y_ = 0;
    int rowsOnPage_ = 0;
    QString printDate_;
};

PrintedReport paginate(const PrintLayout &layout, const ReportData &data);
