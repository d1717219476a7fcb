// Builds the operator's manual "Marvoda操作说明书.pdf" from the program itself: fills a demo book
// with one document of every kind, opens every window of the menu offscreen on it, grabs each as
// a picture, and renders the manual's HTML (tools/manual/manual.html) with those pictures and the
// figures the demo book produced to PDF.
//
//   marvoda-manual TEMPLATE.html OUT.pdf [SHOTS_DIR]
//
// A placeholder {{name}} in the template is a figure of the demo book; an unknown one, or a
// picture the template names but no window gave, stops the tool, so the text stays true.
// The take-over's report is that of the committed fixture tests/admin/takeover/full.mdb, found
// beside the template's source tree.
#include "admin/ui/takeover_dialog.h"
#include "app/data/dm1.h"
#include "app/data/schema.h"
#include "app/session.h"
#include "app/text/amount_to_capitals.h"
#include "app/text/decimal.h"
#include "app/ui/startup.h"
#include "app/ui/tfdl1.h"
#include "app/ui/tfljsz1.h"
#include "app/ui/tfmain1.h"
#include "app/ui/tfscqd1.h"
#include "documents/document_numbering.h"
#include "documents/document_service.h"
#include "documents/line_buffer.h"
#include "finance/income_expense.h"
#include "finance/settlement.h"
#include "program_commands.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QInputMethodEvent>
#include <QLocale>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

namespace {

[[noreturn]] void fail(const QString &why)
{
    std::fprintf(stderr, "marvoda-manual: %s\n", qPrintable(why));
    std::exit(1);
}

Decimal dec(const char *text) { return *Decimal::parse(QString::fromLatin1(text)); }

void settle(int ms = 120)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// ---------------------------------------------------------------- the demo book

// The dealer of the manual's examples: three goods in the first warehouse, two partners of
// each kind, two clerks; then one document of every kind, a payment, a collection and an
// expense, each through the services the windows use. `figures` receives what they produced.
class DemoBook {
public:
    DemoBook(Database &db, QHash<QString, QString> &figures) : db_(db), fig_(figures) {}

