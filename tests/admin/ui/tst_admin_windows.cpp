#include "admin/book_maintenance.h"
#include "admin/operator_book.h"
#include "admin/ui/admin_commands.h"
#include "admin/ui/tfbeifen1.h"
#include "admin/ui/tfczrz1.h"
#include "admin/ui/tfhuifu1.h"
#include "admin/ui/tflikai1.h"
#include "admin/ui/tfqingkong1.h"
#include "admin/ui/tfquanxian1.h"
#include "admin/ui/tftjyh1.h"
#include "admin/ui/tfyasuo1.h"
#include "admin/ui/tfyhsz1.h"
#include "app/password.h"
#include "app/session.h"
#include "app/ui/tfmain1.h"
#include "app/widgets/record_table_model.h"
#include "scripted_prompter.h"
#include "test_book.h"
#include "test_main.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace {

// Runs `inside` on the modal dialog of class D once it is active, then lets the caller go on;
// a failed check inside closes the dialog, so the test ends instead of waiting on it.
template <class D> void whenModal(std::function<void(D *)> inside)
{
    QTimer::singleShot(0, [inside] {
        auto *d = qobject_cast<D *>(QApplication::activeModalWidget());
        QVERIFY2(d, "the expected dialog is not showing");
        [d] { QTRY_VERIFY(d->isActiveWindow()); }();
        inside(d);
        if (QTest::currentTestFailed() && d->isVisible()) static_cast<QDialog *>(d)->reject();
    });
}

template <class W = QLineEdit> W *field(QWidget *w, const char *name) { return w->findChild<W *>(QString::fromLatin1(name)); }

QPushButton *button(QWidget *w, const char *name) { return field<QPushButton>(w, name); }

// Typed as an input method commits it: Chinese, or any text, into the focused field.
void type(QWidget *target, const QString &text)
{
    target->setFocus();
    QInputMethodEvent ime;
    ime.setCommitString(text);
    QApplication::sendEvent(target, &ime);
}

QStringList names(Database &db)
{
    QStringList out;
    QSqlQuery q = db.exec("SELECT yhmc FROM yhsz ORDER BY id");
    while (q.next()) out << q.value(0).toString();
    return out;
}

int count(Database &db, const QString &table)
{
    QSqlQuery q = db.exec("SELECT COUNT(*) FROM " + table);
    q.next();
    return q.value(0).toInt();
}

QStringList ticked(QWidget *editor)
{
    QStringList out;
    for (int i = 1; i <= 12; ++i) {
        auto *box = editor->findChild<QCheckBox *>(QString("CheckBox%1").arg(i));
        if (box->isChecked()) out << box->text();
    }
    return out;
}

} // namespace

class TestAdminWindows : public QObject {
    Q_OBJECT
private slots:
    void init() { session::current().stYhm1 = "系统管理员"; }

    void operatorListAddsModifiesAndDeletes()
    {
        TestBook b;
        ScriptedPrompter p;
        TFyhsz1 list;
        list.show();
        QTRY_VERIFY(list.isActiveWindow());
        // The list never shows a password.
        QCOMPARE(list.model()->columnCount(), 2);
        QCOMPARE(list.grid()->isColumnHidden(0), true);
        QCOMPARE(list.model()->headerData(1, Qt::Horizontal).toString(), QString("用户名称"));

        // "新增": the dialog stays open for the next operator and refuses as it goes.
        whenModal<TFtjyh1>([&p](TFtjyh1 *d) {
            QCOMPARE(d->windowTitle(), QString("新增操作员"));
            QCOMPARE(field<QLabel>(d, "ST3")->text(), QString("用户密码"));
            QCOMPARE(QApplication::focusWidget(), field(d, "Edit1"));
            type(field(d, "Edit1"), " 店员甲 ");
            QTest::keyClick(field(d, "Edit1"), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), field(d, "Edit2"));
            QTest::keyClicks(field(d, "Edit2"), "ab");
            QTest::keyClick(field(d, "Edit2"), Qt::Key_Return);
            QTest::keyClicks(field(d, "Edit3"), "ac");
            QTest::keyClick(field(d, "Edit3"), Qt::Key_Return);
            QCOMPARE(p.last(), QString("密码前后不一致！"));
            QCOMPARE(QApplication::focusWidget(), field(d, "Edit3"));
            field(d, "Edit3")->setText("ab ");
            QTest::keyClick(field(d, "Edit3"), Qt::Key_Return);
            QCOMPARE(field(d, "Edit1")->text(), QString());
            QCOMPARE(QApplication::focusWidget(), field(d, "Edit1"));
            type(field(d, "Edit1"), "店员甲");
            button(d, "BitBtn1")->click();
            QCOMPARE(p.lastKind(), QString("warn"));
            QCOMPARE(p.last(), QString("用户名称不可重复！"));
            QTest::keyClick(d, Qt::Key_Escape);
        });
        button(&list, "BitBtn1")->click();
        QCOMPARE(names(b.db()), (QStringList{"系统管理员", "店员甲"}));
        QCOMPARE(session::login(b.db(), "店员甲", "ab"), session::LoginResult::Ok);

