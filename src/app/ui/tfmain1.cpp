#include "app/ui/tfmain1.h"

#include "app/book_folders.h"
#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/session.h"
#include "app/ui/tfdaohang1.h"
#include "app/ui/tfgy1.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProcess>
#include <QProxyStyle>
#include <QShortcut>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

namespace {

TFmain1 *theMain = nullptr;

// "操作说明" and "常见问题" open their document in the desktop's viewer; one that is missing says
// where it was looked for, so the operator can tell the technician.
void openHelpDocument(const QString &name)
{
    const book_folders::Folders &folders = book_folders::current();
    const QString path = folders.findDocument(name);
    if (path.isEmpty()) prompt().warn(folders.missingDocumentMessage(name));
    else QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void openCalculator()
{
    for (const char *prog : {"gnome-calculator", "kcalc", "galculator", "mate-calc", "xcalc"}) {
        const QString exe = QStandardPaths::findExecutable(QString::fromLatin1(prog));
        if (!exe.isEmpty()) {
            QProcess::startDetached(exe, {});
            return;
        }
    }
}

// The menu bar answers Alt alone, as desktop menus do, so the operator can reach every command
// from the keyboard; F10 does the same.
class AltKeyMenuStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *ret) const override
    {
        if (hint == SH_MenuBar_AltKeyNavigation) return 1;
        return QProxyStyle::styleHint(hint, option, widget, ret);
    }
};

struct MenuEntry {
    const char *caption;   // nullptr: separator
};

} // namespace

TFmain1::TFmain1(QWidget *parent) : QMainWindow(parent)
{
    theMain = this;
    setObjectName(QStringLiteral("TFmain1"));
    mdi_ = new QMdiArea(this);
    mdi_->setObjectName(QStringLiteral("MdiArea"));
    mdi_->setBackground(QColor(58, 110, 165));
    setCentralWidget(mdi_);
    buildMenu();
    buildToolBar();
    buildStatusBar();
}

TFmain1::~TFmain1()
{
    if (theMain == this) theMain = nullptr;
}

TFmain1 *TFmain1::instance() { return theMain; }

bool TFmain1::formCreate()
{
    // The login's connection settings may have moved to another book since the window was made.
    const bool shared = DM1::current() && DM1::current()->db().engine() == BookLocation::Engine::PostgreSQL;
    panels_[3]->setText(shared ? QStringLiteral("网络版") : QStringLiteral("单机版"));
    try {
        setWindowTitle(session::mainTitle(session::companyName(book())));
        return true;
    } catch (const DbError &) {
        return false;
    }
}

void TFmain1::formShow(const QString &operatorName)
{
    session::Current &cur = session::current();
    cur.stYhm1 = operatorName;
    panels_[0]->setText(QStringLiteral("操作员：") + operatorName);
    QSet<QString> granted;
    try {
        granted = session::grantedPermissions(book(), operatorName);
    } catch (const DbError &e) {
        prompt().warn(e.text());
    }
    const session::CommandStates states = session::evaluatePermissions(granted);
    for (auto it = states.enabled.cbegin(); it != states.enabled.cend(); ++it)
        if (QAction *a = command(it.key())) a->setEnabled(it.value());
    cur.stkcjg = states.stkcjg;
    cur.stkcsc = states.stkcsc;
}

QAction *TFmain1::command(const QString &caption) const { return commands_.value(caption); }

void TFmain1::perform(const QString &caption)
{
    QAction *a = command(caption);
    if (a && a->isEnabled()) a->trigger();
}

void TFmain1::setCommandHandler(const QString &caption, std::function<void()> handler)
{
    handlers_[caption] = std::move(handler);
}

bool TFmain1::activateIfOpen(const QMetaObject &cls)
{
    for (QMdiSubWindow *sw : mdi_->subWindowList()) {
        QWidget *w = sw->widget();
        if (!w || w->metaObject()->className() != QByteArray(cls.className())) continue;
        if (sw->isMinimized()) sw->showNormal();
        else sw->show();
        sw->raise();
        activate(sw);
        return true;
    }
    return false;
}

