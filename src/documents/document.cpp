#include "documents/document.h"

void DocumentLine::recompute(bool salesLine)
{
    je = (sl * jg * zk).round2();
    if (salesLine) {
        cbje = (cbjg * sl).round2();
        maoli = je - cbje;
    }
}

DocumentTotals totalsOf(const QList<DocumentLine> &lines)
{
    DocumentTotals t;
    for (const DocumentLine &l : lines) {
        t.hjsl += l.sl;
        t.hjje += l.je;
    }
    return t;
}