    void fill()
    {
        db_.exec(QStringLiteral("UPDATE danwei SET mczc = ?, mcdy = ?, lxr = ?, dh = ?, dz = ?, bz3 = ?, bz4 = ?"),
                 {"宏远建材商行", "宏远建材商行", "王宏远", "0731-8888 6666", "建设路18号",
                  "谢谢惠顾，货物当面点清", "地址：建设路18号  电话：0731-8888 6666"});
        for (const char *v : {"一号库", "二号库"}) db_.insert("ck", {{"ck", v}});
        for (const char *v : {"水泥", "钢材", "瓷砖"}) db_.insert("lb", {{"lb", v}});
        for (const char *v : {"包", "根", "片"}) db_.insert("dw", {{"dw", v}});
        for (const char *v : {"盘盈", "盘亏", "损耗"}) db_.insert("rklx", {{"lx", v}});
        db_.insert("szxm", {{"lb", "支出"}, {"xm", "运费"}});
        db_.insert("szxm", {{"lb", "收入"}, {"xm", "废料变卖"}});
        db_.insert("ghs", {{"mc", "华新水泥厂"}, {"lxr", "李经理"}, {"lxdh", "0731-5555 1234"}, {"lxdz", "工业园3号"}});
        db_.insert("ghs", {{"mc", "湘钢经销部"}, {"lxr", "赵先生"}, {"lxdh", "0731-5555 4321"}, {"lxdz", "钢材市场A区"}});
        db_.insert("kh", {{"mc", "零散客户"}});
        db_.insert("kh", {{"mc", "城东装饰公司"}, {"lxr", "陈工"}, {"lxdh", "139 0000 1111"}, {"lxdz", "城东大道66号"}});
        db_.insert("yg", {{"xm", "张三"}, {"xb", "男"}, {"zw", "营业员"}, {"dh", "138 0000 2222"}});
        db_.insert("yg", {{"xm", "李四"}, {"xb", "女"}, {"zw", "仓管"}, {"dh", "138 0000 3333"}});
        goods("一号库", "水泥", "SNPO425", "水泥P.O42.5", "包", "30", "32", "40", "24");
        goods("一号库", "钢材", "LWGF12", "螺纹钢Φ12", "根", "45", "48", "0", "0");
        goods("一号库", "瓷砖", "CZ600", "瓷砖600×600", "片", "8", "9.5", "200", "6");
        db_.insert("yhsz", {{"yhmc", "张三"}, {"yhmm", QString()}});
        for (const char *qx : {"基本资料", "零售开单", "批发开单", "销售查询"}) db_.insert("quanxian", {{"yh", "张三"}, {"qx", qx}});
        record("start", "一号库", "SNPO425");
        record("start", "一号库", "CZ600");

        const QDate today = QDate::currentDate();
        fig_["today"] = today.toString(QStringLiteral("yyyy-MM-dd"));

        fig_["cg.dh"] = document(DocType::Purchase, {{"ck", "一号库"}, {"ghs", "华新水泥厂"}}, "5000",
                                 {line("SNPO425", "60", "25"), line("LWGF12", "100", "38")}, today);
        record("cg", "一号库", "SNPO425");
        record("cg", "一号库", "LWGF12");
        header("cg", "cgglz", "yfe", "sfe");

        fig_["xs.dh"] = document(DocType::Retail, {{"ck", "一号库"}, {"kh", "零散客户"}}, nullptr,
                                 {line("SNPO425", "10", "32")}, today);
        record("xs", "一号库", "SNPO425");
        header("xs", "xsglz", "yse", "sse");
        QSqlQuery q = db_.exec(QStringLiteral("SELECT cbje, maoli FROM xsfx WHERE dh = ?"), {fig_["xs.dh"]});
        if (!q.next()) fail(QStringLiteral("the retail sale wrote no ledger row"));
        fig_["xs.cbje"] = Decimal::fromRaw(q.value(0).toLongLong()).toFixed2();
        fig_["xs.maoli"] = Decimal::fromRaw(q.value(1).toLongLong()).toFixed2();

        fig_["pf.dh"] = document(DocType::Wholesale, {{"ck", "一号库"}, {"kh", "城东装饰公司"}}, "2000",
                                 {line("LWGF12", "30", "45"), line("CZ600", "100", "8")}, today);
        record("pf", "一号库", "LWGF12");
        record("pf", "一号库", "CZ600");
        header("pf", "xsglz", "yse", "sse");

        fig_["db.dh"] = document(DocType::Transfer, {{"ck1", "一号库"}, {"ck2", "二号库"}}, nullptr,
                                 {line("SNPO425", "20", "24.6")}, today);
        record("db1", "一号库", "SNPO425");
        record("db2", "二号库", "SNPO425");

        fig_["yd.dh"] = document(DocType::Adjustment, {{"ck", "一号库"}, {"lx", "盘亏"}}, nullptr,
                                 {line("CZ600", "-2", "6")}, today);
        record("yd", "一号库", "CZ600");

        settle(SettlementKind::Payment, fig_["cg.dh"], "华新水泥厂", "300", today);
        settle(SettlementKind::Collection, fig_["pf.dh"], "城东装饰公司", "100", today);
        header("pf.after", "xsglz", "yse", "sse", fig_["pf.dh"]);
        header("cg.after", "cgglz", "yfe", "sfe", fig_["cg.dh"]);

        IncomeExpenseEntry e{today, IncomeExpenseBook::Expense, QStringLiteral("运费"), dec("120"),
                             QStringLiteral("李四"), QStringLiteral("送货到城东")};
        if (std::holds_alternative<Refusal>(IncomeExpenseBook(db_).save(e))) fail(QStringLiteral("the expense was refused"));
    }

private:
    void goods(const char *ck, const char *lb, const char *txm, const char *ppgg, const char *dw, const char *pf,
               const char *ls, const char *kcsl, const char *kcjg)
    {
        const Decimal sl = dec(kcsl), jg = dec(kcjg);
        db_.insert("sp", {{"ck", ck}, {"lb", lb}, {"txm", txm}, {"ppgg", ppgg}, {"dw", dw}, {"jj", jg.raw()},
                          {"xjpf", dec(pf).raw()}, {"xjls", dec(ls).raw()}, {"slt", 0}, {"jet", 0},
                          {"kcsl", sl.raw()}, {"kcjg", jg.raw()}, {"kcje", (sl * jg).round2().raw()}});
    }

