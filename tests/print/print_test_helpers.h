// Small readers of laid-out pages shared by the print tests.
#pragma once

#include "print/pagination.h"

#include <QStringList>

inline QStringList textsOf(const PrintedPage &page)
{
    QStringList out;
    for (const auto &t : page.texts) out << t.text;
    return out;
}

inline int countOf(const PrintedReport &r, const QString &text)
{
    int n = 0;
    for (const auto &p : r.pages) n += int(textsOf(p).count(text));
    return n;
}

inline const PageText *findText(const PrintedPage &page, const QString &text)
{
    for (const auto &t : page.texts)
        if (t.text == text) return &t;
    return nullptr;
}
