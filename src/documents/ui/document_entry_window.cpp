#include "documents/ui/document_entry_window.h"

#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/session.h"
#include "app/text/decimal.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/number_field.h"
#include "app/widgets/record_table_model.h"
#include "app/widgets/text_field.h"
#include "documents/amount_checks.h"
#include "documents/document_numbering.h"
#include "documents/document_print.h"
#include "documents/document_service.h"
#include "documents/entry_queries.h"
#include "documents/ui/held_document_chooser.h"
#include "documents/ui/tfxgmx1.h"
#include "documents/ui/tfxgmx4.h"
#include "master/company_info.h"
#include "master/ui/lookup_list_window.h"
#include "master/ui/partner_picker.h"
#include "master/ui/tfsp2.h"
#include "master/ui/tfyg2.h"
#include "print/ui/print_preview.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString NewMode = QStringLiteral("新增");
const QString HeldMode = QStringLiteral("修改");

// A field set by the program: the cascade of amounts follows only a real change of text.
void setIfChanged(QLineEdit *e, const QString &text)
{
    if (e->text() != text) e->setText(text);
}

Decimal valueOf(const QLineEdit *e) { return NumberField::value(e).value_or(Decimal()); }

QToolButton *pickButton(QWidget *parent, const QString &name, const QString &hint)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(QStringLiteral("…"));
    b->setToolTip(hint);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &text, const QString &hint)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

