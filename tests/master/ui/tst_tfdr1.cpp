#include "app/data/database.h"
#include "master/ui/tfdr1.h"
#include "scripted_prompter.h"
#include "test_book.h"
#include "test_main.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

// The dialog with its file chooser and desktop opener answered by the test.
class ScriptedTFdr1 : public TFdr1 {
public:
    using TFdr1::TFdr1;
    QString chosen;
    int choices = 0;
    bool desktopOpens = false;
    QStringList opened;

protected:
    QString askForSourceFile() override
    {
        ++choices;
        return chosen;
    }
    bool openWithDesktop(const QString &path) override
    {
        opened << path;
        return desktopOpens;
    }
};

QString writeCsv(const QTemporaryDir &dir, const QString &name, const QString &text)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(text.toUtf8());
    return path;
}

int count(Database &db, const QString &table)
{
    QSqlQuery q = db.exec("SELECT COUNT(*) FROM " + table);
    return q.next() ? q.value(0).toInt() : -1;
}

const QString SupplierHeading = QStringLiteral("名称,联系人,联系电话,传真号码,联系地址,邮政编码,开户银行,银行帐号,备注\n");

} // namespace

class TestTFdr1 : public QObject {
    Q_OBJECT
private slots:
    void captionAndTemplateFollowTheTarget_data()
    {
        QTest::addColumn<ImportTarget>("target");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("file");
        QTest::newRow("goods") << ImportTarget::Goods << "导入商品资料" << "商品资料.xls";
        QTest::newRow("suppliers") << ImportTarget::Suppliers << "导入厂商资料" << "厂商资料.xls";
        QTest::newRow("customers") << ImportTarget::Customers << "导入客户资料" << "客户资料.xls";
        QTest::newRow("employees") << ImportTarget::Employees << "导入员工资料" << "员工资料.xls";
    }
    void captionAndTemplateFollowTheTarget()
    {
        QFETCH(ImportTarget, target);
        QFETCH(QString, caption);
        QFETCH(QString, file);
        TFdr1 d(target);
        QCOMPARE(d.windowTitle(), caption);
        auto *edit1 = d.findChild<QLineEdit *>("Edit1");
        QVERIFY(edit1->isReadOnly());
        QCOMPARE(QDir::fromNativeSeparators(edit1->text()),
                 QDir(QCoreApplication::applicationDirPath()).filePath("数据导入模版/" + file));
        QCOMPARE(d.minimumSize(), d.maximumSize());
        QCOMPARE(d.findChild<QToolButton *>("SpeedButton1")->toolTip(), QString("打开模版"));
        QCOMPARE(d.findChild<QToolButton *>("SpeedButton2")->toolTip(), QString("选择文件"));
    }

    void enterInTheSourceFieldChoosesThenImports()
    {
        TestBook book;
        ScriptedPrompter p;
        QTemporaryDir dir;
        const QString path = writeCsv(dir, "in.csv", SupplierHeading + "华东建材,王五\n");
        ScriptedTFdr1 d(ImportTarget::Suppliers);
        auto *edit2 = d.findChild<QLineEdit *>("Edit2");
        edit2->setText("left from before");
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(edit2->text(), QString());
        QCOMPARE(QApplication::focusWidget(), edit2);

        // Empty: Enter opens the chooser; cancelling it leaves the field empty.
        QTest::keyClick(edit2, Qt::Key_Return);
        QCOMPARE(d.choices, 1);
        QCOMPARE(edit2->text(), QString());
        d.chosen = path;
        QTest::keyClick(edit2, Qt::Key_Return);
        QCOMPARE(d.choices, 2);
        QCOMPARE(QDir::fromNativeSeparators(edit2->text()), path);
        QVERIFY(p.messages().isEmpty());
        QCOMPARE(count(book.db(), "ghs"), 0);

        // Filled: Enter imports, says so and closes.
        QTest::keyClick(edit2, Qt::Key_Return);
        QCOMPARE(d.choices, 2);
        QCOMPARE(p.lastKind(), QString("info"));
        QCOMPARE(p.last(), QString("批量导入成功!"));
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(!d.isVisible());
        QCOMPARE(count(book.db(), "ghs"), 1);
    }

    void emptySourceIsRefused()
    {
        TestBook book;
        ScriptedPrompter p;
        ScriptedTFdr1 d(ImportTarget::Goods);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        auto *edit2 = d.findChild<QLineEdit *>("Edit2");
        edit2->setText("   ");
        d.findChild<QPushButton *>("BitBtn2")->setFocus();
        QTest::mouseClick(d.findChild<QPushButton *>("BitBtn1"), Qt::LeftButton);
        QCOMPARE(p.texts(), QStringList{"导入源文件不可为空！"});
        QCOMPARE(p.lastKind(), QString("info"));
        QCOMPARE(QApplication::focusWidget(), edit2);
        QVERIFY(d.isVisible());
    }

    void failureSaysWhyAndStaysOpen()
    {
        TestBook book;
        ScriptedPrompter p;
        QTemporaryDir dir;
        const QString path = writeCsv(dir, "in.csv", "姓名,性别\n张三,男\n");
        ScriptedTFdr1 d(ImportTarget::Employees);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        d.findChild<QLineEdit *>("Edit2")->setText(path);
        QTest::mouseClick(d.findChild<QPushButton *>("BitBtn1"), Qt::LeftButton);
        QCOMPARE(p.lastKind(), QString("warn"));
        QVERIFY2(p.last().startsWith("批量导入失败!\n") && p.last().contains("基本工资"), qPrintable(p.last()));
        QVERIFY(d.isVisible());
        QCOMPARE(count(book.db(), "yg"), 0);
    }

    void templateOpensOrTheOperatorIsToldWhereItIs()
    {
        ScriptedPrompter p;
        ScriptedTFdr1 d(ImportTarget::Customers);
        auto *open = d.findChild<QToolButton *>("SpeedButton1");
        const QString path = d.templatePath();
        const bool existed = QFile::exists(path);
        if (!existed) {
            QTest::mouseClick(open, Qt::LeftButton);
            QCOMPARE(p.lastKind(), QString("warn"));
            QVERIFY(p.last().contains(QDir::toNativeSeparators(path)));
            QVERIFY(d.opened.isEmpty());
            QDir().mkpath(QFileInfo(path).path());
            QVERIFY(QFile::copy(QDir(qEnvironmentVariable("MARVODA_SOURCE_DIR")).filePath("assets/数据导入模版/客户资料.xls"), path));
        }
        p.clear();
        QTest::mouseClick(open, Qt::LeftButton);
        QCOMPARE(d.opened, QStringList{path});
        QCOMPARE(p.lastKind(), QString("info"));
        QCOMPARE(p.last(), QString("没有找到可以打开模版的电子表格程序，模版文件在：\n") + QDir::toNativeSeparators(path));
        p.clear();
        d.desktopOpens = true;
        QTest::mouseClick(open, Qt::LeftButton);
        QVERIFY(p.messages().isEmpty());
        if (!existed) QDir(QFileInfo(path).path()).removeRecursively();
    }

    void escCancels()
    {
        TFdr1 d(ImportTarget::Goods);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QTest::keyClick(d.findChild<QLineEdit *>("Edit2"), Qt::Key_Escape);
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QVERIFY(!d.isVisible());
    }
};

MARVODA_TEST(TestTFdr1)
#include "tst_tfdr1.moc"
