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

// Runs `act` once `ready` holds, while the code under test waits in a dialog of its own (or
// lets events through while it works).
inline void once(const std::function<bool()> &ready, const std::function<void()> &act, int everyMs = 20)
{
    auto *t = new QTimer;
    t->setInterval(everyMs);
    QObject::connect(t, &QTimer::timeout, [t, ready, act] {
        if (!ready()) return;
        t->stop();
        t->deleteLater();
        act();
    });
    t->start();
}