        // "修改" by double-click: the old password as typed, the new one kept.
        whenModal<TFtjyh1>([&p](TFtjyh1 *d) {
            QCOMPARE(d->windowTitle(), QString("修改操作员"));
            QCOMPARE(field(d, "Edit1")->text(), QString("店员甲"));
            QVERIFY(field(d, "Edit1")->isReadOnly());
            QCOMPARE(field<QLabel>(d, "ST3")->text(), QString("原设密码"));
            QCOMPARE(field<QLabel>(d, "ST4")->text(), QString("新设密码"));
            QCOMPARE(QApplication::focusWidget(), field(d, "Edit2"));
            QTest::keyClicks(field(d, "Edit2"), "ab ");
            QTest::keyClicks(field(d, "Edit3"), " new");
            button(d, "BitBtn1")->click();
            QCOMPARE(p.last(), QString("原密码录入错误！"));
            QVERIFY(d->isVisible());
            field(d, "Edit2")->setText("ab");
            button(d, "BitBtn1")->click();
            QCOMPARE(p.last(), QString("修改成功！"));
            QCOMPARE(p.lastKind(), QString("info"));
            QVERIFY(!d->isVisible());
        });
        const QPoint cell = list.grid()->visualRect(list.model()->index(1, 1)).center();
        QTest::mouseClick(list.grid()->viewport(), Qt::LeftButton, {}, cell);   // a double-click's first half
        QTest::mouseDClick(list.grid()->viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(session::login(b.db(), "店员甲", " new"), session::LoginResult::Ok);

        // "删除": never the built-in operator; the others after the question.
        list.grid()->selectRow(0);
        button(&list, "BitBtn3")->click();
        QCOMPARE(p.last(), QString("不可删除系统管理员！"));
        QCOMPARE(p.lastKind(), QString("warn"));
        list.grid()->selectRow(1);
        p.answer(false);
        button(&list, "BitBtn3")->click();
        QCOMPARE(p.last(), QString("确实要删除此操作员吗？"));
        QCOMPARE(names(b.db()).size(), 2);
        p.answer(true);
        button(&list, "BitBtn3")->click();
        QCOMPARE(names(b.db()), QStringList{"系统管理员"});
        QCOMPARE(list.model()->rowCount(), 1);

        b.db().exec("DELETE FROM yhsz");
        whenModal<TFtjyh1>([](TFtjyh1 *d) { d->reject(); });
        button(&list, "BitBtn1")->click();   // back from adding, the list is read again
        button(&list, "BitBtn2")->click();
        QCOMPARE(p.last(), QString("没有操作员可修改！"));
        button(&list, "BitBtn3")->click();
        QCOMPARE(p.last(), QString("没有操作员可删除！"));
    }