    DocumentLine line(const char *txm, const char *sl, const char *jg)
    {
        QSqlQuery q = db_.exec(QStringLiteral("SELECT ppgg, dw, kcjg FROM sp WHERE txm = ? AND ck = '一号库'"), {txm});
        if (!q.next()) fail(QStringLiteral("no goods %1").arg(QLatin1String(txm)));
        DocumentLine l;
        l.txm = QString::fromLatin1(txm);
        l.ppgg = q.value(0).toString();
        l.dw = q.value(1).toString();
        l.sl = dec(sl);
        l.jg = dec(jg);
        l.cbjg = Decimal::fromRaw(q.value(2).toLongLong());
        l.recompute(true);
        return l;
    }

    QString document(DocType type, const QList<std::pair<QString, QString>> &fields, const char *paid,
                     const QList<DocumentLine> &lines, const QDate &today)
    {
        const DocumentKind &kind = documentKind(type);
        const DocumentNumbering::Result n = DocumentNumbering::next(db_, kind, today);
        if (n.outcome != DocumentNumbering::Outcome::Issued) fail(QStringLiteral("no document number"));
        LineBuffer buffer(db_, kind);
        buffer.startNew(n.dh);
        for (const DocumentLine &l : lines) {
            DocumentLine copy = l;
            copy.recompute(kind.salesLines);
            buffer.add(copy);
        }
        DocumentHeader h;
        h.rq = today.toString(QStringLiteral("yyyy-MM-dd"));
        h.jsr = QStringLiteral("张三");
        h.bz = QStringLiteral("操作说明示例");
        for (const auto &[column, value] : fields) h.setField(column, value);
        const DocumentTotals t = buffer.totals();
        h.hjsl = t.hjsl;
        h.hjje = t.hjje;
        h.payable = t.hjje;
        h.paid = paid ? dec(paid) : t.hjje;
        return DocumentService(db_, kind).save(h, buffer, true, today);
    }

    // "<step>.<txm>.kcsl" etc.: a goods row after a step of the example.
    void record(const QString &step, const char *ck, const char *txm)
    {
        QSqlQuery q = db_.exec(QStringLiteral("SELECT kcsl, kcjg, kcje FROM sp WHERE ck = ? AND txm = ?"), {ck, txm});
        if (!q.next()) fail(QStringLiteral("no goods row %1 in %2").arg(QLatin1String(txm), QString::fromUtf8(ck)));
        const QString key = step + u'.' + QLatin1String(txm);
        fig_[key + QStringLiteral(".kcsl")] = Decimal::fromRaw(q.value(0).toLongLong()).toPlain();
        fig_[key + QStringLiteral(".kcjg")] = Decimal::fromRaw(q.value(1).toLongLong()).toFixed2();
        fig_[key + QStringLiteral(".kcje")] = Decimal::fromRaw(q.value(2).toLongLong()).toFixed2();
    }

    // "<step>.hjje", ".paid", ".qk" and the capitals of the total, of the step's document.
    void header(const QString &step, const char *table, const char *payable, const char *paid, QString dh = {})
    {
        if (dh.isEmpty()) dh = fig_[step + QStringLiteral(".dh")];
        QSqlQuery q = db_.exec(QStringLiteral("SELECT hjsl, hjje, %1, %2, qk FROM %3 WHERE dh = ?")
                                   .arg(QLatin1String(payable), QLatin1String(paid), QLatin1String(table)),
                               {dh});
        if (!q.next()) fail(QStringLiteral("no document %1").arg(dh));
        auto d = [&](int i) { return Decimal::fromRaw(q.value(i).toLongLong()); };
        fig_[step + QStringLiteral(".hjsl")] = d(0).toPlain();
        fig_[step + QStringLiteral(".hjje")] = d(1).toFixed2();
        fig_[step + QStringLiteral(".payable")] = d(2).toFixed2();
        fig_[step + QStringLiteral(".paid")] = d(3).toFixed2();
        fig_[step + QStringLiteral(".qk")] = d(4).toFixed2();
        fig_[step + QStringLiteral(".dx")] = AmountToCapitals(d(1));
    }

