#include "app/connection_settings.h"
#include "app/data/dm1.h"
#include "app/ui/startup.h"
#include "app/ui/tfdl1.h"
#include "app/ui/tfljsz1.h"
#include "scripted_prompter.h"
#include "test_book.h"
#include "test_main.h"
#include "when_modal.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

namespace {

const QString Line = "host=192.168.1.20 port=5433 dbname=marvoda user=marvoda password=Ab3dE6gH9jK2mN5pQ8rS1tU4";

// Typed text that is not plain ASCII letters (a folder path), as an input method commits it.
void type(QWidget *w, const QString &text)
{
    QInputMethodEvent e;
    e.setCommitString(text);
    QApplication::sendEvent(w, &e);
}

QString bookIn(const QString &dir) { return QDir(dir).filePath("KLVData1.db"); }

// A second book on this computer with an operator of its own.
void makeBook(const QString &dir, const QString &extraOperator)
{
    QString why;
    QVERIFY2(createBook(BookLocation::sqlite(bookIn(dir)), QString(), &why), qPrintable(why));
    Database db(BookLocation::sqlite(bookIn(dir)));
    QVERIFY(db.open());
    db.insert("yhsz", {{"yhmc", extraOperator}, {"yhmm", ""}});
}

} // namespace

class TestConnectionSettings : public QObject {
    Q_OBJECT
    QTemporaryDir config_;

private slots:
    void initTestCase()
    {
        // Never the settings of the user running the tests.
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
        QVERIFY(ConnectionSettings::filePath().startsWith(config_.path()));
    }
    void init() { QFile::remove(ConnectionSettings::filePath()); }