    void permissionEditor()
    {
        TestBook b;
        ScriptedPrompter p;
        OperatorBook(b.db()).add("店员", "", "");
        OperatorBook(b.db()).grant("店员", {"零售开单"});
        TFquanxian1 d;
        d.show();
        auto *who = field<QComboBox>(&d, "ComboBox1");
        QCOMPARE(who->count(), 2);
        QCOMPARE(who->currentIndex(), -1);
        QVERIFY(ticked(&d).isEmpty());
        button(&d, "BitBtn1")->click();
        QCOMPARE(p.last(), QString("操作员不可为空！"));
        QCOMPARE(p.lastKind(), QString("info"));

        who->setCurrentText("系统管理员");
        QCOMPARE(ticked(&d).size(), 12);
        button(&d, "BitBtn3")->click();   // "全否" changes the screen only
        QVERIFY(ticked(&d).isEmpty());
        button(&d, "BitBtn1")->click();
        QCOMPARE(p.last(), QString("不可更改系统管理员权限！"));
        QCOMPARE(p.lastKind(), QString("warn"));
        QCOMPARE(OperatorBook(b.db()).permissions("系统管理员").size(), 12);

        who->setCurrentText("店员");
        QCOMPARE(ticked(&d), QStringList{"零售开单"});
        button(&d, "BitBtn2")->click();
        QCOMPARE(ticked(&d).size(), 12);
        d.findChild<QCheckBox *>("CheckBox1")->setChecked(false);
        d.findChild<QCheckBox *>("CheckBox12")->setChecked(false);
        button(&d, "BitBtn1")->click();
        QCOMPARE(p.last(), QString("权限设置成功！"));
        const QSet<QString> held = OperatorBook(b.db()).permissions("店员");
        QCOMPARE(held.size(), 10);
        QVERIFY(!held.contains("系统设置") && !held.contains("显示库存价格"));
    }

    void lockWindowOpensOnlyWithThePassword()
    {
        TestBook b("Pw");
        ScriptedPrompter p;
        TFlikai1 lock("系统管理员");
        lock.show();
        QVERIFY(QTest::qWaitForWindowActive(&lock));
        QCOMPARE(field(&lock, "Edit1")->text(), QString("系统管理员"));
        QVERIFY(field(&lock, "Edit1")->isReadOnly());
        QCOMPARE(QApplication::focusWidget(), field(&lock, "Edit2"));
        QTest::keyClicks(field(&lock, "Edit2"), "pw");
        QTest::keyClick(field(&lock, "Edit2"), Qt::Key_Return);
        QCOMPARE(p.last(), QString("密码错误，不可解锁！"));
        QVERIFY(lock.isVisible());
        // Neither Esc nor the window's close leaves the lock.
        QTest::keyClick(field(&lock, "Edit2"), Qt::Key_Escape);
        lock.close();
        QVERIFY(lock.isVisible());
        field(&lock, "Edit2")->setText("Pw");
        QTest::keyClick(field(&lock, "Edit2"), Qt::Key_Return);
        QVERIFY(!lock.isVisible());
        QCOMPARE(lock.result(), int(QDialog::Accepted));

        TFlikai1 again("系统管理员");
        again.show();
        button(&again, "BitBtn2")->click();
        QVERIFY(!again.isVisible());
        QCOMPARE(again.result(), int(QDialog::Rejected));
    }

    void menuCommandsOfTheSystemMenu()
    {
        TestBook b("Pw");
        ScriptedPrompter p;
        TFmain1 main;
        registerAdminCommands(main);
        main.show();
        main.formShow("系统管理员");
        QVERIFY(main.command("操作日志")->isEnabled());

        // "更改我的密码": the logged-in operator, his old password first.
        whenModal<TFtjyh1>([&p](TFtjyh1 *d) {
            QCOMPARE(d->windowTitle(), QString("更改我的密码"));
            QCOMPARE(d->mode(), QString("更改我的密码"));
            QCOMPARE(field(d, "Edit1")->text(), QString("系统管理员"));
            QVERIFY(field(d, "Edit1")->isReadOnly());
            QCOMPARE(QApplication::focusWidget(), field(d, "Edit2"));
            QTest::keyClicks(field(d, "Edit2"), "Pw");
            QTest::keyClick(field(d, "Edit2"), Qt::Key_Return);
            QTest::keyClicks(field(d, "Edit3"), "New pw");
            QTest::keyClick(field(d, "Edit3"), Qt::Key_Return);
            QCOMPARE(p.last(), QString("密码更改成功！"));
        });
        main.perform("更改我的密码");
        QCOMPARE(session::login(b.db(), "系统管理员", "New pw"), session::LoginResult::Ok);

        // "暂时离开系统" hides the work until the password is typed.
        whenModal<TFlikai1>([&main](TFlikai1 *d) {
            QVERIFY(!main.centralWidget()->isVisible());
            QCOMPARE(field(d, "Edit1")->text(), QString("系统管理员"));
            QTest::keyClicks(field(d, "Edit2"), "New pw");
            QTest::keyClick(field(d, "Edit2"), Qt::Key_Return);
        });
        main.perform("暂时离开系统");
        QVERIFY(main.centralWidget()->isVisible());

        // The operation log, for holders of "系统设置", shows what was done.
        main.perform("操作日志");
        auto *log = main.findChild<TFczrz1 *>();
        QVERIFY(log);
        QCOMPARE(log->model()->rowCount(), 1);
        QCOMPARE(log->model()->text(0, "cz"), QString("修改密码"));
        QCOMPARE(log->model()->text(0, "czy"), QString("系统管理员"));

        b.db().insert("yhsz", {{"yhmc", "店员"}, {"yhmm", hashPassword("")}});
        main.formShow("店员");
        QVERIFY(!main.command("操作日志")->isEnabled());
        QVERIFY(!main.command("操作员与权限")->isEnabled());
        QVERIFY(main.command("备份数据库")->isEnabled());
    }

