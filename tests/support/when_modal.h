// Answering a modal dialog in a window test: `inside` runs on the dialog of class D once it is
// showing, while the code under test waits in its exec().
#pragma once

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <functional>

template <class D> void whenModal(std::function<void(D *)> inside)
{
    QTimer::singleShot(0, [inside] {
        auto *d = qobject_cast<D *>(QApplication::activeModalWidget());
        QVERIFY2(d, "the expected dialog is not showing");
        inside(d);
    });
}