QMdiSubWindow *TFmain1::addChild(QWidget *w)
{
    w->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow *sw = mdi_->addSubWindow(w);
    sw->setAttribute(Qt::WA_DeleteOnClose);
    sw->setWindowTitle(w->windowTitle());
    sw->setWindowIcon(w->windowIcon());
    // A window that closes itself (Esc, its close button) takes its frame with it.
    connect(w, &QObject::destroyed, sw, [sw] { sw->close(); });
    sw->show();
    activate(sw);
    return sw;
}

void TFmain1::activate(QMdiSubWindow *sw)
{
    // The window takes the focus where its own show handling put it (its first field). A
    // command chosen from the menu would get the focus back when the menu closes, so the
    // activation is repeated once the menu is gone.
    mdi_->setActiveSubWindow(sw);
    QTimer::singleShot(0, sw, [this, sw] { mdi_->setActiveSubWindow(sw); });
}

void TFmain1::showNavigation()
{
    // Choosing the item toggles its mark; the mark says whether the window is open, and it is
    // open after this whichever way the mark stood.
    navigationCheck_->setChecked(true);
    if (activateIfOpen(TFdaohang1::staticMetaObject)) return;
    auto *nav = new TFdaohang1(this);
    QMdiSubWindow *sw = addChild(nav);
    sw->setWindowFlags(sw->windowFlags() & ~Qt::WindowMaximizeButtonHint);
    sw->setFixedSize(sw->sizeHint());
    connect(nav, &QObject::destroyed, this, [this] { navigationCheck_->setChecked(false); });
}

QString TFmain1::statusText(int panel) const { return panels_.value(panel) ? panels_[panel]->text() : QString(); }

void TFmain1::buildMenu()
{
    const QList<std::pair<const char *, QList<MenuEntry>>> menus = {
        {"系统",
         {{"公司信息"}, {"操作员与权限"}, {"操作日志"}, {nullptr}, {"清空数据库"}, {"备份数据库"}, {"恢复数据库"}, {"压缩数据库"},
          {nullptr}, {"暂时离开系统"}, {"更改我的密码"}, {"退出"}}},
        {"基本资料", {{"商品资料"}, {"厂商资料"}, {"客户资料"}, {"员工资料"}}},
        {"日常业务", {{"采购"}, {"零售"}, {"批发"}, {"库存调拨"}, {"库存异动"}}},
        {"查询统计",
         {{"采购单据"}, {"采购明细表"}, {"采购统计表"}, {nullptr}, {"销售单据"}, {"销售明细表"}, {"销售统计表"},
          {"员工提成表"}, {nullptr}, {"调拨单据"}, {"异动单据"}, {"变动明细表"}, {"变动统计表"}, {nullptr},
          {"商品库存明细表"}, {"商品进销存统计表"}}},
        {"财务管理",
         {{"采购应付明细表"}, {"销售应收明细表"}, {"采购付款明细表"}, {"销售收款明细表"}, {nullptr},
          {"其他收支明细表"}, {"进销存财综合统计表"}}},
        {"帮助",
         {{"计算器"}, {"金额大小写转换"}, {"找零钱工具"}, {nullptr}, {"操作说明"}, {"常见问题"}, {"显示业务导航图"},
          {nullptr}, {"关于本软件"}}},
    };
    for (const auto &[title, entries] : menus) {
        QMenu *m = menuBar()->addMenu(QString::fromUtf8(title));
        for (const MenuEntry &e : entries) {
            if (!e.caption) {
                m->addSeparator();
                continue;
            }
            const QString caption = QString::fromUtf8(e.caption);
            QAction *a = m->addAction(caption);
            a->setObjectName(caption);
            commands_.insert(caption, a);
            connect(a, &QAction::triggered, this, [this, caption] {
                if (auto h = handlers_.value(caption)) h();
            });
        }
    }
    auto *style = new AltKeyMenuStyle;
    style->setParent(menuBar());
    menuBar()->setStyle(style);
    auto *f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, this, [this] {
        menuBar()->setFocus(Qt::MenuBarFocusReason);
        if (!menuBar()->actions().isEmpty()) menuBar()->setActiveAction(menuBar()->actions().first());
    });
    QAction *quit = menuBar()->addAction(QStringLiteral("退出软件"));
    quit->setObjectName(QStringLiteral("退出软件"));
    commands_.insert(quit->text(), quit);

    setCommandHandler(QStringLiteral("退出"), [this] { close(); });
    connect(quit, &QAction::triggered, this, [this] { close(); });
    setCommandHandler(QStringLiteral("计算器"), openCalculator);
    setCommandHandler(QStringLiteral("操作说明"), [] { openHelpDocument(book_folders::ManualFile); });
    setCommandHandler(QStringLiteral("常见问题"), [] { openHelpDocument(book_folders::QuestionsFile); });
    setCommandHandler(QStringLiteral("显示业务导航图"), [this] { showNavigation(); });
    setCommandHandler(QStringLiteral("关于本软件"), [this] {
        TFgy1 about(this);
        about.exec();
    });
    navigationCheck_ = command(QStringLiteral("显示业务导航图"));
    navigationCheck_->setCheckable(true);
}