    void operationLogQuery()
    {
        TestBook b;
        for (const auto &[who, what] : QList<std::pair<QString, QString>>{
                 {"系统管理员", "授权"}, {"店员", "结单"}, {"店员", "删除"}, {"系统管理员", "清空数据库"}}) {
            b.db().insert("czrz", {{"sj", QDate::currentDate().toString(Qt::ISODate) + " 09:00:00"}, {"czy", who}, {"cz", what}});
        }
        b.db().insert("czrz", {{"sj", "2001-01-01 09:00:00"}, {"czy", "店员"}, {"cz", "结单"}});
        TFczrz1 w;
        w.show();
        QCOMPARE(w.model()->rowCount(), 4);   // the last month
        auto *who = field<QComboBox>(&w, "ComboBox1");
        auto *what = field<QComboBox>(&w, "ComboBox2");
        QCOMPARE(who->itemText(0), QString("全部"));
        who->setCurrentText("店员");
        button(&w, "BitBtn1")->click();
        QCOMPARE(w.model()->rowCount(), 2);
        what->setCurrentText("结单");
        field<QDateEdit>(&w, "DateTimePicker1")->setDate(QDate(2000, 1, 1));
        button(&w, "BitBtn1")->click();
        QCOMPARE(w.model()->rowCount(), 2);
        QCOMPARE(w.model()->text(0, "sj"), QString("2001-01-01 09:00:00"));
        QCOMPARE(field<QLabel>(&w, "HJ")->text(), QString("记录数：2"));
    }

    void backupDialog()
    {
        TestBook b;
        ScriptedPrompter p;
        const QString folder = QDir(b.dataDir()).filePath("数据备份库");
        const QString today = QDir(folder).filePath(BookMaintenance::defaultBackupName(QDate::currentDate()));
        {
            TFbeifen1 d;
            QCOMPARE(d.windowTitle(), QString("数据备份（请先关闭其他窗口）"));
            QCOMPARE(QDir::fromNativeSeparators(field(&d, "Edit1")->text()), today);
            d.show();
            QVERIFY(QTest::qWaitForWindowActive(&d));
            QCOMPARE(QApplication::focusWidget(), field(&d, "Edit1"));
            QTest::keyClick(field(&d, "Edit1"), Qt::Key_Return);
            QCOMPARE(p.texts(), QStringList{"数据库备份成功！"});
            QVERIFY(!d.isVisible());
            QVERIFY(QFile::exists(today));
        }
        {
            // A blank name is refused and the file dialog opens; a name typed there without
            // the extension gets it.
            TFbeifen1 d;
            d.show();
            field(&d, "Edit1")->setText("  ");
            whenModal<QFileDialog>([&folder](QFileDialog *f) {
                QCOMPARE(f->directory().absolutePath(), folder);
                field(f, "fileNameEdit")->setText("月底");   // typed without the extension
                static_cast<QDialog *>(f)->accept();   // as the dialog's own button does
            });
            button(&d, "BitBtn1")->click();
            QCOMPARE(p.last(), QString("数据库备份文件不可为空！"));
            QCOMPARE(QDir::fromNativeSeparators(field(&d, "Edit1")->text()), QDir(folder).filePath("月底.bak"));
            QVERIFY(d.isVisible());
            button(&d, "BitBtn1")->click();
            QVERIFY(QFile::exists(QDir(folder).filePath("月底.bak")));
        }
    }