    void settle(SettlementKind kind, const QString &dh, const char *partner, const char *amount, const QDate &today)
    {
        SettlementService s(db_, kind);
        const std::optional<OwedDocument> owed = s.owedDocument(dh);
        if (!owed) fail(QStringLiteral("%1 owes nothing").arg(dh));
        SettlementEntry e{today, dh, QString::fromUtf8(partner), owed->owed, dec(amount), QStringLiteral("李四"), {}};
        if (std::holds_alternative<Refusal>(s.save(e))) fail(QStringLiteral("the settlement of %1 was refused").arg(dh));
    }

    Database &db_;
    QHash<QString, QString> &fig_;
};

// ---------------------------------------------------------------- the pictures

QImage picture(QWidget *w)
{
    return w->grab().toImage().convertToFormat(QImage::Format_RGB888);
}

QPushButton *buttonCaptioned(QWidget *in, const QStringList &captions)
{
    for (QPushButton *b : in->findChildren<QPushButton *>())
        if (b->isVisible() && b->isEnabled() && captions.contains(b->text().remove(u'&'))) return b;
    return nullptr;
}

class Camera {
public:
    explicit Camera(TFmain1 &main) : main_(main) {}

    QHash<QString, QImage> shots;

    // A window of the menu opened inside the main window; `prepare` may fill it first, and
    // `more` take further pictures while it is open.
    void child(const QString &command, const QString &name, const std::function<void(QWidget *)> &prepare = {},
               const std::function<void(QWidget *)> &more = {})
    {
        trigger(command);
        settle();
        QMdiSubWindow *sub = main_.mdiArea()->activeSubWindow();
        if (!sub) fail(QStringLiteral("\"%1\" opened no window").arg(command));
        if (prepare) prepare(sub->widget());
        settle();
        shots[name] = picture(sub);
        if (more) more(sub->widget());
        sub->close();
        settle();
    }

    // A modal dialog opened by `open`: grabbed once it shows, then closed by `finish` (Esc by
    // default).
    void modal(const std::function<void()> &open, const QString &name,
               const std::function<void(QWidget *)> &finish = {})
    {
        QWidget *before = QApplication::activeModalWidget();
        auto *poll = new QTimer;
        auto ticks = std::make_shared<int>(0);
        QObject::connect(poll, &QTimer::timeout, poll, [=, this] {
            QWidget *d = QApplication::activeModalWidget();
            if (!d || d == before) {
                if (++*ticks > 100) fail(QStringLiteral("no dialog for %1").arg(name));
                return;
            }
            poll->stop();
            settle();
            shots[name] = picture(d);
            if (finish) finish(d);
            else QMetaObject::invokeMethod(d, "reject");
            poll->deleteLater();
        });
        poll->start(100);
        open();
        settle();
    }

    void modalCommand(const QString &command, const QString &name, const std::function<void(QWidget *)> &finish = {})
    {
        modal([this, command] { trigger(command); }, name, finish);
    }

    // Clicks the button captioned so in `w` and accepts the query dialog it opens with its
    // main button, keeping the dialog's defaults.
    static void query(QWidget *w, const QStringList &captions = {QStringLiteral("查询"), QStringLiteral("统计")})
    {
        QPushButton *b = buttonCaptioned(w, captions);
        if (!b) return;
        acceptNextDialog();
        b->click();
        settle();
    }

    static void acceptNextDialog()
    {
        QTimer::singleShot(300, [] {
            QWidget *d = QApplication::activeModalWidget();
            if (!d) return;
            if (QPushButton *ok = buttonCaptioned(d, {QStringLiteral("查询"), QStringLiteral("确定"), QStringLiteral("统计")}))
                ok->click();
        });
    }