void TFmain1::buildToolBar()
{
    QToolBar *bar = addToolBar(QStringLiteral("工具栏"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const QList<std::tuple<const char *, const char *, const char *>> buttons = {
        {"厂商", "厂商资料", "厂商资料"}, {"客户", "客户资料", "客户资料"}, {"商品", "商品资料", "商品资料"},
        {"采购", "采购开单", "采购"},     {"批发", "批发开单", "批发"},     {"零售", "零售开单", "零售"},
        {"库存", "商品库存", "商品库存明细表"}};
    int n = 0;
    for (const auto &[caption, hint, performs] : buttons) {
        auto *b = new QToolButton(bar);
        b->setObjectName(QStringLiteral("SpeedButton%1").arg(++n));
        b->setText(QString::fromUtf8(caption));
        b->setToolTip(QString::fromUtf8(hint));
        b->setAutoRaise(true);
        b->setMinimumWidth(56);
        const QString target = QString::fromUtf8(performs);
        connect(b, &QToolButton::clicked, this, [this, target] { perform(target); });
        bar->addWidget(b);
    }
}

void TFmain1::buildStatusBar()
{
    const QList<std::pair<int, Qt::Alignment>> layout = {
        {150, Qt::AlignLeft}, {400, Qt::AlignCenter}, {200, Qt::AlignCenter}, {100, Qt::AlignRight}};
    for (const auto &[width, align] : layout) {
        auto *l = new QLabel(statusBar());
        l->setFixedWidth(width);
        l->setAlignment(align | Qt::AlignVCenter);
        l->setFrameShape(QFrame::StyledPanel);
        l->setFrameShadow(QFrame::Sunken);
        statusBar()->addWidget(l);
        panels_ << l;
    }
    panels_[0]->setObjectName(QStringLiteral("StatusPanel0"));
    panels_[1]->setObjectName(QStringLiteral("StatusPanel1"));
    panels_[2]->setText(QStringLiteral("建材进销存财一体化管理"));
    clock_ = new QTimer(this);
    clock_->setInterval(1000);
    connect(clock_, &QTimer::timeout, this, &TFmain1::tick);
    clock_->start();
}

void TFmain1::tick()
{
    static const QLocale chinese(QLocale::Chinese, QLocale::China);
    panels_[1]->setText(QStringLiteral("现在时刻：") +
                        chinese.toString(QDateTime::currentDateTime(),
                                         QStringLiteral("yyyy年MM月dd日 dddd HH时mm分ss秒")));
}

void TFmain1::closeEvent(QCloseEvent *e)
{
    // The book is let go before asking, so a backup taken now copies a closed, consistent file;
    // the next statement reopens it if the operator stays.
    if (DM1::current()) DM1::current()->db().disconnect();
    if (!prompt().confirm(QStringLiteral("确定要退出本系统吗？"))) {
        e->ignore();
        return;
    }
    if (prompt().yesNo(QStringLiteral("退出时需要备份数据吗？")) && backup_) backup_();
    clock_->stop();
    e->accept();
}
