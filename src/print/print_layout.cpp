#include "print/print_layout.h"

double PrintLayout::columnsWidthMm() const
{
    double w = 0;
    for (const auto &c : columns) w += c.widthMm;
    return w;
}

double PrintLayout::columnLeftMm(int column) const
{
    double x = 0;
    for (int i = 0; i < column && i < columns.size(); ++i) x += columns[i].widthMm;
    return x;
}

int PrintLayout::columnOf(const QString &caption) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].caption == caption) return i;
    return -1;
}

double PrintLayout::summaryHeightMm() const
{
    double h = 0;
    for (const auto &b : summary) h += b.heightMm;
    return h;
}
