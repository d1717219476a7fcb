#include "print/ui/print_fonts.h"

#include <QPaintDevice>
#include <QStringList>

void installPrintFonts()
{
    static bool installed = false;
    if (installed) return;
    installed = true;
    const QStringList song = {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN")};
    const QStringList hei = {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")};
    const QStringList kai = {QStringLiteral("AR PL UKai CN")};
    QFont::insertSubstitutions(QStringLiteral("SimSun"), song);
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("SimHei"), hei);
    QFont::insertSubstitutions(QStringLiteral("黑体"), hei);
    QFont::insertSubstitutions(QStringLiteral("KaiTi"), kai);
    QFont::insertSubstitutions(QStringLiteral("楷体"), kai);
}

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
