#include "app/widgets/record_table_model.h"
#include "master/goods.h"
#include "master/lookup_list.h"
#include "master/ui/goods_picker_panel.h"
#include "master/ui/tfcxsp1.h"
#include "master/ui/tfsp1.h"
#include "master/ui/tfsp2.h"
#include "master/ui/tfsp3.h"
#include "master/ui/tftjsp1.h"
#include "scripted_prompter.h"
#include "test_book.h"
#include "test_main.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace {

qint64 addGoods(const QString &ck, const QString &ppgg, const QString &txm, const QString &lb = "钢材",
                const QString &jj = "10", const QString &xjls = "15", const QString &kcjg = "8.5")
{
    GoodsEntry e;
    e.ck = ck;
    e.lb = lb;
    e.ppgg = ppgg;
    e.txm = txm;
    e.dw = "根";
    e.jj = jj;
    e.xjpf = "12";
    e.xjls = xjls;
    e.kcjg = kcjg;
    GoodsRecord r;
    if (GoodsCatalogue(book()).add(e, &r)) return 0;
    return r.id;
}

// A document window as the line picker sees it: a warehouse, a line set, two totals.
struct TestDocument : GoodsLineCaller {
    QString ck;
    QList<GoodsLine> lines;
    Decimal hjsl, hjje;
    QString currentWarehouse() const override { return ck; }
    void appendGoodsLine(const GoodsLine &l) override { lines << l; }
    void recomputeTotals() override
    {
        hjsl = hjje = Decimal();
        for (const GoodsLine &l : lines) {
            hjsl += l.sl;
            hjje += l.je;
        }
    }
};

// The assembly window's goods fields and its marker "sao".
struct TestAssembly : AssemblyGoodsCaller {
    QStringList sao;   // every value written, in order
    QStringList filled;
    void assemblyGoodsChosen(const QString &mark, const PickedGoods &g) override
    {
        filled << QStringLiteral("%1:%2:%3:%4").arg(mark, g.txm, g.kcsl.toPlain(), sao.value(sao.size() - 1));
    }
    void setSao(const QString &v) override { sao << v; }
};

QStringList shownNames(const RecordTableModel *m)
{
    QStringList out;
    for (int r = 0; r < m->rowCount(); ++r) out << m->text(r, QStringLiteral("ppgg"));
    return out;
}

QLineEdit *field(QWidget *w, const QString &name) { return w->findChild<QLineEdit *>(name); }

} // namespace

