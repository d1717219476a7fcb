#include "print/ui/print_preview.h"

#include "app/ui/chinese_fonts.h"

#include "print/print_layouts.h"
#include "print/ui/print_fonts.h"
#include "print/ui/tfdypreview1.h"

#include <QtGlobal>

bool previewReport(const QString &layoutName, const ReportData &data, QWidget *parent)
{
    const PrintLayout *layout = PrintLayouts::find(layoutName);
    if (!layout) {
        qWarning("no print layout %s", qPrintable(layoutName));
        return false;
    }
    return previewReport(*layout, data, parent);
}

bool previewReport(const PrintLayout &layout, const ReportData &data, QWidget *parent)
{
    installChineseFonts();
    TFdyPreview1 preview(layout, data, parent);
    preview.exec();
    return true;
}
