#include "admin/ui/takeover_dialog.h"
#include "app/data/dm1.h"
#include "app/session.h"
#include "app/ui/startup.h"
#include "app/ui/tfscqd1.h"
#include "app/ui/tfdl1.h"
#include "scripted_prompter.h"
#include "test_main.h"
#include "when_modal.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

QString fixture() { return QDir(qEnvironmentVariable("MARVODA_SOURCE_DIR")).filePath("tests/admin/takeover/full.mdb"); }

TakeOverDialog *reportShowing()
{
    auto *d = qobject_cast<TakeOverDialog *>(QApplication::activeModalWidget());
    return d && d->findChild<QPlainTextEdit *>("Memo1")->isVisible() ? d : nullptr;
}

} // namespace

class TestTakeOverDialog : public QObject {
    Q_OBJECT
private slots:
    void init() { startup::setTakeOver({takeover::commandLine, takeover::offerAtStart, takeover::runWithDialog}); }
    void cleanup() { startup::setTakeOver({}); }

    // A first start beside an Access book: asked, taken over with its report, then the login
    // lists the Access book's operators, who log in with their own passwords.
    void firstStartTakesOverTheAccessBook()
    {
        ScriptedPrompter p;
        p.answer(true);
        QTemporaryDir dir;
        QVERIFY(QFile::copy(fixture(), QDir(dir.path()).filePath("KLVData1.mdb")));
        QString report;
        QStringList names;
        once([] { return reportShowing() != nullptr; }, [&] {
            report = reportShowing()->findChild<QPlainTextEdit *>("Memo1")->toPlainText();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            once([] { return qobject_cast<TFdl1 *>(QApplication::activeModalWidget()) != nullptr; }, [&] {
                auto *login = qobject_cast<TFdl1 *>(QApplication::activeModalWidget());
                auto *list = login->findChild<QComboBox *>("ComboBox1");
                for (int i = 0; i < list->count(); ++i) names << list->itemText(i);
                login->findChild<QPushButton *>("SpeedButton2")->click();
            });
        });
        QCOMPARE(startup::run({"marvoda", "--data-dir", dir.path()}, {}), 0);
        QCOMPARE(p.texts().value(0), takeover::OfferQuestion);
        QVERIFY2(report.contains("sp\t6\t6\t"), qPrintable(report));
        QVERIFY(report.contains("店员-2"));
        QCOMPARE(names, QStringList({"系统管理员", "店员", "会计", "店员-2", "收银员𠀀"}));
        QCOMPARE(QDir(dir.path()).entryList({"Access导入报告-*.txt"}, QDir::Files).size(), 1);
        DM1 dm(BookLocation::sqlite(QDir(dir.path()).filePath("KLVData1.db")));
        QVERIFY(dm.open());
        QCOMPARE(session::login(dm.db(), "系统管理员", "admin'1"), session::LoginResult::Ok);
        QCOMPARE(session::login(dm.db(), "店员", " 空格 密码 "), session::LoginResult::Ok);
        QCOMPARE(session::login(dm.db(), "店员-2", "另一个"), session::LoginResult::Ok);
        QCOMPARE(session::login(dm.db(), "会计", ""), session::LoginResult::Ok);
    }

    void escapeWhileRunningCancelsAndMakesNothing()
    {
        ScriptedPrompter p;
        p.answer(true);
        QTemporaryDir dir;
        QVERIFY(QFile::copy(fixture(), QDir(dir.path()).filePath("KLVData1.mdb")));
        bool pressed = false;
        once([] {
            auto *d = qobject_cast<TakeOverDialog *>(QApplication::activeModalWidget());
            return d && d->findChild<QPushButton *>("BitBtn1")->text() == "取消";
        }, [&] {
            QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
            pressed = true;
        }, 0);
        QVERIFY(!takeover::offerAtStart(BookLocation::sqlite(QDir(dir.path()).filePath("KLVData1.db"))));
        QVERIFY(pressed);
        QCOMPARE(p.texts(), QStringList({takeover::OfferQuestion, takeover::CancelledMessage}));
        QCOMPARE(p.lastKind(), QString("info"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"KLVData1.mdb"});
    }

    void noBookMadeWhenDeclinedOrRefused_data()
    {
        QTest::addColumn<QByteArray>("access");   // what lies in the folder as KLVData1.mdb
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("no Access book: not asked") << QByteArray() << true << QStringList{};
        QTest::newRow("declined") << QByteArray("real") << false << QStringList{takeover::OfferQuestion};
        QTest::newRow("not an Access book")
            << QByteArray("这不是数据库") << true << QStringList{takeover::OfferQuestion, "不是Access数据库："};
    }
    void noBookMadeWhenDeclinedOrRefused()
    {
        QFETCH(QByteArray, access);
        QFETCH(bool, answer);
        QFETCH(QStringList, messages);
        ScriptedPrompter p;
        p.answer(answer);
        QTemporaryDir dir;
        const QString mdb = QDir(dir.path()).filePath("KLVData1.mdb");
        if (access == "real") QVERIFY(QFile::copy(fixture(), mdb));
        else if (!access.isEmpty()) {
            QFile f(mdb);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(access);
        }
        // Then the first start's choice stands in front of the operator, who leaves it.
        once([] { return qobject_cast<TFscqd1 *>(QApplication::activeModalWidget()) != nullptr; },
             [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
        QCOMPARE(startup::run({"marvoda", "--data-dir", dir.path()}, {}), 0);
        const QStringList got = p.texts();
        QCOMPARE(got.size(), messages.size());
        for (int i = 0; i < got.size(); ++i) QVERIFY2(got[i].startsWith(messages[i]), qPrintable(got[i]));
        QVERIFY(!QFile::exists(QDir(dir.path()).filePath("KLVData1.db")));
    }

    void commandLine()
    {
        const QString program = qEnvironmentVariable("MARVODA_PROGRAM");
        QVERIFY(QFile::exists(program));
        QTemporaryDir dir;
        QString out, err;
        auto run = [&](const QStringList &args) {
            QProcess p;
            p.start(program, args);
            p.waitForFinished(120000);
            out = QString::fromUtf8(p.readAllStandardOutput());
            err = QString::fromUtf8(p.readAllStandardError());
            return p.exitCode();
        };
        QCOMPARE(run({"--take-over", fixture(), "--data-dir", dir.path()}), 0);
        QVERIFY2(out.contains("cgglz\t6\t6\thjsl 100000000000005.3455 / 100000000000005.3455"), qPrintable(out));
        QVERIFY(out.contains("报告已保存为 "));
        QCOMPARE(run({"--take-over", fixture(), "--data-dir", dir.path()}), 1);
        QVERIFY2(err.contains("账套已存在，不可覆盖："), qPrintable(err));
        QVERIFY(out.isEmpty());
        QTemporaryDir other;
        QCOMPARE(run({"--take-over", program, "--data-dir", other.path()}), 1);
        QVERIFY2(err.contains("不是Access数据库："), qPrintable(err));
        QCOMPARE(QDir(other.path()).entryList(QDir::Files), QStringList());
    }
};

MARVODA_TEST(TestTakeOverDialog)

#include "tst_takeover_dialog.moc"
