#include "print/ui/print_fonts.h"

#include <QPaintDevice>
#include <QStringList>

QFont printQFont(const PrintFont &font, double pxPerMm, const QPaintDevice &device)
{
    QFont f(font.family);
    f.setBold(font.bold);
    // Shaping swaps in glyphs (digits after Latin letters) that Qt's PDF writer cannot name,
    // so "XS20240305001" would vanish from the text of a saved PDF.
    f.setStyleStrategy(QFont::PreferNoShaping);
    // The size follows the page, not the device: points are relative to the device's dpi.
    const double devicePixels = font.heightMm() * pxPerMm;
    const int dpi = device.logicalDpiY() > 0 ? device.logicalDpiY() : 96;
    f.setPointSizeF(std::max(0.5, devicePixels * 72.0 / dpi));
    return f;
}
