// The system's fixed print layouts, created once at start-up and handed out by name.
//
// List layouts print ReportData::rows under their column captions; a window may bind other
// fields (ReportData::fields) and replace the captions that differ between its users
// (ReportData::captions), and gives the total texts by bound field (ReportData::totals).
//
// Document layouts (TFdycgd*, TFdyxsd*, TFdydbd1, TFdyrkd1) also read these named texts:
//   "dh" number, "rq" date, "bz" note, "dx" the amount in capitals ("(大写)…"),
//   "jsr" handler, "zhidan" the operator who prints;
//   the party: "ghs" (purchase), "kh" (sales), "ck1" and "ck2" (transfer), "lx" (adjustment);
//   sales only: "yhe" discount, "sse" received, "qkbq" the label "欠款:" or nothing,
//   "qkdx" the owed amount in capitals, "bz3" and "bz4" the company's footer lines.
//   The quantity and amount totals are totals of the fields "sl" and "je".
// The combined statistics layout TFdysztj1 reads "period" (the "统计日期：" line or nothing)
// and the seventeen figures by their field names: cgsl cgje xssl xsje rksl rkje kcsl kcje
// yf sf qk1 ys ss qk2 fk sk sz.
#pragma once

#include "print/print_layout.h"

#include <QStringList>

class PrintLayouts {
public:
    // Creates every layout once, in the start-up order; later calls do nothing.
    static void createAll();
    // The layout of that name (creating all first if needed); nullptr for an unknown name.
    static const PrintLayout *find(const QString &name);
    // The same for a name that must exist; an unknown name throws std::out_of_range.
    static const PrintLayout &get(const QString &name);
    // Names in the order the layouts were created.
    static QStringList names();
};