    void restoreDialog()
    {
        TestBook b;
        ScriptedPrompter p;
        b.db().insert("kh", {{"mc", "老客户"}});
        const QString backup = QDir(b.dataDir()).filePath("留底.bak");
        QVERIFY(BookMaintenance::backup(b.db(), backup, nullptr));
        b.db().exec("DELETE FROM kh");
        const QString junk = QDir(b.dataDir()).filePath("junk.bak");
        {
            QFile f(junk);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("not a book");
        }
        TFhuifu1 d;
        d.show();
        QCOMPARE(d.windowTitle(), QString("数据恢复（请先关闭其他窗口）"));
        QCOMPARE(field(&d, "Edit1")->text(), QString());
        field(&d, "Edit1")->setText(junk);
        p.answer(false);
        QTest::keyClick(field(&d, "Edit1"), Qt::Key_Return);
        QCOMPARE(p.texts(), QStringList{"真的要恢复数据库吗？"});
        p.answer(true);
        button(&d, "BitBtn1")->click();
        QCOMPARE(p.last(), QString("数据库恢复失败！"));
        QVERIFY(d.isVisible());   // for another attempt
        field(&d, "Edit1")->setText(backup);
        p.answer(true);
        button(&d, "BitBtn1")->click();
        QCOMPARE(p.last(), QString("数据库恢复成功！"));
        QVERIFY(!d.isVisible());
        QCOMPARE(count(b.db(), "kh"), 1);
    }

    void compactionDialog()
    {
        TestBook b;
        ScriptedPrompter p;
        TFyasuo1 d;
        d.show();
        p.answer(false);
        button(&d, "BitBtn1")->click();
        QCOMPARE(p.texts(), QStringList{"确定要压缩当前数据库吗？"});
        QVERIFY(!d.isVisible());   // Cancel closes the dialog
        TFyasuo1 again;
        again.show();
        p.answer(true);
        button(&again, "BitBtn1")->click();
        QCOMPARE(p.last(), QString("数据库压缩成功！"));
        QVERIFY(!again.isVisible());
    }

    void clearingDialog()
    {
        TestBook b;
        ScriptedPrompter p;
        b.db().insert("cgfx", {{"dh", "CG20240305001"}});
        b.db().insert("xsfx", {{"dh", "XS20240305001"}});
        TFqingkong1 d;
        d.show();
        const QStringList captions = {"清除所有基本数据（厂商、客户、商品等）", "清除所有采购数据（采购、退货、统计等）",
                                      "清除所有销售数据（销售、退货、统计等）", "清除所有库存数据（变动、库存、统计等）",
                                      "清除所有财务数据（应付、付款、收支等）"};
        for (int i = 0; i < 5; ++i) {
            auto *box = d.findChild<QCheckBox *>(QString("CB%1").arg(i + 1));
            QCOMPARE(box->text(), captions[i]);
            QVERIFY(!box->isChecked());
        }
        d.findChild<QCheckBox *>("CB2")->setChecked(true);
        button(&d, "BitBtn1")->click();
        QCOMPARE(p.texts(), QStringList{"数据清除完毕！"});
        QVERIFY(!d.isVisible());
        QCOMPARE(count(b.db(), "cgfx"), 0);
        QCOMPARE(count(b.db(), "xsfx"), 1);
    }

    void quittingOffersTheBackup()
    {
        TestBook b;
        ScriptedPrompter p;
        TFmain1 main;
        registerAdminCommands(main);
        main.show();
        p.answer(true);   // "确定要退出本系统吗？"
        p.answer(true);   // "退出时需要备份数据吗？"
        whenModal<TFbeifen1>([](TFbeifen1 *d) { button(d, "BitBtn1")->click(); });
        main.close();
        QVERIFY(!main.isVisible());
        QCOMPARE(p.texts(), (QStringList{"确定要退出本系统吗？", "退出时需要备份数据吗？", "数据库备份成功！"}));
        QVERIFY(QFile::exists(QDir(b.dataDir()).filePath("数据备份库/" + BookMaintenance::defaultBackupName(QDate::currentDate()))));
    }
};

MARVODA_TEST(TestAdminWindows)
#include "tst_admin_windows.moc"
