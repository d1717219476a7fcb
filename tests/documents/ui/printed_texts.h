// What the next print preview shows: it is built, its page texts handed back, and closed.
#pragma once

#include "print/ui/tfdypreview1.h"
#include "when_modal.h"

#include <QStringList>

inline void catchPrinted(QStringList &printed)
{
    whenModal<TFdyPreview1>([&printed](TFdyPreview1 *p) {
        p->buildAll();
        for (const PrintedPage &page : p->report().pages)
            for (const PageText &t : page.texts) printed << t.text;
        p->reject();
    });
}
