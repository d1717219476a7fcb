#include "app/book_folders.h"
#include "app/data/dm1.h"
#include "app/data/schema.h"
#include "app/password.h"
#include "app/session.h"
#include "app/ui/startup.h"
#include "app/ui/tfdaohang1.h"
#include "app/ui/tfdl1.h"
#include "app/ui/pictures.h"
#include "app/ui/tfmain1.h"
#include "scripted_prompter.h"
#include "test_book.h"
#include "test_main.h"

#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QImage>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

// Stands in for the desktop's viewer: records the files it is asked to open.
class ViewerStandIn : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

// A plain business window standing in for the ones later subsystems open.
class SampleWindow : public QWidget {
    Q_OBJECT
};

void typeInto(QLineEdit *e, const QString &text)
{
    e->setFocus();
    QTest::keyClicks(e, text);
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void foreignBookGivesTheMessageAndFails()
    {
        ScriptedPrompter p;
        QTemporaryDir dir;
        const QStringList args = {"marvoda", "--data-dir", dir.path()};

        QFile junk(QDir(dir.path()).filePath("KLVData1.db"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("not a book at all");
        junk.close();
        QCOMPARE(startup::run(args, {}), 1);
        QCOMPARE(p.lastKind(), QString("error"));
        QCOMPARE(p.last(), QString("数据库文件丢失，软件无法运行，请重新复制本软件！"));
    }

    void createDatabaseFromTheCommandLine()
    {
        const QString program = qEnvironmentVariable("MARVODA_PROGRAM");
        QVERIFY(QFile::exists(program));
        QTemporaryDir dir;
        auto run = [&](const QStringList &args, QString *err) {
            QProcess p;
            p.start(program, args);
            p.waitForFinished(60000);
            *err = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
            return p.exitCode();
        };
        QString err;
        QCOMPARE(run({"--create-database", "--data-dir", dir.path(), "--admin-password", "a'b"}, &err), 0);
        QVERIFY(err.isEmpty());
        QCOMPARE(run({"--create-database", "--data-dir", dir.path()}, &err), 1);
        QVERIFY2(!err.isEmpty() && !err.contains('\n'), qPrintable(err));

        DM1 dm(BookLocation::sqlite(QDir(dir.path()).filePath("KLVData1.db")));
        QVERIFY(dm.open());
        QCOMPARE(session::login(dm.db(), "系统管理员", "a'b"), session::LoginResult::Ok);
        QCOMPARE(run({"--create-database", "--bogus"}, &err), 2);
    }

    // An installed program (bin beside share/marvoda) never writes beside itself: the book goes
    // to the user's data folder, and the next start opens it there.
    void installedProgramKeepsItsBookInTheUsersDataFolder()
    {
        QTemporaryDir tmp;
        const QDir root(tmp.path());
        QDir().mkpath(root.filePath("usr/bin"));
        QDir().mkpath(root.filePath("usr/share/marvoda"));
        const QString program = root.filePath("usr/bin/marvoda");
        QVERIFY(QFile::copy(qEnvironmentVariable("MARVODA_PROGRAM"), program));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", root.filePath("xdg"));
        p.setProcessEnvironment(env);
        p.start(program, {"--create-database"});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(QFile::exists(root.filePath("xdg/marvoda/KLVData1.db")));
        QVERIFY(!QFile::exists(root.filePath("usr/bin/KLVData1.db")));
    }

    void loginDialogMessagesAndKeys()
    {
        TestBook book("Pw");
        ScriptedPrompter p;
        TFdl1 dlg(book.db());
        QVERIFY(dlg.formShow());
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        auto *names = dlg.findChild<QComboBox *>("ComboBox1");
        auto *pw = dlg.findChild<QLineEdit *>("Edit1");
        auto *ok = dlg.findChild<QPushButton *>("SpeedButton1");
        QCOMPARE(names->count(), 1);
        QCOMPARE(pw->echoMode(), QLineEdit::Password);
        QCOMPARE(QApplication::focusWidget(), pw);   // the first name stands chosen

        typeInto(pw, "pw");
        ok->click();
        QCOMPARE(p.last(), QString("用户密码不正确！"));
        QCOMPARE(p.lastKind(), QString("info"));
        QVERIFY(dlg.isVisible());

        // Enter in the name list moves to the password; Enter there logs in.
        names->setFocus();
        QTest::keyClick(names, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), pw);
        pw->clear();
        QTest::keyClicks(pw, "Pw");
        QTest::keyClick(pw, Qt::Key_Return);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.operatorName(), QString("系统管理员"));
    }

    void loginHintShowsWhileTheBuiltInPasswordIsEmpty_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("hint");
        QTest::newRow("new book") << "" << true;
        QTest::newRow("password set") << "Pw" << false;
    }
    void loginHintShowsWhileTheBuiltInPasswordIsEmpty()
    {
        QFETCH(QString, password);
        QFETCH(bool, hint);
        TestBook book(password);
        TFdl1 dlg(book.db());
        QVERIFY(dlg.formShow());
        dlg.show();
        QCOMPARE(dlg.findChild<QLabel *>("Label1")->isVisible(), hint);
    }

    // Every window of the program shows its own icon, none the toolkit's.
    void windowsCarryTheProgramsIcon()
    {
        ScriptedPrompter p;
        QTemporaryDir dir;
        // Starting is enough: on a file that is not a book it ends at once.
        QFile junk(QDir(dir.path()).filePath("KLVData1.db"));
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("not a book") > 0);
        junk.close();
        QCOMPARE(startup::run({"marvoda", "--data-dir", dir.path()}, {}), 1);
        TestBook book;
        TFmain1 main;
        QVERIFY(main.formCreate());
        main.show();
        main.openChild<SampleWindow>();
        TFdl1 login(book.db());
        QDialog owned(&main);
        const QImage own = pictures::programIcon().pixmap(32).toImage();
        QVERIFY(!own.isNull());
        const QList<QWidget *> windows = {&main, main.mdiArea()->subWindowList().constFirst(), &login, &owned};
        for (QWidget *w : windows)
            QVERIFY2(w->windowIcon().pixmap(32).toImage() == own, w->metaObject()->className());
    }

    void loginDialogCannotBeLeftButByItsButtons()
    {
        TestBook book;
        book.db().exec("DELETE FROM yhsz");
        ScriptedPrompter p;
        TFdl1 dlg(book.db());
        QVERIFY(dlg.formShow());
        dlg.show();
        QCOMPARE(dlg.findChild<QComboBox *>("ComboBox1")->count(), 0);
        dlg.findChild<QPushButton *>("SpeedButton1")->click();
        QCOMPARE(p.last(), QString("请选择用户名称！"));
        dlg.close();   // the window manager's close box
        QVERIFY(dlg.isVisible());
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
    }

    void mainWindowFollowsTheOperatorsPermissions()
    {
        TestBook book;
        book.db().exec("UPDATE danwei SET mczc = ?", {"兴达建材"});
        book.db().insert("yhsz", {{"yhmc", "店员"}, {"yhmm", hashPassword("")}});
        book.db().insert("quanxian", {{"yh", "店员"}, {"qx", "零售开单"}});
        ScriptedPrompter p;
        TFmain1 main;
        QVERIFY(main.formCreate());
        QCOMPARE(main.windowTitle(), QString("QuorinMarvoda建材行业版V2011　［使用单位：兴达建材］"));
        main.formShow("店员");
        QCOMPARE(main.statusText(0), QString("操作员：店员"));
        QCOMPARE(session::current().stYhm1, QString("店员"));
        QCOMPARE(session::current().stkcjg, QString("不显价格"));
        QVERIFY(main.command("零售")->isEnabled());
        QVERIFY(!main.command("销售单据")->isEnabled());
        QVERIFY(!main.command("商品资料")->isEnabled());
        for (const char *free : {"商品库存明细表", "商品进销存统计表", "备份数据库", "暂时离开系统", "金额大小写转换",
                                 "关于本软件", "退出"})
            QVERIFY2(main.command(QString::fromUtf8(free))->isEnabled(), free);

        // A disabled command's tool-bar button does nothing.
        int opened = 0;
        main.setCommandHandler("商品资料", [&] { ++opened; });
        main.setCommandHandler("零售", [&] { ++opened; });
        main.findChild<QToolButton *>("SpeedButton3")->click();
        QCOMPARE(opened, 0);
        main.findChild<QToolButton *>("SpeedButton6")->click();
        QCOMPARE(opened, 1);
    }

    void activateIfOpenBringsBackAMinimisedWindow()
    {
        TestBook book;
        TFmain1 main;
        main.show();
        auto *w = main.openChild<SampleWindow>();
        auto *sw = main.mdiArea()->subWindowList().constLast();
        QCOMPARE(sw->widget(), w);
        sw->showMinimized();
        QVERIFY(sw->isMinimized());
        QCOMPARE(main.openChild<SampleWindow>(), w);
        QCOMPARE(main.mdiArea()->subWindowList().size(), 1);
        QVERIFY(!sw->isMinimized());
        QCOMPARE(main.mdiArea()->activeSubWindow(), sw);

        w->close();   // a window that closes frees itself and its frame
        QTRY_COMPARE(main.mdiArea()->subWindowList().size(), 0);
        QVERIFY(!main.activateIfOpen(SampleWindow::staticMetaObject));
    }

    void navigationWindowAndItsCheckMark()
    {
        TestBook book;
        TFmain1 main;
        main.show();
        main.showNavigation();
        QVERIFY(main.command("显示业务导航图")->isChecked());
        int opened = 0;
        main.setCommandHandler("采购", [&] { ++opened; });
        main.formShow("系统管理员");
        auto *spot = main.findChild<QLabel *>("cg");
        QVERIFY(spot);
        QTest::mouseClick(spot, Qt::LeftButton);
        QCOMPARE(opened, 1);
        // Chosen again while it is open: the same window, and the mark stays.
        main.command("显示业务导航图")->trigger();
        QVERIFY(main.command("显示业务导航图")->isChecked());
        QCOMPARE(main.findChildren<TFdaohang1 *>().size(), 1);
        main.mdiArea()->closeAllSubWindows();
        QTRY_VERIFY(!main.command("显示业务导航图")->isChecked());
        main.command("显示业务导航图")->trigger();
        QVERIFY(main.command("显示业务导航图")->isChecked());
        QCOMPARE(main.findChildren<TFdaohang1 *>().size(), 1);
    }

    // "操作说明" and "常见问题" open the installed documents in the desktop's viewer; a missing one
    // says every place it was looked for.
    void helpDocumentsOpenInTheViewerOrSayWhereTheyWereLookedFor()
    {
        TestBook book;
        ScriptedPrompter p;
        QTemporaryDir tmp;
        const QDir root(tmp.path());
        QDir().mkpath(root.filePath("usr/bin"));
        QDir().mkpath(root.filePath("usr/share/marvoda"));
        const book_folders::Folders saved = book_folders::current();
        book_folders::setCurrent(book_folders::resolve({root.filePath("usr/bin"), false, {}, root.filePath("xdg"), {}}));
        QFile manual(root.filePath("usr/share/marvoda/Marvoda操作说明书.pdf"));
        QVERIFY(manual.open(QIODevice::WriteOnly));
        manual.close();
        ViewerStandIn viewer;
        QDesktopServices::setUrlHandler("file", &viewer, "open");
        TFmain1 main;
        main.command("操作说明")->trigger();
        QCOMPARE(viewer.opened, QList<QUrl>{QUrl::fromLocalFile(manual.fileName())});
        QVERIFY(p.messages().isEmpty());
        main.command("常见问题")->trigger();
        QCOMPARE(viewer.opened.size(), 1);
        QCOMPARE(p.lastKind(), QString("warn"));
        QCOMPARE(p.last(), "找不到说明文件Marvoda功能问答.txt！已查找：\n" + root.filePath("usr/bin/Marvoda功能问答.txt") + "\n" +
                               root.filePath("usr/share/marvoda/Marvoda功能问答.txt"));
        QDesktopServices::unsetUrlHandler("file");
        book_folders::setCurrent(saved);
    }

    void quittingAsksAndCanBeCancelled()
    {
        TestBook book;
        ScriptedPrompter p;
        TFmain1 main;
        main.show();
        int backups = 0;
        main.setBackupHandler([&] { ++backups; });
        p.answer(false);   // "确定要退出本系统吗？" → Cancel
        main.close();
        QVERIFY(main.isVisible());
        QCOMPARE(p.texts(), QStringList{"确定要退出本系统吗？"});
        QVERIFY(book.db().exists("SELECT 1 FROM danwei"));   // the book reopens by itself

        p.clear();
        p.answer(true);   // quit
        p.answer(true);   // back up first
        main.close();
        QVERIFY(!main.isVisible());
        QCOMPARE(p.texts(), (QStringList{"确定要退出本系统吗？", "退出时需要备份数据吗？"}));
        QCOMPARE(backups, 1);
    }
};

MARVODA_TEST(TestStartup)
#include "tst_startup.moc"
