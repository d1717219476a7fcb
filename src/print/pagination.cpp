#include "print/pagination.h"

namespace {
constexpr double Epsilon = 1e-6;
}

Paginator::Paginator(const PrintLayout &layout, const ReportData &data)
    : layout_(layout), data_(data)
{
    report_.title = data.title;
    report_.page = layout.page;
    const QDate d = data.printDate.isValid() ? data.printDate : QDate::currentDate();
    printDate_ = d.toString(QStringLiteral("yyyy-MM-dd"));
    // Without a detail band there is nothing to print the rows with.
    if (layout_.detail.isEmpty()) next_ = rowCount();
}

QString Paginator::boundField(int column) const
{
    if (column < data_.fields.size() && !data_.fields[column].isEmpty()) return data_.fields[column];
    return column >= 0 && column < layout_.columns.size() ? layout_.columns[column].field : QString();
}

QString Paginator::valueOf(const PrintItem &item, const ReportRow *row) const
{
    using S = PrintItem::Source;
    switch (item.source) {
    case S::Fixed: return {};
    case S::Title: return data_.title;
    case S::Text: return data_.texts.value(item.key);
    case S::Caption:
        if (item.column < 0 || item.column >= layout_.columns.size()) return {};
        return data_.captions.value(item.column, layout_.columns[item.column].caption);
    case S::Field: return row ? row->value(boundField(item.column)) : QString();
    case S::Total: return data_.totals.value(boundField(item.column));
    case S::PageNumber: return QString::number(current_.number);
    case S::PrintDate: return printDate_;
    }
    return {};
}

double Paginator::bottomLimit() const
{
    return layout_.page.printableBottomMm() - layout_.pageFooter.heightMm;
}

void Paginator::place(const PrintBand &band, const ReportRow *row)
{
    if (band.isEmpty()) return;
    const double left = layout_.page.leftMm;
    const double top = y_;
    const double h = band.heightMm;
    const int ncols = int(layout_.columns.size());

    for (const auto &item : band.items) {
        QString text = item.text + valueOf(item, row);
        if (text.isEmpty()) continue;
        QRectF r;
        if (item.column >= 0 && item.column < ncols) {
            const int last = std::min(ncols, item.column + std::max(1, item.span));
            const double x = left + layout_.columnLeftMm(item.column);
            const double w = layout_.columnLeftMm(last) - layout_.columnLeftMm(item.column);
            r = QRectF(x + CellPaddingMm, top, std::max(0.0, w - 2 * CellPaddingMm), h);
        } else {
            r = item.rect.translated(left, top);
        }
        current_.texts.append({r, std::move(text), item.align, item.font});
    }

    const double width = ncols ? layout_.columnsWidthMm() : layout_.page.printableWidthMm();
    if (band.ruleAbove) current_.rules.append(QLineF(left, top, left + width, top));
    if (band.ruleBelow) current_.rules.append(QLineF(left, top + h, left + width, top + h));
    if (band.columnRules) {
        for (int b = 0; b <= ncols; ++b) {
            bool inside = false;
            for (const auto &item : band.items)
                if (item.column >= 0 && item.column < b && b < item.column + item.span) inside = true;
            if (inside) continue;
            const double x = left + layout_.columnLeftMm(b);
            current_.rules.append(QLineF(x, top, x, top + h));
        }
    }
    y_ += h;
}

void Paginator::startPage()
{
    current_ = PrintedPage();
    current_.number = int(report_.pages.size()) + 1;
    y_ = layout_.page.topMm;
    rowsOnPage_ = 0;
    place(layout_.pageHeader, nullptr);
    if (current_.number == 1) place(layout_.title, nullptr);
    place(layout_.columnHeader, nullptr);
    pageOpen_ = true;
}

void Paginator::finishPage()
{
    if (!layout_.pageFooter.isEmpty()) {
        y_ = bottomLimit();
        place(layout_.pageFooter, nullptr);
    }
    report_.pages.append(std::move(current_));
    current_ = PrintedPage();
    pageOpen_ = false;
}

bool Paginator::step(int maxRows)
{
    if (done_) return true;
    if (!pageOpen_) startPage();

    const double rowH = layout_.detail.heightMm;
    for (int n = 0; next_ < rowCount() && n < maxRows; ++n, ++next_) {
        // A page that holds nothing but its headers takes the row anyway, so a layout whose
        // headers leave no room still ends.
        if (rowsOnPage_ > 0 && y_ + rowH > bottomLimit() + Epsilon) {
            finishPage();
            startPage();
        }
        place(layout_.detail, &data_.rows[next_]);
        ++rowsOnPage_;
    }
    if (next_ < rowCount()) return false;

    const double sumH = layout_.summaryHeightMm();
    if (sumH > 0) {
        if (rowsOnPage_ > 0 && y_ + sumH > bottomLimit() + Epsilon) {
            finishPage();
            startPage();
        }
        for (const auto &band : layout_.summary) place(band, nullptr);
    }
    finishPage();
    done_ = true;
    return true;
}

PrintedReport paginate(const PrintLayout &layout, const ReportData &data)
{
    Paginator p(layout, data);
    while (!p.step(1 << 20)) {}
    return p.report();
}
