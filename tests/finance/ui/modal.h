// Driving the modal dialogs a window opens: the test's steps run once the dialog shows.
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
