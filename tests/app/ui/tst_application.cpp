#include "app/data/database.h"
#include "app/text/decimal.h"
#include "scripted_prompter.h"
#include "test_main.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QTest>
#include <QTimer>

#include <limits>

namespace {
const QString kServerText = QStringLiteral("FATAL:  terminating connection due to administrator command (57P01)");
}

class TestApplication : public QObject {
    Q_OBJECT
private slots:
    // A command that fails inside a modal dialog shows the error box; the dialog's own loop
    // goes on and its next command works.
    void failedCommandShowsTheErrorAndTheDialogGoesOn_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("failure");   // "locked", "range", "lost"
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("details");
        QTest::newRow("book locked, button") << "button" << "locked" << "database is locked" << "";
        QTest::newRow("amount out of range, key") << "key" << "range" << "金额超出范围" << "";
        QTest::newRow("book locked, timer") << "timer" << "locked" << "database is locked" << "";
        // The operator reads what became of his command; the server's words are behind the details.
        QTest::newRow("server connection lost, button")
            << "button" << "lost" << "与服务器的连接中断，本次操作未保存，请重试！" << kServerText;
    }
    void failedCommandShowsTheErrorAndTheDialogGoesOn()
    {
        QFETCH(QString, route);
        QFETCH(QString, failure);
        QFETCH(QString, message);
        QFETCH(QString, details);
        ScriptedPrompter p;
        QDialog d;
        auto *save = new QPushButton("保存", &d);
        auto *ok = new QPushButton("确定", &d);
        auto *layout = new QHBoxLayout(&d);
        layout->addWidget(save);
        layout->addWidget(ok);
        const auto fail = [failure] {
            if (failure == "locked") throw DbError("database is locked");
            if (failure == "lost") throw DbError::connectionLost(true, kServerText);
            (void)(Decimal::fromRaw(std::numeric_limits<qint64>::max()) + Decimal::fromRaw(1));
        };
        connect(save, &QPushButton::clicked, &d, fail);
        connect(new QShortcut(Qt::Key_F5, &d), &QShortcut::activated, &d, fail);
        connect(ok, &QPushButton::clicked, &d, &QDialog::accept);

        bool stayed = false;
        QTimer::singleShot(0, &d, [&] {
            if (route == "button") {
                QTest::mouseClick(save, Qt::LeftButton);
            } else if (route == "key") {
                QApplication::setActiveWindow(&d);
                QTest::keyClick(&d, Qt::Key_F5);
            } else {
                QTimer::singleShot(0, &d, fail);
            }
            QTimer::singleShot(0, &d, [&] {   // after the failure
                stayed = d.isVisible();
                QTest::mouseClick(ok, Qt::LeftButton);
            });
        });
        QCOMPARE(d.exec(), int(QDialog::Accepted));
        QVERIFY(stayed);
        QCOMPARE(p.messages().size(), 1);
        QCOMPARE(p.lastKind(), QString("error"));
        QCOMPARE(p.last(), message);
        QCOMPARE(p.messages().last().details, details);
    }
};

MARVODA_TEST(TestApplication)
#include "tst_application.moc"