DocumentEntryWindow::DocumentEntryWindow(EntryWindowConfig config, QWidget *parent)
    : QWidget(parent), config_(std::move(config)), buffer_(book(), documentKind(config_.type))
{
    const DocumentKind &k = kind();
    setAttribute(Qt::WA_DeleteOnClose);

    // Created in the order Enter and Tab walk them.
    date_ = new QDateEdit(this);
    date_->setObjectName(QStringLiteral("DateTimePicker1"));
    date_->setCalendarPopup(true);
    date_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    auto make = [this](const QString &name, bool readOnly) {
        auto *e = new QLineEdit(this);
        e->setObjectName(name);
        e->setReadOnly(readOnly);
        fields_.insert(name, e);
        return e;
    };
    QLineEdit *dh = make(QStringLiteral("dh"), true);
    QList<QLineEdit *> lists;
    for (const ListField &f : config_.listFields)
        if (!f.afterHandler) lists << make(f.column, true);
    QLineEdit *jsr = make(QStringLiteral("jsr"), true);
    for (const ListField &f : config_.listFields)
        if (f.afterHandler) lists << make(f.column, true);
    QLineEdit *party = k.partyColumn.isEmpty() ? nullptr : make(k.partyColumn, !config_.partyTyped);
    QLineEdit *txm = make(QStringLiteral("txm"), false);
    QLineEdit *ppgg = make(QStringLiteral("ppgg"), true);
    QLineEdit *dw = make(QStringLiteral("dw"), true);
    dw->hide();
    QLineEdit *jg = make(QStringLiteral("jg"), false);
    QLineEdit *sl = make(QStringLiteral("sl"), false);
    // Stock documents carry no money: no discount, payable or paid.
    QLineEdit *yhe = k.hasMoney() ? make(QStringLiteral("yhe"), false) : nullptr;
    QLineEdit *payable = k.hasMoney() ? make(k.payableColumn, true) : nullptr;
    QLineEdit *paid = k.hasMoney() ? make(k.paidColumn, false) : nullptr;
    QLineEdit *bz = make(QStringLiteral("bz"), false);
    QLineEdit *hjsl = make(QStringLiteral("hjsl"), true);
    QLineEdit *hjje = make(QStringLiteral("hjje"), true);
    if (party) party->setToolTip(config_.partyHint);
    if (k.hasMoney()) {
        yhe->setToolTip(QStringLiteral("正负方向必须跟总金额一致"));
        payable->setToolTip(config_.payableHint);
        paid->setToolTip(config_.paidHint);
        NumberField::attach(yhe, NumberField::Signed);
        NumberField::attach(paid, NumberField::Signed);
    }
    for (QLineEdit *e : {hjsl, hjje}) {
        e->setFocusPolicy(Qt::NoFocus);
        e->setMaximumWidth(160);
        e->setAlignment(Qt::AlignRight);
    }
    NumberField::attach(sl, config_.signedQuantity ? NumberField::Signed : NumberField::Unsigned);
    NumberField::attach(jg, NumberField::Unsigned);
    // Double-click opens the chooser; leaving an empty warehouse is refused.
    for (QLineEdit *e : lists + QList<QLineEdit *>{jsr, party})
        if (e) e->installEventFilter(this);

    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setToolTip(QStringLiteral("双点列表可修改明细"));
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->hide();
    grid_->setFocusPolicy(Qt::ClickFocus);
    model_ = new RecordTableModel({{"txm", "编码"},
                                   {"ppgg", "商品名称"},
                                   {"dw", "单位"},
                                   {"sl", "数量", RecordTableModel::Quantity},
                                   {"jg", "单价", RecordTableModel::Amount},
                                   {"zk", "折扣", RecordTableModel::Amount, k.linesHaveDiscount},
                                   {"je", "金额", RecordTableModel::Amount}},
                                  this);
    model_->redRowsWhenNegative(QStringLiteral("sl"));   // goods returned
    grid_->setModel(model_);
    for (int c = 0; c < model_->columnCount(); ++c) grid_->setColumnHidden(c, !model_->columns()[c].visible);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setColumnWidth(1, 220);
    connect(grid_, &QTableView::doubleClicked, this, [this] { changeLine(); });
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    auto *gridMenu = new QMenu(grid_);
    gridMenu->setObjectName(QStringLiteral("PopupMenu1"));
    gridMenu->addAction(QStringLiteral("删除明细"), this, &DocumentEntryWindow::deleteLine);
    if (k.linesHaveDiscount) gridMenu->addAction(QStringLiteral("整单折扣"), this, &DocumentEntryWindow::discountAll);
    connect(grid_, &QWidget::customContextMenuRequested, gridMenu,
            [this, gridMenu](const QPoint &p) { gridMenu->popup(grid_->viewport()->mapToGlobal(p)); });

    // Header.
    auto *title = new QLabel(k.name, this);
    title->setObjectName(QStringLiteral("Label1"));
    QFont tf = title->font();
    tf.setPointSize(tf.pointSize() + 6);
    tf.setBold(true);
    title->setFont(tf);
    title->setAlignment(Qt::AlignCenter);
    ztbj_ = new QLabel(this);
    ztbj_->setObjectName(QStringLiteral("ztbj"));
    auto *shbj = new QLabel(DocFlag::NotApproved, this);
    shbj->setObjectName(QStringLiteral("shbj"));
    shbj->setStyleSheet(QStringLiteral("color: red;"));
    dh->setAlignment(Qt::AlignCenter);
    dh->setFocusPolicy(Qt::NoFocus);
    dh->setMaximumWidth(200);

    auto *top = new QGridLayout;
    top->addWidget(ztbj_, 0, 0);
    top->addWidget(title, 0, 1);
    top->addWidget(shbj, 0, 2, Qt::AlignRight);
    top->addWidget(dh, 1, 1, Qt::AlignHCenter);

    auto *head = new QHBoxLayout;
    auto labelled = [this](QBoxLayout *row, const QString &caption, QWidget *w, QWidget *pick = nullptr) {
        row->addWidget(new QLabel(caption, this));
        row->addWidget(w, 1);
        if (pick) row->addWidget(pick);
    };
    auto *pickJsr = pickButton(this, QStringLiteral("SpeedButton1"), QStringLiteral("选择经办人"));
    auto *pickGoods = pickButton(this, QStringLiteral("SpeedButton3"), QStringLiteral("选择商品"));
    labelled(head, QStringLiteral("日期"), date_);
    auto listRow = [&](bool afterHandler) {
        for (int i = 0; i < config_.listFields.size(); ++i) {
            const ListField &f = config_.listFields[i];
            if (f.afterHandler != afterHandler) continue;
            auto *pick = pickButton(this, QStringLiteral("SpeedButton%1").arg(4 + i), f.hint);
            labelled(head, f.caption, field(f.column), pick);
            connect(pick, &QToolButton::clicked, this, [this, i] { openList(config_.listFields[i]); });
        }
    };
    listRow(false);
    labelled(head, QStringLiteral("经办人"), jsr, pickJsr);
    listRow(true);
    if (party) {
        auto *pickParty = pickButton(this, QStringLiteral("SpeedButton2"), config_.partyPickHint);
        labelled(head, config_.partyCaption, party, pickParty);
        connect(pickParty, &QToolButton::clicked, this, &DocumentEntryWindow::openPartyPicker);
    }
    connect(pickJsr, &QToolButton::clicked, this, &DocumentEntryWindow::openHandlerPicker);
    connect(pickGoods, &QToolButton::clicked, this, &DocumentEntryWindow::openGoodsPicker);

    auto *entry = new QHBoxLayout;
    labelled(entry, QStringLiteral("编码"), txm, pickGoods);
    entry->addWidget(new QLabel(QStringLiteral("品名"), this));
    entry->addWidget(ppgg, 3);
    labelled(entry, QStringLiteral("单价"), jg);
    labelled(entry, QStringLiteral("数量"), sl);
    auto *sb1 = button(this, QStringLiteral("SB1"), QStringLiteral("F10"), QStringLiteral("新增明细"));
    auto *sb2 = button(this, QStringLiteral("SB2"), QStringLiteral("F11"), QStringLiteral("删除明细"));
    auto *sb3 = button(this, QStringLiteral("SB3"), QStringLiteral("F12"), QStringLiteral("修改明细"));
    for (QPushButton *b : {sb1, sb2, sb3}) entry->addWidget(b);
    connect(sb1, &QPushButton::clicked, this, &DocumentEntryWindow::addLine);
    connect(sb2, &QPushButton::clicked, this, &DocumentEntryWindow::deleteLine);
    connect(sb3, &QPushButton::clicked, this, &DocumentEntryWindow::changeLine);

    auto *amounts = new QHBoxLayout;
    if (k.hasMoney()) {
        labelled(amounts, QStringLiteral("优惠额"), yhe);
        labelled(amounts, config_.payableCaption, payable);
        labelled(amounts, config_.paidCaption, paid);
    }
    labelled(amounts, QStringLiteral("备注"), bz);
    if (!config_.explanation.isEmpty()) {
        auto *sm = new QLineEdit(config_.explanation, this);
        sm->setObjectName(QStringLiteral("sm"));
        sm->setReadOnly(true);
        sm->setFocusPolicy(Qt::NoFocus);
        labelled(amounts, QStringLiteral("异动说明"), sm);
    }
    auto *totals = new QHBoxLayout;
    totals->addStretch();
    labelled(totals, QStringLiteral("总数量:"), hjsl);
    labelled(totals, QStringLiteral("总金额:"), hjje);

    auto *left = new QVBoxLayout;
    left->addLayout(top);
    left->addLayout(head);
    left->addWidget(grid_, 1);
    left->addLayout(totals);
    left->addLayout(entry);
    left->addLayout(amounts);

    auto *bb1 = button(this, QStringLiteral("BB1"), QStringLiteral("开单-F5"), QStringLiteral("新增单据"));
    auto *bb2 = button(this, QStringLiteral("BB2"), QStringLiteral("取单-F6"), QStringLiteral("打开挂单"));
    auto *bb3 = button(this, QStringLiteral("BB3"), QStringLiteral("打印-F7"), QStringLiteral("打印单据"));
    auto *bb4 = button(this, QStringLiteral("BB4"), QStringLiteral("结单-F8"), QStringLiteral("正式保存并审核，收款，过帐"));
    auto *bb5 = button(this, QStringLiteral("BB5"), QStringLiteral("挂单-F9"), QStringLiteral("临时保存不审核，不收款，不过帐"));
    closeButton_ = button(this, QStringLiteral("BB6"), QStringLiteral("关闭-ESC"), QString());
    auto *right = new QVBoxLayout;
    for (QPushButton *b : {bb1, bb2, bb3, bb4, bb5, closeButton_}) right->addWidget(b);
    right->addStretch();
    connect(bb1, &QPushButton::clicked, this, &DocumentEntryWindow::startClick);
    connect(bb2, &QPushButton::clicked, this, &DocumentEntryWindow::chooseHeld);
    connect(bb4, &QPushButton::clicked, this, &DocumentEntryWindow::approveClick);
    connect(bb5, &QPushButton::clicked, this, &DocumentEntryWindow::holdClick);
    connect(closeButton_, &QPushButton::clicked, this, [this] { KeyFlow::closeWindow(this); });

    printMenu_ = new QMenu(bb3);
    printMenu_->addAction(QStringLiteral("带编码打印"), this, [this] { print(true); });
    printMenu_->addAction(QStringLiteral("不带编码打印"), this, [this] { print(false); });
    connect(bb3, &QPushButton::clicked, this, [this, bb3] {
        if (kind().printChoice()) printMenu_->popup(bb3->mapToGlobal(QPoint(0, bb3->height())));
        else print(true);
    });

    auto *all = new QHBoxLayout(this);
    all->addLayout(left, 1);
    all->addLayout(right);

    // What a changed field sets off.
    connect(txm, &QLineEdit::textChanged, this, &DocumentEntryWindow::lookUpCode);
    if (k.hasMoney()) {
        connect(hjje, &QLineEdit::textChanged, this, &DocumentEntryWindow::followDiscount);
        connect(yhe, &QLineEdit::textChanged, this, &DocumentEntryWindow::followDiscount);
        connect(payable, &QLineEdit::textChanged, paid, [paid](const QString &t) { paid->setText(t); });
    }

    // Enter: the walk through the header and the line entry, each stop as the operator expects.
    auto focusOn = [](QWidget *w) {
        return [w] {
            w->setFocus(Qt::TabFocusReason);
            return true;
        };
    };
    // A stock document's note is part of its header: Tab takes it after the last header field,
    // while Enter there goes on to the goods (and Enter in the note too).
    QLineEdit *lastOfHeader = party ? party : config_.listFields.last().afterHandler ? lists.last() : jsr;
    if (config_.noteEntersLine) {
        setTabOrder(lastOfHeader, bz);
        setTabOrder(bz, txm);
    }
    auto listField = [this, lastOfHeader, txm](QLineEdit *e, std::function<void()> open) {
        KeyFlow::onEnter(e, [this, e, open, lastOfHeader, txm] {
            if (e->text().isEmpty()) open();
            else if (e == lastOfHeader && config_.noteEntersLine) txm->setFocus(Qt::TabFocusReason);
            else return false;
            return true;
        });
    };
    KeyFlow::onEnter(date_, focusOn(field(config_.afterDate)));
    KeyFlow::onEnter(dh, focusOn(lists.first()));
    for (const ListField &f : config_.listFields) listField(field(f.column), [this, f] { openList(f); });
    listField(jsr, [this] { openHandlerPicker(); });
    if (party) listField(party, [this] { openPartyPicker(); });
    QLineEdit *adds = field(config_.addOnEnter);
    KeyFlow::onEnter(txm, [this, ppgg, adds] {
        if (ppgg->text().isEmpty()) openGoodsPicker();
        else adds->setFocus(Qt::TabFocusReason);
        return true;
    });
    KeyFlow::onEnter(ppgg, focusOn(sl));
    auto addsTheLine = [this] {
        addLine();
        return true;
    };
    if (config_.priceAdds) KeyFlow::onEnter(jg, addsTheLine);
    else if (adds != jg) KeyFlow::onEnter(jg, focusOn(sl));
    KeyFlow::onEnter(adds, addsTheLine);
    if (k.hasMoney()) {
        KeyFlow::onEnter(yhe, focusOn(bz));
        KeyFlow::onEnter(payable, focusOn(bz));
    }
    if (config_.noteEntersLine) KeyFlow::onEnter(bz, focusOn(txm));
    KeyFlow::enterMovesFocus(this, bb4);   // Enter in the note approves
    KeyFlow::escCloses(this, closeButton_);
    KeyFlow::functionKeys(this, {{Qt::Key_F5, [this] { startClick(); }},
                                 {Qt::Key_F6, [this] { chooseHeld(); }},
                                 {Qt::Key_F7, [bb3] { bb3->click(); }},
                                 {Qt::Key_F8, [this] { approveClick(); }},
                                 {Qt::Key_F9, [this] { holdClick(); }},
                                 {Qt::Key_F10, [this] { addLine(); }},
                                 {Qt::Key_F11, [this] { deleteLine(); }},
                                 {Qt::Key_F12, [this] { changeLine(); }}});

    TextField::guardAll(this);
    resize(980, 600);
    startDocument();
    if (!closing_) offerInterruptedLines();
}