    static void selectFirstRow(QWidget *w)
    {
        if (auto *grid = w->findChild<QTableView *>()) {
            grid->setFocus();
            grid->selectRow(0);
        }
    }

private:
    void trigger(const QString &command)
    {
        QAction *a = main_.command(command);
        if (!a) fail(QStringLiteral("no command \"%1\"").arg(command));
        a->trigger();
    }

    TFmain1 &main_;
};

// The data folder an installed program uses, as the first start and the connection settings
// show it on a shop's computer (the dialogs only display it; nothing is made there).
const QString ShopDataFolder = QStringLiteral("/home/hongyuan/.local/share/marvoda");
// The line the shop's server script prints, pasted into the connection settings.
const QString ServerLine = QStringLiteral("host=192.168.1.10 port=5432 dbname=marvoda user=marvoda password=hY7q2LkP9sWm");

template <class T>
T *childNamed(QWidget *in, const char *name)
{
    T *w = in->findChild<T *>(QString::fromLatin1(name));
    if (!w) fail(QStringLiteral("%1 has no %2").arg(in->objectName(), QLatin1String(name)));
    return w;
}

// The windows before the main window: the first start without a book, the connection settings
// with the server's line pasted in, and the login.
void startPictures(Camera &cam, Database &db)
{
    DM1 noBook(BookLocation::sqlite(Database::bookFileIn(ShopDataFolder)));
    {
        TFscqd1 first(noBook, {});
        first.show();
        settle();
        cam.shots["scqd"] = picture(&first);
    }
    {
        TFljsz1 settings(noBook);
        settings.show();
        settle();
        childNamed<QRadioButton>(&settings, "RB2")->click();
        // Pasted, as a whole: the dialog takes the line apart into its five fields.
        QLineEdit *host = childNamed<QLineEdit>(&settings, "Edit1");
        host->setFocus();
        QInputMethodEvent paste;
        paste.setCommitString(ServerLine);
        QCoreApplication::sendEvent(host, &paste);
        settle();
        if (childNamed<QLineEdit>(&settings, "Edit5")->text().isEmpty())
            fail(QStringLiteral("the pasted server line filled no password"));
        cam.shots["ljsz"] = picture(&settings);
    }
    {
        TFdl1 login(db);
        login.formShow();
        login.show();
        settle();
        cam.shots["login"] = picture(&login);
    }
}

// The take-over of the fixture's Access book, copied into a scratch data folder as a shop would
// have it there: the report as the dialog shows it at the end, at its top (the tables checked)
// and at its notes.
void takeOverPicture(Camera &cam, const QString &fixture)
{
    QTemporaryDir to(QDir(QDir::tempPath()).filePath(QStringLiteral("宏远建材商行-XXXXXX")));
    const QString mdbFile = QDir(to.path()).filePath(takeover::AccessBookName);
    if (!QFile::copy(fixture, mdbFile)) fail(QStringLiteral("cannot copy the Access book %1").arg(fixture));
    auto *poll = new QTimer;
    auto ticks = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, poll, [=, &cam] {
        auto *d = qobject_cast<TakeOverDialog *>(QApplication::activeModalWidget());
        auto *report = d ? d->findChild<QPlainTextEdit *>(QStringLiteral("Memo1")) : nullptr;
        if (!report || !report->isVisible()) {
            if (++*ticks > 600) fail(QStringLiteral("the take-over showed no report"));
            return;
        }
        poll->stop();
        settle();
        cam.shots["takeover"] = picture(d);
        const QTextBlock notes = report->document()->find(QStringLiteral("说明：")).block();
        if (!notes.isValid()) fail(QStringLiteral("the take-over report has no notes"));
        report->verticalScrollBar()->setValue(notes.blockNumber());
        settle();
        cam.shots["takeover_notes"] = picture(d);
        childNamed<QPushButton>(d, "BitBtn1")->click();
        poll->deleteLater();
    });
    poll->start(100);
    if (!takeover::runWithDialog(mdbFile, BookLocation::sqlite(Database::bookFileIn(to.path()))))
        fail(QStringLiteral("the take-over of %1 failed").arg(mdbFile));
    settle();
}