    void theServerLineIsRead_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("read");   // describe() and password, empty: not a line
        QTest::newRow("the script's line") << Line << "postgresql://marvoda@192.168.1.20:5433/marvoda Ab3dE6gH9jK2mN5pQ8rS1tU4";
        QTest::newRow("with blanks around") << "  " + Line + "\n" << "postgresql://marvoda@192.168.1.20:5433/marvoda Ab3dE6gH9jK2mN5pQ8rS1tU4";
        QTest::newRow("a server name typed") << "192.168.1.20" << "";
        QTest::newRow("a password with =") << "ab=cd" << "";
        QTest::newRow("no database") << "host=a port=5432" << "";
        QTest::newRow("words between") << "host=a dbname=b 密码" << "";
    }
    void theServerLineIsRead()
    {
        QFETCH(QString, text);
        QFETCH(QString, read);
        const std::optional<BookLocation> l = ConnectionSettings::parseLine(text);
        QCOMPARE(l ? l->describe() + ' ' + l->password : QString(), read);
    }

    void theChoiceIsSavedForThisUserOnly()
    {
        QVERIFY(!ConnectionSettings::load());
        QString why;
        QVERIFY2(ConnectionSettings::save(*ConnectionSettings::parseLine(Line), &why), qPrintable(why));
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(ConnectionSettings::filePath()).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0600));
        const std::optional<BookLocation> saved = ConnectionSettings::load();
        QVERIFY(saved);
        QCOMPARE(saved->describe(), ConnectionSettings::parseLine(Line)->describe());
        QCOMPARE(saved->password, QString("Ab3dE6gH9jK2mN5pQ8rS1tU4"));

        // Back to this computer: the password goes with the server.
        QVERIFY(ConnectionSettings::save(BookLocation::sqlite("/srv/店里/KLVData1.db"), &why));
        QCOMPARE(ConnectionSettings::load()->describe(), QString("/srv/店里/KLVData1.db"));
        QFile f(ConnectionSettings::filePath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(!f.readAll().contains("Ab3dE6gH9"));
        QCOMPARE(::stat(QFile::encodeName(ConnectionSettings::filePath()).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0600));
    }

    void theCommandLineComesBeforeTheSavedChoice_data()
    {
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QString>("dataDir");
        QTest::addColumn<QString>("postgres");
        QTest::addColumn<QString>("opens");
        const QString pg = "host=10.0.0.9 port=5432 dbname=shop user=u";
        QTest::newRow("nothing") << false << "" << "" << "/opt/marvoda/KLVData1.db";
        QTest::newRow("saved") << true << "" << "" << "postgresql://marvoda@192.168.1.20:5433/marvoda";
        QTest::newRow("--data-dir over saved") << true << "/data" << "" << "/data/KLVData1.db";
        QTest::newRow("--postgres over saved") << true << "" << pg << "postgresql://u@10.0.0.9:5432/shop";
    }
    void theCommandLineComesBeforeTheSavedChoice()
    {
        QFETCH(bool, saved);
        QFETCH(QString, dataDir);
        QFETCH(QString, postgres);
        QFETCH(QString, opens);
        if (saved) QVERIFY(ConnectionSettings::save(*ConnectionSettings::parseLine(Line), nullptr));
        QCOMPARE(ConnectionSettings::choose(dataDir, postgres, "/opt/marvoda").describe(), opens);
    }

    void theNextStartGoesToTheSavedBook()
    {
        QTemporaryDir a, b;
        makeBook(a.path(), "甲店员");
        makeBook(b.path(), "乙店员");
        QVERIFY(ConnectionSettings::save(BookLocation::sqlite(bookIn(b.path())), nullptr));
        ScriptedPrompter p;
        auto startAndLeave = [](const QStringList &args) {
            QString listed;
            // The login comes after the splash: look for it until it shows.
            QTimer poll;
            poll.setInterval(50);
            QObject::connect(&poll, &QTimer::timeout, [&] {
                auto *login = qobject_cast<TFdl1 *>(QApplication::activeModalWidget());
                if (!login) return;
                poll.stop();
                auto *names = login->findChild<QComboBox *>("ComboBox1");
                for (int i = 0; i < names->count(); ++i) listed += names->itemText(i) + ' ';
                QTest::keyClick(login, Qt::Key_Escape);
            });
            poll.start();
            startup::run(QStringList{"marvoda"} + args, {});
            return listed.trimmed();
        };
        QCOMPARE(startAndLeave({}), QString("系统管理员 乙店员"));
        QCOMPARE(startAndLeave({"--data-dir", a.path()}), QString("系统管理员 甲店员"));
    }

    void anUnreachableSavedBookOffersTheSettingsInsteadOfEnding()
    {
        QTemporaryDir other;
        makeBook(other.path(), "乙店员");
        // Nothing listens on port 1: the server is off.
        QVERIFY(ConnectionSettings::save(BookLocation::postgres("host=127.0.0.1 port=1 dbname=marvoda user=marvoda"), nullptr));
        ScriptedPrompter p;
        QString listed;
        QTimer poll;
        poll.setInterval(50);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *settings = qobject_cast<TFljsz1 *>(modal)) {
                settings->findChild<QRadioButton *>("RB1")->click();
                auto *folder = settings->findChild<QLineEdit *>("Edit6");
                folder->setFocus();
                folder->selectAll();
                type(folder, other.path());
                QTest::keyClick(folder, Qt::Key_Return);
            } else if (auto *login = qobject_cast<TFdl1 *>(modal)) {
                poll.stop();
                listed = login->findChild<QComboBox *>("ComboBox1")->itemText(1);
                QTest::keyClick(login, Qt::Key_Escape);
            }
        });
        poll.start();
        QCOMPARE(startup::run({"marvoda"}, {}), 0);
        QCOMPARE(p.texts(), QStringList{"无法打开上次选择的账套，请重新进行连接设置！"});
        QCOMPARE(listed, QString("乙店员"));
        QCOMPARE(ConnectionSettings::load()->file, bookIn(other.path()));
    }

    void theDialogShowsTheBookAndTakesAPastedLine()
    {
        TestBook book;
        ScriptedPrompter p;
        TFljsz1 dlg(book.dm());
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        QCOMPARE(dlg.windowTitle(), QString("连接设置"));
        QStringList labels;
        for (QLabel *l : dlg.findChildren<QLabel *>()) labels << l->text();
        for (const char *caption : {"服务器", "端口", "数据库", "用户名", "密码"}) QVERIFY2(labels.contains(caption), caption);
        auto *local = dlg.findChild<QRadioButton *>("RB1");
        auto *server = dlg.findChild<QRadioButton *>("RB2");
        QCOMPARE(local->text(), QString("本机账套"));
        QCOMPARE(server->text(), QString("服务器账套"));
        QVERIFY(local->isChecked());
        QCOMPARE(QDir::fromNativeSeparators(dlg.findChild<QLineEdit *>("Edit6")->text()), book.dataDir());
        QCOMPARE(dlg.findChild<QLineEdit *>("Edit5")->echoMode(), QLineEdit::Password);

        auto *test = dlg.findChild<QPushButton *>("BB1");
        QCOMPARE(test->text(), QString("测试连接"));
        test->click();
        QCOMPARE(p.last(), QString("连接成功！"));
        QCOMPARE(p.lastKind(), QString("info"));

        // The server's line pasted into the first field fills all five.
        server->setFocus();
        QTest::keyClick(server, Qt::Key_Space);
        QVERIFY(server->isChecked());
        auto *host = dlg.findChild<QLineEdit *>("Edit1");
        QCOMPARE(QApplication::focusWidget(), host);
        QApplication::clipboard()->setText(Line);
        QTest::keyClick(host, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(host->text(), QString("192.168.1.20"));
        QCOMPARE(dlg.findChild<QLineEdit *>("Edit2")->text(), QString("5433"));
        QCOMPARE(dlg.findChild<QLineEdit *>("Edit3")->text(), QString("marvoda"));
        QCOMPARE(dlg.findChild<QLineEdit *>("Edit4")->text(), QString("marvoda"));
        QCOMPARE(dlg.findChild<QLineEdit *>("Edit5")->text(), QString("Ab3dE6gH9jK2mN5pQ8rS1tU4"));
        QCOMPARE(dlg.chosen().describe(), ConnectionSettings::parseLine(Line)->describe());

        // The same line typed by hand is left as typed: nothing fills from its first half.
        host->clear();
        host->setFocus();
        QTest::keyClicks(host, "host=10.1.1.1 dbname=x");
        QCOMPARE(host->text(), QString("host=10.1.1.1 dbname=x"));
        QCOMPARE(dlg.findChild<QLineEdit *>("Edit3")->text(), QString("marvoda"));
    }

    void theTestSaysWhyNot_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("kind");   // a book out of reach warns; a field to fill informs
        // Nothing listens on port 1 of this computer.
        QTest::newRow("server off") << "Edit2" << "1" << "连接失败：无法连接到服务器，请检查服务器地址和端口，以及服务器是否已开机！" << "warn";
        QTest::newRow("no server") << "Edit1" << "" << "服务器不可为空！" << "info";
        QTest::newRow("no user") << "Edit4" << "" << "用户名不可为空！" << "info";
    }
    void theTestSaysWhyNot()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, said);
        QFETCH(QString, kind);
        TestBook book;
        ScriptedPrompter p;
        TFljsz1 dlg(book.dm());
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        dlg.findChild<QRadioButton *>("RB2")->click();
        dlg.findChild<QLineEdit *>("Edit1")->setText("127.0.0.1");
        auto *e = dlg.findChild<QLineEdit *>(field);
        e->clear();
        e->setFocus();
        QTest::keyClicks(e, typed);
        dlg.findChild<QPushButton *>("BB1")->click();
        QCOMPARE(p.last(), said);
        QCOMPARE(p.lastKind(), kind);
        // "确定" refuses the same way and changes nothing.
        dlg.findChild<QPushButton *>("BB2")->click();
        QCOMPARE(p.last(), said);
        QCOMPARE(p.lastKind(), kind);
        QVERIFY(dlg.isVisible());
        QVERIFY(!QFile::exists(ConnectionSettings::filePath()));
        QCOMPARE(book.db().location().file, book.location().file);
    }

    void aPastedServerLineTestsSavesAndOpensTheServersBook()
    {
        const QString line = qEnvironmentVariable("MARVODA_SETTINGS_PG");
        if (line.isEmpty()) QSKIP("no PostgreSQL server named in MARVODA_SETTINGS_PG");
        const BookLocation server = BookLocation::postgres(line);
        {
            BookLocation admin = server;
            admin.database = "postgres";
            Database maintenance(admin);
            QVERIFY(maintenance.open());
            maintenance.exec(QString("DROP DATABASE IF EXISTS \"%1\"").arg(server.database));
            maintenance.exec(QString("CREATE DATABASE \"%1\"").arg(server.database));
        }
        QVERIFY(createBook(server, QString(), nullptr));
        {
            Database db(server);
            QVERIFY(db.open());
            db.insert("yhsz", {{"yhmc", "前台"}, {"yhmm", ""}});
        }
        TestBook here;
        ScriptedPrompter p;
        TFdl1 login(here.db());
        QVERIFY(login.formShow());
        login.show();
        QVERIFY(QTest::qWaitForWindowActive(&login));
        whenModal<TFljsz1>([&](TFljsz1 *dlg) {
            QVERIFY(QTest::qWaitForWindowActive(dlg));
            auto *onServer = dlg->findChild<QRadioButton *>("RB2");
            onServer->setFocus();
            QTest::keyClick(onServer, Qt::Key_Space);
            auto *password = dlg->findChild<QLineEdit *>("Edit5");
            password->setFocus();
            QApplication::clipboard()->setText(line);
            QTest::keyClick(password, Qt::Key_V, Qt::ControlModifier);
            dlg->findChild<QPushButton *>("BB1")->click();
            QCOMPARE(p.last(), QString("连接成功！"));
            dlg->findChild<QPushButton *>("BB2")->setFocus();
            QTest::keyClick(dlg->findChild<QPushButton *>("BB2"), Qt::Key_Space);
        });
        login.findChild<QPushButton *>("SpeedButton3")->click();
        auto *names = login.findChild<QComboBox *>("ComboBox1");
        QCOMPARE(names->count(), 2);
        QCOMPARE(names->itemText(1), QString("前台"));
        QCOMPARE(here.db().engine(), BookLocation::Engine::PostgreSQL);
        QCOMPARE(ConnectionSettings::load()->describe(), server.describe());
        QCOMPARE(ConnectionSettings::load()->password, QString("unused"));
        here.db().relocate(here.location());   // the test book's own connection again, for its cleanup
    }

    void okMovesTheLoginToTheChosenBookAndCancelChangesNothing()
    {
        TestBook book;
        QTemporaryDir other;
        makeBook(other.path(), "乙店员");
        ScriptedPrompter p;
        TFdl1 login(book.db());
        QVERIFY(login.formShow());
        login.show();
        QVERIFY(QTest::qWaitForWindowActive(&login));
        auto *names = login.findChild<QComboBox *>("ComboBox1");
        auto *settings = login.findChild<QPushButton *>("SpeedButton3");
        QCOMPARE(settings->text(), QString("连接设置"));
        QCOMPARE(names->count(), 1);

        // Esc leaves everything as it was.
        whenModal<TFljsz1>([&](TFljsz1 *dlg) {
            QVERIFY(QTest::qWaitForWindowActive(dlg));
            auto *folder = dlg->findChild<QLineEdit *>("Edit6");
            folder->selectAll();
            type(folder, other.path());
            QTest::keyClick(folder, Qt::Key_Escape);
        });
        settings->click();
        QCOMPARE(names->count(), 1);
        QVERIFY(!QFile::exists(ConnectionSettings::filePath()));

        // Enter in the last field is "确定": saved, moved, and the other book's operators listed.
        whenModal<TFljsz1>([&](TFljsz1 *dlg) {
            QVERIFY(QTest::qWaitForWindowActive(dlg));
            auto *folder = dlg->findChild<QLineEdit *>("Edit6");
            QCOMPARE(QApplication::focusWidget(), folder);
            folder->selectAll();
            type(folder, other.path());
            QTest::keyClick(folder, Qt::Key_Return);
        });
        settings->click();
        QCOMPARE(p.texts(), QStringList());
        QCOMPARE(names->count(), 2);
        QCOMPARE(names->itemText(1), QString("乙店员"));
        QCOMPARE(book.db().location().file, bookIn(other.path()));
        QCOMPARE(ConnectionSettings::load()->file, bookIn(other.path()));
    }
};

MARVODA_TEST(TestConnectionSettings)
#include "tst_connection_settings.moc"