DocumentEntryWindow::~DocumentEntryWindow()
{
    TFsp2::closeFor(*this);
}

QString DocumentEntryWindow::mode() const { return ztbj_->text(); }

void DocumentEntryWindow::setCaptionFor(bool held)
{
    setWindowTitle(held ? config_.editCaption : config_.newCaption);
    ztbj_->setText(held ? HeldMode : NewMode);
}

// A fresh document: today's date, empty header, the next number of the day.
void DocumentEntryWindow::startDocument()
{
    setCaptionFor(false);
    date_->setDate(QDate::currentDate());
    for (const ListField &f : config_.listFields) field(f.column)->clear();
    for (const QString &f : {QStringLiteral("jsr"), kind().partyColumn, QStringLiteral("bz"), QStringLiteral("txm"),
                             QStringLiteral("ppgg"), QStringLiteral("dw")})
        setField(f, QString());
    for (const QString &f : {QStringLiteral("yhe"), kind().payableColumn, kind().paidColumn, QStringLiteral("sl"),
                             QStringLiteral("jg"), QStringLiteral("hjsl"), QStringLiteral("hjje")})
        setField(f, QStringLiteral("0"));
    field(goodsWarehouseColumn())->setFocus();
    if (!issueNumber(std::nullopt)) return;
    buffer_.startNew(field("dh")->text());
    refreshGrid();
}