void takePictures(Camera &cam, TFmain1 &main, Database &db, const QString &accessBook)
{
    startPictures(cam, db);
    takeOverPicture(cam, accessBook);
    cam.shots["main"] = picture(&main);

    cam.modalCommand("公司信息", "danwei");
    cam.modalCommand("操作员与权限", "yhsz");
    cam.modalCommand("备份数据库", "beifen");
    cam.modalCommand("恢复数据库", "huifu");
    cam.modalCommand("压缩数据库", "yasuo");
    cam.modalCommand("清空数据库", "qingkong");
    cam.modalCommand("更改我的密码", "mima");
    // The lock window has no cancel that keeps the program: unlock with the (empty) password.
    cam.modalCommand("暂时离开系统", "likai", [](QWidget *d) {
        if (auto *b = d->findChild<QAbstractButton *>(QStringLiteral("BitBtn1"))) b->click();
    });

    cam.child("商品资料", "sp");
    cam.child("厂商资料", "ghs", [](QWidget *w) { Camera::query(w); });
    cam.child("客户资料", "kh", [](QWidget *w) { Camera::query(w); });
    cam.child("员工资料", "yg", [](QWidget *w) { Camera::query(w); });

    cam.child("采购", "tjcgd");
    cam.child("零售", "tjxsd");
    cam.child("批发", "tjpfd");
    cam.child("库存调拨", "tjdbd");
    cam.child("库存异动", "tjrkd");

    // The sales list with the day's documents, the first of them in the viewer and its print.
    cam.child("销售单据", "xsgl", [](QWidget *w) { Camera::query(w); }, [&cam, &main](QWidget *list) {
        Camera::selectFirstRow(list);
        if (QPushButton *view = buttonCaptioned(list, {QStringLiteral("查单")})) view->click();
        settle();
        QMdiSubWindow *viewer = main.mdiArea()->activeSubWindow();
        if (!viewer || viewer->widget() == list) fail(QStringLiteral("the sales list opened no viewer"));
        cam.shots["llxsd"] = picture(viewer);
        for (QAction *a : viewer->widget()->findChildren<QAction *>())
            if (a->text() == QStringLiteral("不带编码打印")) {
                cam.modal([a] { a->trigger(); }, "preview_xsd");
                break;
            }
        viewer->close();
        settle();
    });
    cam.child("采购单据", "cggl", [](QWidget *w) { Camera::query(w); });
    cam.child("调拨单据", "dbgl", [](QWidget *w) { Camera::query(w); });
    cam.child("异动单据", "rkgl", [](QWidget *w) { Camera::query(w); });

    const QList<std::pair<const char *, const char *>> reports = {
        {"采购明细表", "cgfx"},       {"采购统计表", "cghz"},       {"销售明细表", "xsfx"},
        {"销售统计表", "xshz"},       {"员工提成表", "xstj3"},      {"变动明细表", "rkfx"},
        {"变动统计表", "rkhz"},       {"商品库存明细表", "kcfx"},   {"商品进销存统计表", "kctj"},
        {"采购应付明细表", "yffx"},   {"销售应收明细表", "ysfx"},   {"采购付款明细表", "fkfx"},
        {"销售收款明细表", "skfx"},   {"其他收支明细表", "szfx"},   {"进销存财综合统计表", "sztj"},
    };
    for (const auto &[command, name] : reports)
        cam.child(QString::fromUtf8(command), QString::fromLatin1(name), [](QWidget *w) { Camera::query(w); });

    cam.child("金额大小写转换", "ntoc");
    cam.child("找零钱工具", "zhaoling");
    cam.modalCommand("关于本软件", "gy");
}

// ---------------------------------------------------------------- the PDF

