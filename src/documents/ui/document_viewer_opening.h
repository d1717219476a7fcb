// Bringing up the one viewer of a kind on a list of documents: inside the main window when the
// program runs, as a window of its own otherwise.
#pragma once

#include "app/ui/tfmain1.h"

#include <QApplication>
#include <QStringList>

template <class V> V *openDocumentViewer(const QStringList &numbers, int index)
{
    V *viewer = nullptr;
    if (TFmain1 *main = TFmain1::instance()) {
        viewer = main->openChild<V>();
    } else {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *v = qobject_cast<V *>(w)) viewer = v;
        if (!viewer) {
            viewer = new V;
            viewer->setAttribute(Qt::WA_DeleteOnClose);
        }
        viewer->show();
        viewer->raise();
    }
    viewer->showDocuments(numbers, index);
    return viewer;
}