// The day's next number, or after a save the one following the saved number. False when the
// day's numbers are used up: the window then closes.
bool DocumentEntryWindow::issueNumber(const std::optional<QString> &after)
{
    const QDate today = QDate::currentDate();
    const DocumentNumbering::Result r =
        after ? DocumentNumbering::following(kind(), *after, today) : DocumentNumbering::next(book(), kind(), today);
    if (r.outcome == DocumentNumbering::Outcome::DayLimit) {
        stopForDayLimit();
        return false;
    }
    if (r.outcome == DocumentNumbering::Outcome::Issued) field("dh")->setText(r.dh);
    return true;
}

void DocumentEntryWindow::stopForDayLimit()
{
    prompt().warn(DocumentNumbering::DayLimitMessage);
    closing_ = true;
    // The window may still be under construction: close it once the event loop has it.
    QPointer<DocumentEntryWindow> self(this);
    QTimer::singleShot(0, this, [self] {
        if (self) KeyFlow::closeWindow(self);
    });
}

// What a window of this kind left pending when it ended without saving (the program killed,
// the power or the connection lost) is offered once, as the window opens: taken, the lines
// belong to the document now shown; declined, they go. Lines it had marked deleted in a held
// document are that document's lines again either way.
void DocumentEntryWindow::offerInterruptedLines()
{
    const InterruptedLines found = InterruptedEntry::find(book(), kind());
    if (found.isEmpty()) return;
    const bool take = found.added > 0 && prompt().yesNo(found.question());
    buffer_.recover(found, take);
    recomputeTotals();
}

