// Awkward text typed and pasted into every text field of the master-data dialogs and the entry
// windows: stored exactly as it arrived and shown back, or refused whole with a message.
#include "app/widgets/text_field.h"
#include "documents/document_service.h"
#include "documents/ui/tftjcgd1.h"
#include "documents/ui/tftjdbd1.h"
#include "documents/ui/tftjpfd1.h"
#include "documents/ui/tftjrkd1.h"
#include "documents/ui/tftjxsd1.h"
#include "entry_fixture.h"
#include "master/company_info.h"
#include "master/employee_book.h"
#include "master/goods.h"
#include "master/partner_book.h"
#include "master/ui/lookup_list_window.h"
#include "master/ui/tfdanwei1.h"
#include "master/ui/tfsp2.h"
#include "master/ui/tftjghs1.h"
#include "master/ui/tftjkh1.h"
#include "master/ui/tftjsp1.h"
#include "master/ui/tftjyg1.h"
#include "test_main.h"

#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QPushButton>

#include <memory>

namespace {

// One form under test: how it is opened ready for the fields (what else it needs filled in),
// its fields with the stored column each writes, how it saves, where the row lands, and how
// the stored row is opened again for editing.
struct Form {
    std::function<std::unique_ptr<QWidget>()> open;
    QList<std::pair<QString, QString>> fields;   // objectName, column
    std::function<void(QWidget *)> save;
    QString table;
    std::function<std::unique_ptr<QWidget>(QWidget *opened, Database &db)> reopen;
};

template <class D> std::unique_ptr<QWidget> shown(std::unique_ptr<D> d)
{
    d->show();
    QApplication::setActiveWindow(d.get());
    return d;
}

void clickSave(QWidget *w)
{
    auto *b = w->findChild<QPushButton *>("BitBtn1");
    if (!b) b = w->findChild<QPushButton *>(QString::fromUtf8("保存"));
    QVERIFY(b);
    b->click();
}

QSqlQuery lastRow(Database &db, const QString &table)
{
    QSqlQuery q = db.exec("SELECT * FROM " + table + " ORDER BY id DESC LIMIT 1");
    q.next();
    return q;
}

QList<std::pair<QString, QString>> edits(const QList<int> &numbers, const QStringList &columns)
{
    QList<std::pair<QString, QString>> out;
    for (int i = 0; i < numbers.size(); ++i) out.append({QStringLiteral("Edit%1").arg(numbers[i]), columns[i]});
    return out;
}

Form lookupForm(LookupKind kind)
{
    const LookupListConfig &c = LookupListConfig::of(kind);
    return {[kind] { return shown(std::unique_ptr<LookupAddDialog>(makeLookupAddDialog(kind, nullptr))); },
            {{"Edit1", c.columns.last()}},
            [](QWidget *w) { static_cast<LookupAddDialog *>(w)->saveClick(); },
            c.table,
            [kind, c](QWidget *, Database &db) {
                QSqlQuery q = lastRow(db, c.table);
                std::unique_ptr<LookupAddDialog> d(makeLookupAddDialog(kind, nullptr));
                d->setEditing(q.value("id").toLongLong(), q.value(c.columns.last()).toString());
                return shown(std::move(d));
            }};
}

template <class D> Form partnerForm(const QString &table)
{
    return {[] { return shown(std::make_unique<D>()); },
            edits({1, 2, 3, 4, 5, 7, 8, 9}, {"mc", "lxr", "lxdh", "lxdz", "lxcz", "yhmc", "yhzh", "bz"}),
            clickSave,
            table,
            [table](QWidget *, Database &db) {
                auto d = std::make_unique<D>();
                d->startEditing(PartnerRecord::fromQuery(lastRow(db, table)));
                return shown(std::move(d));
            }};
}

Form goodsForm()
{
    return {[] {
                auto d = std::make_unique<TFtjsp1>();
                d->field("ck")->setText("一号库");
                d->field("lb")->setText("钢材");
                d->field("dw")->setText("根");
                return shown(std::move(d));
            },
            {{"ppgg", "ppgg"}, {"txm", "txm"}, {"ms", "ms"}, {"bz", "bz"}},
            [](QWidget *w) { static_cast<TFtjsp1 *>(w)->saveClick(); },
            "sp",
            [](QWidget *, Database &db) {
                auto d = std::make_unique<TFtjsp1>();
                d->setEditing(GoodsRecord::fromQuery(lastRow(db, "sp")));
                return shown(std::move(d));
            }};
}

Form employeeForm()
{
    return {[] {
                auto d = std::make_unique<TFtjyg1>();
                d->findChild<QComboBox *>("ComboBox1")->setCurrentText("男");
                return shown(std::move(d));
            },
            edits({1, 2, 3, 4, 5, 8}, {"xm", "zw", "bm", "dh", "dz", "bz"}),
            clickSave,
            "yg",
            [](QWidget *, Database &db) {
                auto d = std::make_unique<TFtjyg1>();
                d->startEditing(EmployeeRecord::fromQuery(lastRow(db, "yg")));
                return shown(std::move(d));
            }};
}

Form companyForm()
{
    return {[] { return shown(std::make_unique<TFdanwei1>()); },
            edits({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, CompanyInfo::columns()),
            clickSave,
            "danwei",
            [](QWidget *, Database &) { return shown(std::make_unique<TFdanwei1>()); }};
}

// An entry window with its header and one line: the note (and a counter customer) are typed,
// F9 holds the document, taking it up again shows it.
template <class W> Form entryForm(const QString &table, QList<std::pair<QString, QString>> fields = {{"bz", "bz"}})
{
    return {[] {
                auto w = std::make_unique<W>();
                showActive(*w);
                for (const ListField &f : w->config().listFields) fieldOf(w.get(), qPrintable(f.column))->setText("一号库");
                fieldOf(w.get(), "jsr")->setText("张三");
                if (!w->kind().partyColumn.isEmpty()) fieldOf(w.get(), qPrintable(w->kind().partyColumn))->setText("华新水泥");
                keyInLine(*w, "DXGG", "2");
                return std::unique_ptr<QWidget>(std::move(w));
            },
            fields,
            [](QWidget *) { press(Qt::Key_F9); },
            table,
            [](QWidget *opened, Database &db) {
                auto *w = static_cast<W *>(opened);
                const QString dh = lastRow(db, w->kind().headerTable).value("dh").toString();
                w->takeUp(*DocumentService(db, w->kind()).header(dh));
                return std::unique_ptr<QWidget>();
            }};
}

const QMap<QString, Form> &forms()
{
    static const QMap<QString, Form> all = {
        {"goods", goodsForm()},
        {"category", lookupForm(LookupKind::Category)},
        {"unit", lookupForm(LookupKind::Unit)},
        {"warehouse", lookupForm(LookupKind::Warehouse)},
        {"reason", lookupForm(LookupKind::AdjustmentReason)},
        {"item", lookupForm(LookupKind::IncomeExpenseItem)},
        {"supplier", partnerForm<TFtjghs1>("ghs")},
        {"customer", partnerForm<TFtjkh1>("kh")},
        {"employee", employeeForm()},
        {"company", companyForm()},
        {"purchase", entryForm<TFtjcgd1>("cgglz")},
        {"retail", entryForm<TFtjxsd1>("xsglz", {{"kh", "kh"}, {"bz", "bz"}})},
        {"wholesale", entryForm<TFtjpfd1>("xsglz")},
        {"transfer", entryForm<TFtjdbd1>("dbglz")},
        {"adjustment", entryForm<TFtjrkd1>("rkglz")},
    };
    return all;
}

// Puts `text` into the field the way an operator would: typed key by key, committed by an input
// method, or pasted over what the field shows.
void enter(QLineEdit *e, const QString &way, const QString &text)
{
    e->setFocus();
    e->selectAll();
    if (way == "type") {
        QTest::keyClicks(e, text);
    } else if (way == "ime") {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(e, &commit);
    } else {
        QApplication::clipboard()->setText(text);
        QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
    }
}

} // namespace

class TestBadInput : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        if (TFsp2 *p = TFsp2::instance()) delete p;
    }

    void storedExactlyOrRefusedWhole_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("text");
        const QString big = QString(1 << 20, u'宽');   // a megabyte and more of one character
        const QList<std::tuple<const char *, const char *, QString>> inputs = {
            {"quotes", "type", QStringLiteral("O'Neil \"A\" `b`")},
            {"quotes", "paste", QStringLiteral("'; DROP TABLE sp; --")},
            {"percent and underscore", "type", QStringLiteral("50%_off")},
            {"percent and underscore", "paste", QStringLiteral("%_%")},
            {"backslashes", "type", QStringLiteral("C:\\a\\\\b\\")},
            {"backslashes", "paste", QStringLiteral("\\%\\_\\'")},
            {"control characters", "paste", QStringLiteral("A\tB\x01" "C\x7f" "D\x1b" "E")},
            {"beyond U+FFFF", "ime", QStringLiteral("𠀀𝄞建材😀")},
            {"beyond U+FFFF", "paste", QStringLiteral("😀𠮷")},
            {"a megabyte", "paste", big},
        };
        for (auto it = forms().cbegin(); it != forms().cend(); ++it)
            for (const auto &[name, way, text] : inputs)
                QTest::addRow("%s, %s, %s", qPrintable(it.key()), name, way) << it.key() << QString(way) << text;
    }
    void storedExactlyOrRefusedWhole()
    {
        QFETCH(QString, form);
        QFETCH(QString, way);
        QFETCH(QString, text);
        const Form &f = forms()[form];
        EntryBook b;
        Database &db = b.book.db();
        const auto opened = f.open();
        b.prompter.clear();
        for (const auto &[name, column] : f.fields) {
            QLineEdit *e = opened->findChild<QLineEdit *>(name);
            QVERIFY2(e, qPrintable(name));
            const QString before = e->text();
            enter(e, way, text);
            if (text.size() > TextField::MaxLength) {
                // Refused whole: the field keeps what it showed, and the operator is told.
                QCOMPARE(e->text(), before);
                QTRY_COMPARE(b.prompter.texts(), QStringList{TextField::TooLongMessage});
                b.prompter.clear();
            } else {
                QCOMPARE(e->text(), text);
            }
        }
        if (text.size() > TextField::MaxLength) return;

        f.save(opened.get());
        QCOMPARE(b.prompter.texts(), QStringList());
        QSqlQuery row = lastRow(db, f.table);
        QVERIFY(row.isValid());
        for (const auto &[name, column] : f.fields)
            QVERIFY2(row.value(column).toString() == text, qPrintable(name));

        const auto again = f.reopen(opened.get(), db);
        QWidget *shownIn = again ? again.get() : opened.get();
        for (const auto &[name, column] : f.fields)
            QVERIFY2(shownIn->findChild<QLineEdit *>(name)->text() == text, qPrintable(name));
    }
};

MARVODA_TEST(TestBadInput)
#include "tst_bad_input.moc"
