// The Chinese fonts the layouts name, mapped to the fonts installed here.
#pragma once

#include "print/print_layout.h"

#include <QFont>

class QPaintDevice;

// Maps "SimSun"/"宋体", "SimHei"/"黑体" and "KaiTi"/"楷体" to Noto CJK and AR PL fonts, which
// fontconfig does not do by itself. The program calls it once at start; later calls do nothing.
void installPrintFonts();

// The font for a layout font drawn at `pxPerMm` device pixels per millimetre on `device`.
QFont printQFont(const PrintFont &font, double pxPerMm, const QPaintDevice &device);