void DocumentEntryWindow::startClick()
{
    buffer_.discard();
    startDocument();
}

// ---- Choosers -------------------------------------------------------------------------------

void DocumentEntryWindow::setField(const QString &name, const QString &text) const
{
    if (QLineEdit *e = field(name)) e->setText(text);
}

const ListField *DocumentEntryWindow::listField(const QString &column) const
{
    for (const ListField &f : config_.listFields)
        if (f.column == column) return &f;
    return nullptr;
}

QString DocumentEntryWindow::goodsWarehouseColumn() const { return config_.listFields.first().column; }

void DocumentEntryWindow::openList(const ListField &f)
{
    pickedField_ = f.column;
    openLookupList(f.list, f.mark.isEmpty() ? config_.mark : f.mark, *this, this);
}

void DocumentEntryWindow::lookupChosen(LookupKind, const QString &, const QString &value)
{
    if (listField(pickedField_)) field(pickedField_)->setText(value);
}

void DocumentEntryWindow::openHandlerPicker()
{
    TFyg2 picker(this);
    picker.setCaller(this, config_.mark);
    pickedField_ = QStringLiteral("jsr");
    picker.exec();
}

void DocumentEntryWindow::openPartyPicker()
{
    if (!config_.partyPicker) return;
    std::unique_ptr<PartnerPicker> picker(config_.partyPicker(this));
    picker->setCaller(this, config_.mark);
    pickedField_ = kind().partyColumn;
    picker->exec();
}

