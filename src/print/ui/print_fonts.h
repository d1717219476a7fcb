// The fonts a layout names, as QFonts for a device.
#pragma once

#include "print/print_layout.h"

#include <QFont>

class QPaintDevice;

// The font for a layout font drawn at `pxPerMm` device pixels per millimetre on `device`.
QFont printQFont(const PrintFont &font, double pxPerMm, const QPaintDevice &device);
