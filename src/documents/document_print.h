// What a printed document shows: its lines and the texts of its layout, built from the header
// and lines the window or viewer shows. Printing saves nothing.
#pragma once

#include "documents/document.h"
#include "print/report_data.h"

#include <QString>

namespace DocumentPrint {

// The layout for "带编码打印" (with codes) or "不带编码打印".
QString layoutName(const DocumentKind &kind, bool withCodes);

// Title = the company's print heading + the kind's print name; the capitals of the total
// ("(大写)…", "(退)" for a refund); for sales also discount, amount received and what is
// still owed in capitals. `printedBy` is the logged-in operator.
ReportData reportData(const DocumentKind &kind, const QString &companyHeading, const DocumentHeader &header,
                      const QList<DocumentLine> &lines, const QString &printedBy, const QString &bz3 = QString(),
                      const QString &bz4 = QString());

// "(大写)" + the capitals of |amount|, with `negativeMark` when it is below zero.
QString capitalsText(Decimal amount, const QString &negativeMark = QStringLiteral("(退)"));

} // namespace DocumentPrint