void DocumentEntryWindow::partnerChosen(const QString &, const QString &name)
{
    if (QLineEdit *e = field(pickedField_)) e->setText(name);
}

QString DocumentEntryWindow::currentWarehouse() const { return field(goodsWarehouseColumn())->text(); }

void DocumentEntryWindow::openGoodsPicker()
{
    if (!TFsp2::openFor(config_.mark, *this)) field(goodsWarehouseColumn())->setFocus();
}

void DocumentEntryWindow::chooseHeld()
{
    if (!config_.chooser) return;
    std::unique_ptr<HeldDocumentChooser> chooser(config_.chooser(this));
    chooser->setPartyFilter(field(chooser->filterColumn()) ? field(chooser->filterColumn())->text() : QString());
    chooser->onChosen([this](const DocumentHeader &h) { takeUp(h); });
    chooser->exec();
}

void DocumentEntryWindow::takeUp(const DocumentHeader &h)
{
    // The window edits one document: what was pending for the one it showed goes.
    buffer_.discard();
    buffer_.takeUp(h.dh);
    setCaptionFor(true);
    const QDate rq = QDate::fromString(h.rq, QStringLiteral("yyyy-MM-dd"));
    date_->setDate(rq.isValid() ? rq : QDate::currentDate());
    setIfChanged(field("dh"), h.dh);
    for (const QString &c : kind().headerFieldColumns())
        if (QLineEdit *e = field(c)) setIfChanged(e, h.field(c));
    setIfChanged(field("jsr"), h.jsr);
    setIfChanged(field("bz"), h.bz);
    if (kind().hasMoney()) {
        // Shown as the operator would have left them: an older book may hold four decimals.
        setIfChanged(field("yhe"), NumberField::normalizedText(h.yhe.toPlain()));
        setIfChanged(field(kind().payableColumn), NumberField::normalizedText(h.payable.toPlain()));
        setIfChanged(field(kind().paidColumn), NumberField::normalizedText(h.paid.toPlain()));
    }
    setIfChanged(field("hjsl"), h.hjsl.toPlain());
    setIfChanged(field("hjje"), h.hjje.toPlain());
    refreshGrid();
}

// ---- Lines ----------------------------------------------------------------------------------

void DocumentEntryWindow::lookUpCode()
{
    const std::optional<QString> ck = config_.codeInWarehouse ? std::optional<QString>(currentWarehouse()) : std::nullopt;
    const std::optional<GoodsRecord> g = EntryQueries::goodsByCode(book(), field("txm")->text(), ck);
    field("ppgg")->setText(g ? g->ppgg : QString());
    field("dw")->setText(g ? g->dw : QString());
    field("jg")->setText(g ? g->text(config_.priceColumn) : QStringLiteral("0"));
    lookedUpCost_ = g ? std::optional<Decimal>(g->kcjg) : std::nullopt;
}

void DocumentEntryWindow::addLine()
{
    QLineEdit *sl = field("sl"), *jg = field("jg");
    NumberField::finish(sl);
    NumberField::finish(jg);
    if (field("ppgg")->text().isEmpty()) {
        prompt().info(QStringLiteral("商品不可为空！"));
        field(kind().missingGoodsFocus)->setFocus();
        return;
    }
    if (valueOf(sl).isZero()) {
        prompt().info(QStringLiteral("数量不可为零！"));
        sl->setFocus();
        return;
    }
    DocumentLine l;
    l.txm = field("txm")->text();
    l.ppgg = field("ppgg")->text();
    l.dw = field("dw")->text();
    l.sl = valueOf(sl);
    l.jg = valueOf(jg);
    l.zk = 1;
    if (kind().salesLines) l.cbjg = lookedUpCost_.value_or(Decimal());
    l.recompute(kind().salesLines);
    buffer_.add(l);
    field("txm")->setFocus();
    field("txm")->clear();
    recomputeTotals();
    grid_->selectRow(model_->rowCount() - 1);
}

