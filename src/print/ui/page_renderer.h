// Draws laid-out pages with QPainter: onto the preview, a printer or a PDF file.
#pragma once

#include "print/pagination.h"

#include <QPageLayout>
#include <QPointF>
#include <QString>

class QPainter;
class QPrinter;

namespace PageRenderer {

// Paints one page with its top-left paper corner at `origin` (device pixels),
// at `pxPerMm` device pixels per millimetre. Every text is clipped to its rectangle.
void paint(QPainter &painter, const PrintedPage &page, double pxPerMm, QPointF origin = {});

// The paper of a page setup, without margins (the pages carry their own).
QPageLayout pageLayout(const PageSetup &setup);

// Sends every page to the printer; false when the printer could not be started.
bool print(QPrinter &printer, const PrintedReport &report);

// Writes every page to a PDF file; false (and the reason in *error) when it cannot be written.
bool writePdf(const QString &path, const PrintedReport &report, QString *error = nullptr);

} // namespace PageRenderer
