// The one call a window makes to print: lay out the pages and show them in the preview.
#pragma once

#include "print/print_layout.h"
#include "print/report_data.h"

#include <QString>

class QWidget;

// Shows the modal preview "打印预览" of the layout of that name filled with `data`; returns
// when the operator closes it. An unknown layout name shows nothing and returns false.
bool previewReport(const QString &layoutName, const ReportData &data, QWidget *parent = nullptr);
bool previewReport(const PrintLayout &layout, const ReportData &data, QWidget *parent = nullptr);