void DocumentEntryWindow::appendGoodsLine(const GoodsLine &g)
{
    DocumentLine l;
    l.txm = g.txm;
    l.ppgg = g.ppgg;
    l.dw = g.dw;
    l.sl = g.sl;
    l.jg = g.jg;
    l.zk = g.zk.value_or(Decimal(1));
    l.je = g.je;
    l.cbjg = g.cbjg.value_or(Decimal());
    l.cbje = g.cbje.value_or(Decimal());
    l.maoli = g.maoli.value_or(Decimal());
    buffer_.add(l);
}

int DocumentEntryWindow::currentLine() const
{
    const int r = grid_->currentIndex().isValid() ? grid_->currentIndex().row() : 0;
    return std::clamp(r, 0, int(buffer_.lines().size()) - 1);
}

void DocumentEntryWindow::deleteLine()
{
    if (buffer_.lines().isEmpty()) {
        prompt().warn(QStringLiteral("没有明细可删除！"));
        return;
    }
    if (!prompt().confirm(QStringLiteral("确定要删除此明细么？"))) return;
    buffer_.remove(currentLine());
    recomputeTotals();
}

void DocumentEntryWindow::changeLine()
{
    if (buffer_.lines().isEmpty()) {
        prompt().warn(QStringLiteral("没有明细可修改！"));
        return;
    }
    const int row = currentLine();
    TFxgmx1 d(config_.lineShape, this);
    d.setWindowTitle(config_.lineCaption);
    d.edit(config_.lineMode, buffer_, row, *this);
    d.exec();
    grid_->selectRow(row);
}

void DocumentEntryWindow::discountAll()
{
    if (!kind().linesHaveDiscount) return;
    if (buffer_.lines().isEmpty()) {
        prompt().warn(QStringLiteral("没有明细可设置！"));
        return;
    }
    TFxgmx4 d(this);
    d.setWindowTitle(config_.discountCaption);
    d.edit(config_.lineMode, buffer_, *this);
    d.exec();
}

void DocumentEntryWindow::recomputeTotals()
{
    const DocumentTotals t = buffer_.totals();
    setIfChanged(field("hjsl"), t.hjsl.toPlain());
    setIfChanged(field("hjje"), t.hjje.toPlain());
    refreshGrid();
}

void DocumentEntryWindow::refreshGrid()
{
    const int row = grid_->currentIndex().row();
    model_->clearOpen();
    for (const DocumentLine &l : buffer_.lines())
        model_->appendRow({l.txm, l.ppgg, l.dw, l.sl, l.jg, l.zk, l.je});
    if (model_->rowCount() > 0) grid_->selectRow(std::clamp(row, 0, model_->rowCount() - 1));
}

// payable = total − discount; a discount still being typed ("-") counts as none.
void DocumentEntryWindow::followDiscount()
{
    if (!kind().hasMoney()) return;
    const Decimal total = Decimal::parseOr0(field("hjje")->text());
    setIfChanged(field(kind().payableColumn), (total - valueOf(field("yhe"))).toPlain());
}

// ---- Saving and printing ------------------------------------------------------------------

DocumentHeader DocumentEntryWindow::currentHeader() const
{
    DocumentHeader h;
    h.dh = field("dh")->text();
    h.rq = dateText(date_->date());
    for (const QString &c : kind().headerFieldColumns())
        if (QLineEdit *e = field(c)) h.setField(c, e->text());
    h.jsr = field("jsr")->text();
    h.bz = field("bz")->text();
    const DocumentTotals t = buffer_.totals();
    h.hjsl = t.hjsl;
    h.hjje = t.hjje;
    if (kind().hasMoney()) {
        h.yhe = valueOf(field("yhe"));
        h.payable = valueOf(field(kind().payableColumn));
        h.paid = valueOf(field(kind().paidColumn));
    }
    return h;
}