QString fillTemplate(QString html, const QHash<QString, QString> &figures)
{
    static const QRegularExpression placeholder(QStringLiteral("\\{\\{([^}]+)\\}\\}"));
    QString out;
    qsizetype from = 0;
    for (auto it = placeholder.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString key = m.captured(1).trimmed();
        if (!figures.contains(key)) fail(QStringLiteral("the template names an unknown figure {{%1}}").arg(key));
        out += html.mid(from, m.capturedStart() - from) + figures.value(key).toHtmlEscaped();
        from = m.capturedEnd();
    }
    return out + html.mid(from);
}

void writePdf(const QString &html, const QHash<QString, QImage> &shots, const QString &out)
{
    QPdfWriter pdf(out);
    pdf.setTitle(QStringLiteral("QuorinMarvoda建材行业版 操作说明书"));
    pdf.setCreator(QStringLiteral("QuorinMarvoda"));
    pdf.setResolution(150);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                  QPageLayout::Millimeter));
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("SimSun"), 10));
    doc.setDefaultStyleSheet(QStringLiteral(
        "h1 { font-family: SimHei; font-size: 20pt; } h2 { font-family: SimHei; font-size: 15pt; color: #16488a; }"
        "h3 { font-family: SimHei; font-size: 12pt; } td, th { padding: 3px; } th { background: #dde6f2; }"
        "p.pic { text-align: center; } .note { color: #555555; }"));
    static const QRegularExpression img(QStringLiteral("src=\"shot:([a-z0-9_]+)\""));
    for (auto it = img.globalMatch(html); it.hasNext();) {
        const QString name = it.next().captured(1);
        if (!shots.contains(name)) fail(QStringLiteral("the template shows a picture no window gave: %1").arg(name));
        doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("shot:") + name), shots.value(name));
    }
    doc.setHtml(html);
    doc.print(&pdf);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The connection settings read this user's saved choice: the pictures show none.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication app(argc, argv);
    if (argc < 3) fail(QStringLiteral("usage: marvoda-manual TEMPLATE.html OUT.pdf [SHOTS_DIR]"));
    startup::installChineseLook();
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));

    QFile templ(QString::fromLocal8Bit(argv[1]));
    if (!templ.open(QIODevice::ReadOnly)) fail(QStringLiteral("cannot read %1").arg(templ.fileName()));
    const QString html = QString::fromUtf8(templ.readAll());

    QTemporaryDir dir;
    const BookLocation where = BookLocation::sqlite(QDir(dir.path()).filePath(QStringLiteral("KLVData1.db")));
    QString why;
    if (!createBook(where, {}, &why)) fail(why);
    DM1 dm(where);
    if (!dm.open(&why)) fail(why);
    DM1::setCurrent(&dm);

    QHash<QString, QString> figures;
    DemoBook(dm.db(), figures).fill();

    TFmain1 main;
    if (!main.formCreate()) fail(QStringLiteral("the main window cannot read the company"));
    registerProgramCommands(main);
    main.resize(1100, 720);
    main.show();
    main.showNavigation();
    main.formShow(schema::builtInOperator());
    settle(300);

    Camera cam(main);
    const QString accessBook = QFileInfo(templ.fileName()).absoluteDir().filePath(QStringLiteral("../../tests/admin/takeover/full.mdb"));
    takePictures(cam, main, dm.db(), QDir::cleanPath(accessBook));
    main.mdiArea()->closeAllSubWindows();

    if (argc > 3) {
        QDir().mkpath(QString::fromLocal8Bit(argv[3]));
        for (auto it = cam.shots.cbegin(); it != cam.shots.cend(); ++it)
            it.value().save(QDir(QString::fromLocal8Bit(argv[3])).filePath(it.key() + QStringLiteral(".png")));
        QFile list(QDir(QString::fromLocal8Bit(argv[3])).filePath(QStringLiteral("figures.txt")));
        if (list.open(QIODevice::WriteOnly)) {
            QStringList keys = figures.keys();
            keys.sort();
            for (const QString &k : keys) list.write((k + u' ' + figures.value(k) + u'\n').toUtf8());
        }
    }
    writePdf(fillTemplate(html, figures), cam.shots, QString::fromLocal8Bit(argv[2]));
    DM1::setCurrent(nullptr);
    std::printf("%s\n", argv[2]);
    return 0;
}