class TestGoodsUi : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        if (TFsp2 *p = TFsp2::instance()) delete p;
    }

    void dialogCodeFollowsTheNameAndKeepsFieldsAfterAdding()
    {
        TestBook book;
        ScriptedPrompter p;
        TFtjsp1 d;
        d.setAdding();
        d.show();
        QApplication::setActiveWindow(&d);
        QCOMPARE(d.windowTitle(), QString("新增商品资料"));
        field(&d, "ck")->setText("一号库");
        field(&d, "lb")->setText("钢材");
        field(&d, "dw")->setText("根");
        field(&d, "ppgg")->setText("pvc20");
        QCOMPARE(field(&d, "txm")->text(), QString("PVC20"));
        field(&d, "txm")->setText("MINE");
        field(&d, "ppgg")->setText("镀锌钢管 dn20");   // a new name overwrites a typed code
        QCOMPARE(field(&d, "txm")->text(), QString("DXGG DN20"));
        field(&d, "jj")->setText("12.345");
        field(&d, "xjls")->setText("12.355");
        field(&d, "xjpf")->setText("12.3");
        QApplication::clipboard()->setText("-3");   // a negative stock cannot be pasted in
        field(&d, "kcsl")->selectAll();
        QTest::keyClick(field(&d, "kcsl"), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(field(&d, "kcsl")->text(), QString("0"));
        field(&d, "kcsl")->setText("3");
        field(&d, "kcjg")->setText("2.5");
        field(&d, "ms")->setText("O'Neil 100%_");
        QList<GoodsRecord> saved;
        connect(&d, &TFtjsp1::saved, this, [&saved](const GoodsRecord &r) { saved << r; });
        QTest::keyClick(field(&d, "bz"), Qt::Key_Return);   // Enter in the note saves
        QVERIFY2(p.messages().isEmpty(), qPrintable(p.last()));
        QCOMPARE(saved.size(), 1);
        const GoodsRecord r = *GoodsCatalogue(book.db()).find(saved[0].id);
        QCOMPARE(r.jj.toFixed2(), QString("12.34"));
        QCOMPARE(r.xjls.toFixed2(), QString("12.36"));
        QCOMPARE(r.xjpf.toFixed2(), QString("12.30"));
        QCOMPARE(r.kcje.toFixed2(), QString("7.50"));
        QCOMPARE(r.ms, QString("O'Neil 100%_"));
        QCOMPARE(field(&d, "jj")->text(), QString("12.34"));   // the field shows what was stored

        // Kept for the next article: warehouse, category, unit, prices, commissions.
        QVERIFY(d.isVisible());
        for (const char *kept : {"ck", "lb", "dw", "jj", "xjpf", "xjls", "slt", "jet"}) QVERIFY(!field(&d, kept)->text().isEmpty());
        QCOMPARE(field(&d, "xjpf")->text(), QString("12.3"));
        for (const char *cleared : {"ppgg", "txm", "ms", "bz"}) QVERIFY(field(&d, cleared)->text().isEmpty());
        QCOMPARE(field(&d, "kcsl")->text(), QString("0"));
        QCOMPARE(field(&d, "kcjg")->text(), QString("0"));

        field(&d, "ppgg")->setText("镀锌钢管 dn20");
        d.saveClick();
        QCOMPARE(p.texts(), QStringList{"商品不可重复！"});
        QCOMPARE(QApplication::focusWidget(), field(&d, "txm"));
    }

    void listShowsRowsCountsAndDeletesAfterConfirming()
    {
        TestBook book;
        ScriptedPrompter p;
        LookupList(book.db(), LookupKind::Category).add({"钢材"});
        LookupList(book.db(), LookupKind::Category).add({"涂料"});
        addGoods("一号库", "钢管", "GG");
        addGoods("一号库", "O'Neil 漆", "ONQ", "涂料");
        TFsp1 w;
        w.show();
        QCOMPARE(w.recordCountText(), QString("记录数：2"));
        w.showCategory("涂料");
        QCOMPARE(shownNames(w.model()), QStringList{"O'Neil 漆"});
        w.deleteClick();   // Cancel
        QCOMPARE(p.last(), QString("确定要删除此商品么？\n\n一旦删除，对应的库存资料也会删除"));
        QCOMPARE(w.model()->rowCount(), 1);
        p.answer(true);
        w.deleteClick();
        QCOMPARE(w.recordCountText(), QString("记录数：0"));
        w.editClick();
        QCOMPARE(p.last(), QString("没有商品可修改！"));

        // The query dialog fills the list, quotes and all.
        addGoods("二号库", "O'Neil_2", "ON2", "涂料");
        QTimer::singleShot(0, [] {
            auto *d = qobject_cast<TFcxsp1 *>(QApplication::activeModalWidget());
            QVERIFY(d);
            QCOMPARE(d->mode(), QString("sp"));
            d->findChild<QLineEdit *>("Edit3")->setText("l_");
            d->findChild<QPushButton *>("查询")->click();
        });
        w.queryClick();
        QCOMPARE(shownNames(w.model()), QStringList{"O'Neil_2"});
        QCOMPARE(w.recordCountText(), QString("记录数：1"));
    }

    void pickerSearchesOnlyTheCurrentWarehouse()
    {
        TestBook book;
        ScriptedPrompter p;
        addGoods("一号库", "镀锌钢管", "DXGG");
        addGoods("二号库", "镀锌钢管", "DXGG");
        addGoods("一号库", "5% 涂料", "TL5", "涂料");
        addGoods("一号库", "水泥_425", "SN");
        TestDocument purchase;
        purchase.ck = "一号库";
        TFsp2 *picker = TFsp2::openFor("tjcg", purchase);
        QVERIFY(picker);
        auto *edit1 = picker->findChild<QLineEdit *>("Edit1");
        QCOMPARE(picker->findChild<QLineEdit *>("Edit2")->text(), QString("一号库"));
        QCOMPARE(picker->panel()->model()->rowCount(), 3);
        edit1->setText("gg");
        QCOMPARE(shownNames(picker->panel()->model()), QStringList{"镀锌钢管"});
        QTest::keyClick(edit1, Qt::Key_Return);   // Enter in the search box chooses what it found
        QCOMPARE(purchase.lines.size(), 1);
        QCOMPARE(purchase.lines[0].txm, QString("DXGG"));
        QVERIFY(picker->isVisible());
        edit1->setText("涂料");   // the category
        QCOMPARE(shownNames(picker->panel()->model()), QStringList{"5% 涂料"});
        edit1->setText("%");
        QCOMPARE(shownNames(picker->panel()->model()), QStringList{"5% 涂料"});
        edit1->setText("_");
        QCOMPARE(shownNames(picker->panel()->model()), QStringList{"水泥_425"});
        edit1->setText("'");
        QCOMPARE(picker->panel()->model()->rowCount(), 0);
        QTest::keyClick(edit1, Qt::Key_Return);
        QCOMPARE(p.texts(), QStringList{"没有商品可选择！"});
        QCOMPARE(purchase.lines.size(), 1);
    }

    void twoPicksGiveTwoLinesAndThePickerFollowsItsLastCaller()
    {
        TestBook book;
        ScriptedPrompter p;
        addGoods("一号库", "镀锌钢管", "DXGG", "钢材", "10", "15", "8.5");
        addGoods("二号库", "螺纹钢", "LWG", "钢材", "20", "30", "18");
        TestDocument purchase, sale;
        purchase.ck = "一号库";
        sale.ck = "二号库";

        TFsp2 *picker = TFsp2::openFor("tjcg", purchase);
        QTableView *grid = picker->panel()->grid();
        auto visible = [grid, picker](const char *f) { return !grid->isColumnHidden(picker->panel()->model()->columnOf(QString::fromLatin1(f))); };
        QVERIFY(visible("jj") && !visible("xjls") && !visible("xjpf") && !visible("kcjg"));
        picker->chooseClick();
        picker->chooseClick();
        QCOMPARE(purchase.lines.size(), 2);
        QCOMPARE(purchase.hjsl.toPlain(), QString("2"));
        QCOMPARE(purchase.hjje.toPlain(), QString("20"));

        QCOMPARE(TFsp2::openFor("tjxs", sale), picker);   // the one picker, re-targeted
        QVERIFY(visible("xjls") && !visible("jj"));
        QCOMPARE(shownNames(picker->panel()->model()), QStringList{"螺纹钢"});
        picker->chooseClick();
        QCOMPARE(purchase.lines.size(), 2);
        QCOMPARE(sale.lines.size(), 1);
        QCOMPARE(sale.lines[0].jg.toPlain(), QString("30"));
        QCOMPARE(sale.lines[0].maoli->toPlain(), QString("12"));
        QCOMPARE(sale.hjje.toPlain(), QString("30"));

        TestDocument transfer;
        QCOMPARE(TFsp2::openFor("tjdb", transfer), nullptr);
        QCOMPARE(p.last(), QString("调出仓库不可为空！"));
        TFsp2::closeFor(purchase);   // not its caller any more: stays
        QVERIFY(TFsp2::instance());
    }

    void assemblyPickerHandsBackSao_data()
    {
        QTest::addColumn<QString>("key");   // how the operator leaves the picker
        QTest::newRow("closed without a choice") << "Esc";
        QTest::newRow("chosen with the button") << "选择";
        QTest::newRow("chosen by Enter in the search box") << "Enter";
    }
    void assemblyPickerHandsBackSao()
    {
        QFETCH(QString, key);
        const bool choose = key != "Esc";
        TestBook book;
        ScriptedPrompter p;
        addGoods("一号库", "镀锌钢管", "DXGG");
        addGoods("二号库", "螺纹钢", "LWG");
        TestAssembly assembly;
        QTimer::singleShot(0, [key] {
            auto *d = qobject_cast<TFsp3 *>(QApplication::activeModalWidget());
            QVERIFY(d);
            QCOMPARE(d->windowTitle(), QString("选择整件"));
            QCOMPARE(shownNames(d->panel()->model()), QStringList{"镀锌钢管"});   // the warehouse's goods
            if (key == "选择") d->findChild<QPushButton *>("选择")->click();
            else if (key == "Enter") QTest::keyClick(d->panel()->searchBox(), Qt::Key_Return);
            else QTest::keyClick(d, Qt::Key_Escape);
            if (d->isVisible()) d->reject();   // a key that did nothing: the checks below tell
        });
        QCOMPARE(TFsp3::pick("zu1", "一号库", assembly, "选择整件", nullptr), choose);
        QCOMPARE(assembly.sao, (QStringList{"xuan", "sao"}));
        QCOMPARE(assembly.filled, choose ? QStringList{"zu1:DXGG:0:xuan"} : QStringList{});

        QVERIFY(!TFsp3::pick("chai2", " ", assembly, "选择零件", nullptr));
        QCOMPARE(p.last(), QString("零件仓库不可为空！"));
    }
};

MARVODA_TEST(TestGoodsUi)
#include "tst_goods_ui.moc"