void DocumentEntryWindow::holdClick() { save(false); }
void DocumentEntryWindow::approveClick() { save(true); }

void DocumentEntryWindow::save(bool approve)
{
    if (closing_) return;
    // Only the field still being typed is reformatted here: the ones left were reformatted on
    // leaving, and doing it again now would let the discount's cascade overwrite the paid amount.
    NumberField::finishFocused(this);
    const DocumentHeader h = currentHeader();
    if (const auto refusal = AmountChecks::beforeSave(kind(), h, buffer_.lines().size())) {
        refusal->show();
        if (QLineEdit *e = field(refusal->field)) e->setFocus();
        return;
    }
    const bool held = buffer_.editingHeld();
    const QString saved = DocumentService(book(), kind()).save(h, buffer_, approve, QDate::currentDate());
    if (saved != h.dh) prompt().info(QStringLiteral("单号%1已被占用，本单已保存为%2！").arg(h.dh, saved));
    if (held) {
        startDocument();
        return;
    }
    // The next document of the same round: the date, the first warehouse and the handler stay.
    const QStringList cleared = config_.clearedAfterSave.isEmpty() ? QStringList{kind().partyColumn} : config_.clearedAfterSave;
    for (const QString &f : cleared) field(f)->clear();
    for (const QString &f : {QStringLiteral("yhe"), kind().payableColumn, kind().paidColumn, QStringLiteral("hjsl"),
                             QStringLiteral("hjje"), QStringLiteral("sl"), QStringLiteral("jg")})
        setField(f, QStringLiteral("0"));
    for (const QString &f : {QStringLiteral("txm"), QStringLiteral("ppgg"), QStringLiteral("dw")}) field(f)->clear();
    if (!issueNumber(saved)) return;
    buffer_.startNew(field("dh")->text());
    refreshGrid();
    field(cleared.first())->setFocus();
}

void DocumentEntryWindow::print(bool withCodes)
{
    NumberField::finishFocused(this);
    const DocumentHeader h = currentHeader();
    if (const auto refusal = AmountChecks::beforePrint(kind(), h, buffer_.lines().size())) {
        refusal->show();
        if (QLineEdit *e = field(refusal->field)) e->setFocus();
        return;
    }
    // A sales form carries the company's extra lines whether printed at entry or from the list.
    const CompanyInfo company = company::load(book());
    const ReportData report = DocumentPrint::reportData(kind(), company.mcdy, h, buffer_.lines(),
                                                      session::current().stYhm1, company.bz3, company.bz4);
    previewReport(DocumentPrint::layoutName(kind(), withCodes), report, this);
}

// ---- Window ---------------------------------------------------------------------------------

bool DocumentEntryWindow::eventFilter(QObject *watched, QEvent *e)
{
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (edit && e->type() == QEvent::MouseButtonDblClick) {
        const QString name = edit->objectName();
        if (const ListField *f = listField(name)) openList(*f);
        else if (name == u"jsr") openHandlerPicker();
        else openPartyPicker();
        return true;
    }
    // Every line goes into (or out of) the document's warehouse: the operator may not walk away
    // from an empty one within the window (a chooser or message opening is not walking away).
    const ListField *lf = edit ? listField(edit->objectName()) : nullptr;
    if (lf && !lf->emptyOnLeave.isEmpty() && e->type() == QEvent::FocusOut && !closing_ && edit->text().isEmpty()) {
        QWidget *to = QApplication::focusWidget();
        if (to && to != edit && isAncestorOf(to)) {
            prompt().info(lf->emptyOnLeave);
            QPointer<QLineEdit> ck(edit);
            QTimer::singleShot(0, edit, [ck] {
                if (ck) ck->setFocus();
            });
        }
    }
    return QWidget::eventFilter(watched, e);
}

void DocumentEntryWindow::closeEvent(QCloseEvent *e)
{
    closing_ = true;
    buffer_.discard();   // added lines go, lines marked deleted come back
    TFsp2::closeFor(*this);
    QWidget::closeEvent(e);
}
