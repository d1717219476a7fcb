// A start that finds no book: the choice between a new book, an Access book and the server.
#include "app/data/dm1.h"
#include "app/session.h"
#include "app/ui/startup.h"
#include "app/ui/tfdl1.h"
#include "app/ui/tfljsz1.h"
#include "app/ui/tfscqd1.h"
#include "scripted_prompter.h"
#include "test_main.h"
#include "when_modal.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

template <class D> bool showing() { return qobject_cast<D *>(QApplication::activeModalWidget()) != nullptr; }

// The field of the modal dialog that has the keyboard, shown or about to be.
QWidget *inFocus()
{
    QWidget *d = QApplication::activeModalWidget();
    return d && d->focusWidget() ? d->focusWidget() : d;
}

void pressInFocus(Qt::Key key) { QTest::keyClick(inFocus(), key); }

void typeInFocus(const QString &text) { QTest::keyClicks(inFocus(), text); }

QString bookIn(const QTemporaryDir &dir) { return QDir(dir.path()).filePath("KLVData1.db"); }

} // namespace

class TestFirstStart : public QObject {
    Q_OBJECT
private slots:
    void init() { startup::setTakeOver({}); }

    void leavingTheChoiceEndsQuietlyWithoutABook()
    {
        ScriptedPrompter p;
        QTemporaryDir dir;
        bool asked = false;
        once(showing<TFscqd1>, [&] {
            asked = true;
            pressInFocus(Qt::Key_Escape);
        });
        QCOMPARE(startup::run({"marvoda", "--data-dir", dir.path()}, {}), 0);
        QVERIFY(asked);
        QCOMPARE(p.texts(), QStringList{});
        QVERIFY(!QFile::exists(bookIn(dir)));
    }

    // From the keyboard: the two passwords differ, then agree; the book is made and the login
    // follows on it with the password chosen.
    void aNewBookWithThePasswordChosenNow()
    {
        ScriptedPrompter p;
        QTemporaryDir dir;
        bool loginShown = false;
        once(showing<TFscqd1>, [&] {
            QCOMPARE(inFocus()->objectName(), QString("Edit1"));
            typeInFocus("k9'x");
            pressInFocus(Qt::Key_Return);
            QCOMPARE(inFocus()->objectName(), QString("Edit2"));
            typeInFocus("k9'y");
            pressInFocus(Qt::Key_Return);
            QCOMPARE(p.texts(), QStringList{TFscqd1::PasswordsDifferMessage});
            QCOMPARE(inFocus()->objectName(), QString("Edit2"));
            QVERIFY(!QFile::exists(bookIn(dir)));
            typeInFocus("k9'x");
            pressInFocus(Qt::Key_Return);
            once(showing<TFdl1>, [&] {
                loginShown = true;
                pressInFocus(Qt::Key_Escape);
            });
        });
        QCOMPARE(startup::run({"marvoda", "--data-dir", dir.path()}, {}), 0);
        QVERIFY(loginShown);
        QCOMPARE(p.texts(), QStringList({TFscqd1::PasswordsDifferMessage, TFscqd1::CreatedMessage}));
        DM1 dm(BookLocation::sqlite(bookIn(dir)));
        QVERIFY(dm.open());
        QCOMPARE(session::login(dm.db(), "系统管理员", "k9'x"), session::LoginResult::Ok);
        QCOMPARE(session::login(dm.db(), "系统管理员", ""), session::LoginResult::WrongPassword);
    }

    void anAccessBookChosenIsTakenOverIntoTheDataFolder()
    {
        ScriptedPrompter p;
        QTemporaryDir dir;
        DM1 dm(BookLocation::sqlite(bookIn(dir)));
        QString taken, into;
        bool succeed = false;
        TFscqd1 d(dm, [&](const QString &mdb, const BookLocation &where) {
            taken = mdb;
            into = where.file;
            return succeed;
        });
        TFscqd1::accessFileChooser() = [](QWidget *) { return QStringLiteral("/media/u盘/KLVData1.mdb"); };
        d.show();
        auto *button = d.findChild<QPushButton *>("BitBtn2");
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(taken, QString("/media/u盘/KLVData1.mdb"));
        QCOMPARE(into, bookIn(dir));
        QVERIFY2(d.isVisible(), "a failed take-over leaves the choice open");
        succeed = true;
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        // A chooser given up takes nothing over.
        taken.clear();
        TFscqd1::accessFileChooser() = [](QWidget *) { return QString(); };
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(taken.isEmpty());
    }

    void theServerIsChosenInTheConnectionSettings()
    {
        ScriptedPrompter p;
        QTemporaryDir dir;
        DM1 dm(BookLocation::sqlite(bookIn(dir)));
        TFscqd1 d(dm, {});
        d.show();
        bool opened = false;
        once(showing<TFljsz1>, [&] {
            opened = true;
            pressInFocus(Qt::Key_Escape);
        });
        QTest::mouseClick(d.findChild<QPushButton *>("BitBtn3"), Qt::LeftButton);
        QVERIFY(opened);
        QVERIFY2(d.isVisible(), "cancelled settings leave the choice open");
    }
};

MARVODA_TEST(TestFirstStart)
#include "tst_first_start.moc"
