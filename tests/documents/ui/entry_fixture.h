// A book with what a purchase needs (a warehouse, a supplier, a handler, goods with prices)
// and the open purchase window, driven by real keys on whatever has the focus.
#pragma once

#include "app/text/decimal.h"
#include "documents/ui/tftjcgd1.h"
#include "ledger_rows.h"
#include "master/employee_book.h"
#include "master/lookup_list.h"
#include "master/partner_book.h"
#include "scripted_prompter.h"
#include "test_book.h"

#include <QApplication>
#include <QLineEdit>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <functional>

inline qint64 addPricedGoods(Database &db, const QString &ck, const QString &txm, const QString &ppgg, const char *jj)
{
    return db.insert("sp", {{"ck", ck}, {"lb", "钢材"}, {"txm", txm}, {"ppgg", ppgg}, {"dw", "根"},
                            {"jj", Decimal::parseOr0(QString::fromLatin1(jj)).raw()}, {"kcsl", 0}, {"kcjg", 0}, {"kcje", 0}});
}

struct EntryBook {
    TestBook book;
    ScriptedPrompter prompter;

    EntryBook()
    {
        LookupList(book.db(), LookupKind::Warehouse).add({"一号库"});
        PartnerRecord s;
        s.mc = "华新水泥";
        PartnerBook(book.db(), PartnerKind::Supplier).add(s);
        EmployeeRecord e;
        e.xm = "张三";
        e.xb = "男";
        EmployeeBook(book.db()).add(e);
        addPricedGoods(book.db(), "一号库", "DXGG", "镀锌钢管", "5");
        addPricedGoods(book.db(), "一号库", "SN", "水泥", "2.5");
        addPricedGoods(book.db(), "二号库", "LWG", "螺纹钢", "20");
    }
};

// The window shown and active, as the operator has it: keys go where its focus is.
inline void showActive(QWidget &w)
{
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

// Stock on hand of every goods row with the code.
inline void setStock(Database &db, const QString &txm, const char *kcsl, const char *kcjg, const char *kcje)
{
    db.exec("UPDATE sp SET kcsl = ?, kcjg = ?, kcje = ? WHERE txm = ?",
            {Decimal::parseOr0(QString::fromLatin1(kcsl)).raw(), Decimal::parseOr0(QString::fromLatin1(kcjg)).raw(),
             Decimal::parseOr0(QString::fromLatin1(kcje)).raw(), txm});
}

inline QLineEdit *fieldOf(QWidget *w, const char *name) { return w->findChild<QLineEdit *>(QString::fromLatin1(name)); }
inline QWidget *focused() { return QApplication::focusWidget(); }
inline void press(Qt::Key key)
{
    QVERIFY(focused());
    QTest::keyClick(focused(), key);
}
inline void typeInto(QLineEdit *e, const char *text)
{
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, QString::fromLatin1(text));
}

// A shown and active entry window with warehouse, handler and party filled.
inline void fillHeader(DocumentEntryWindow &w, const QString &party = "华新水泥")
{
    fieldOf(&w, "ck")->setText("一号库");
    fieldOf(&w, "jsr")->setText("张三");
    w.findChild<QLineEdit *>(w.kind().partyColumn)->setText(party);
}

// Adds a line to any entry window by typing its code and quantity, ending with Enter in the quantity.
inline void keyInLine(QWidget &w, const char *code, const char *quantity)
{
    typeInto(fieldOf(&w, "txm"), code);
    press(Qt::Key_Return);   // to the quantity
    QTest::keyClicks(focused(), QString::fromLatin1(quantity));
    press(Qt::Key_Return);   // adds the line
}

inline QStringList rowsOf(Database &db, const QString &sql, std::initializer_list<QVariant> values = {})
{
    QStringList out;
    QSqlQuery q = db.exec(sql, values);
    while (q.next()) {
        QStringList cells;
        // Amounts and quantities read as decimals, the way the operator sees them.
        for (int i = 0; i < q.record().count(); ++i)
            cells << (ledger_rows::amountColumns().contains(q.record().fieldName(i))
                          ? Decimal::fromRaw(q.value(i).toLongLong()).toPlain()
                          : q.value(i).toString());
        out << cells.join('|');
    }
    return out;
}

// Answers the next modal dialog of class D; a dialog still open afterwards (a failed check
// inside) is closed, so a failure reports instead of hanging the run.
template <class D> void answerModal(std::function<void(D *)> inside)
{
    QTimer::singleShot(0, [inside] {
        auto *d = qobject_cast<D *>(QApplication::activeModalWidget());
        if (!d) {
            if (auto *other = qobject_cast<QDialog *>(QApplication::activeModalWidget())) other->reject();
            QFAIL("the expected dialog is not showing");
        }
        inside(d);
        if (d->isVisible()) d->reject();
    });
}
