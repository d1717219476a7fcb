#include "documents/ui/document_viewer.h"

#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/session.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/list_window.h"
#include "app/widgets/record_table_model.h"
#include "documents/document_print.h"
#include "documents/document_service.h"
#include "documents/line_buffer.h"
#include "master/company_info.h"
#include "print/ui/print_preview.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QList<RecordTableModel::Column> lineColumns(const DocumentKind &kind)
{
    using C = RecordTableModel::Column;
    return {C{"txm", "编码"},
            C{"ppgg", "商品名称"},
            C{"dw", "单位"},
            C{"sl", "数量", RecordTableModel::Quantity},
            C{"jg", "单价", RecordTableModel::Amount},
            C{"zk", "折扣", RecordTableModel::Amount, kind.linesHaveDiscount},
            C{"je", "金额", RecordTableModel::Amount}};
}

} // namespace

DocumentViewer::DocumentViewer(DocumentViewerConfig config, QWidget *parent)
    : QWidget(parent), config_(std::move(config)), kind_(documentKind(config_.type))
{
    setWindowTitle(config_.caption);
    auto *heading = new QHBoxLayout;
    auto *title = new QLabel(config_.title, this);
    title->setObjectName(QStringLiteral("Label1"));
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    title->setFont(big);
    auto *state = new QLabel(QStringLiteral("浏览"), this);
    state->setObjectName(QStringLiteral("ztbj"));
    approval_ = new QLabel(this);
    approval_->setObjectName(QStringLiteral("shbj"));
    approval_->setMinimumWidth(80);
    approval_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    heading->addWidget(state);
    heading->addStretch();
    heading->addWidget(title);
    heading->addStretch();
    heading->addWidget(approval_);

    auto *form = new QGridLayout;
    const QString party = kind_.partyColumn;
    const QList<std::pair<QString, QString>> fields =
        config_.headerFields.isEmpty()
            ? QList<std::pair<QString, QString>>{{"rq", "日期"}, {"dh", "单号"}, {"ck", "仓库"}, {party, config_.partyCaption},
                                                 {"jsr", "经办人"}, {"bz", "备注"}, {"yhe", "优惠额"},
                                                 {kind_.payableColumn, config_.payableCaption},
                                                 {kind_.paidColumn, config_.paidCaption}}
            : config_.headerFields;
    for (int i = 0; i < fields.size(); ++i) {
        auto *e = new QLineEdit(this);
        e->setObjectName(fields[i].first);
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
        fields_.insert(fields[i].first, e);
        form->addWidget(new QLabel(fields[i].second, this), i / 3, (i % 3) * 2);
        form->addWidget(e, i / 3, (i % 3) * 2 + 1);
    }
    if (!config_.explanation.isEmpty()) {
        auto *sm = new QLineEdit(config_.explanation, this);
        sm->setObjectName(QStringLiteral("sm"));
        sm->setReadOnly(true);
        sm->setFocusPolicy(Qt::NoFocus);
        const int row = form->rowCount();
        form->addWidget(new QLabel(QStringLiteral("说明"), this), row, 0);
        form->addWidget(sm, row, 1, 1, 5);
    }

    lines_ = new RecordTableModel(lineColumns(kind_), this);
    lines_->redRowsWhenNegative(QStringLiteral("sl"));
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    ListWindow::setupGrid(grid_, lines_);

    auto *status = new QHBoxLayout;
    status->addWidget(new QLabel(QStringLiteral("合计"), this));
    for (int i = 0; i < 2; ++i) {
        auto *l = new QLabel(this);
        l->setObjectName(QStringLiteral("Total%1").arg(i + 1));
        l->setMinimumWidth(110);
        l->setFrameShape(QFrame::StyledPanel);
        status->addWidget(l);
        totals_ << l;
    }
    status->addStretch();

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    const auto button = [&](const QString &name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    first_ = button(QStringLiteral("BB1"), QStringLiteral("首单"));
    previous_ = button(QStringLiteral("BB2"), QStringLiteral("前单"));
    next_ = button(QStringLiteral("BB3"), QStringLiteral("后单"));
    last_ = button(QStringLiteral("BB4"), QStringLiteral("尾单"));
    QPushButton *printButton = button(QStringLiteral("BB5"), QStringLiteral("打印"));
    QPushButton *close = button(QStringLiteral("BB6"), QStringLiteral("关闭"));
    connect(first_, &QPushButton::clicked, this, &DocumentViewer::first);
    connect(previous_, &QPushButton::clicked, this, &DocumentViewer::previous);
    connect(next_, &QPushButton::clicked, this, &DocumentViewer::next);
    connect(last_, &QPushButton::clicked, this, &DocumentViewer::last);
    connect(close, &QPushButton::clicked, this, [this] { KeyFlow::closeWindow(this); });
    auto *menu = new QMenu(printButton);
    menu->setObjectName(QStringLiteral("PopupMenu1"));
    connect(menu->addAction(QStringLiteral("带编码打印")), &QAction::triggered, this, [this] { print(true); });
    connect(menu->addAction(QStringLiteral("不带编码打印")), &QAction::triggered, this, [this] { print(false); });
    printButton->setMenu(menu);
    KeyFlow::escCloses(this, close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addLayout(form);
    layout->addWidget(grid_);
    layout->addLayout(status);
    layout->addLayout(buttons);
    resize(760, 480);
}

QString DocumentViewer::totalText(int i) const { return i >= 0 && i < totals_.size() ? totals_[i]->text() : QString(); }

void DocumentViewer::showDocuments(const QStringList &numbers, int index)
{
    numbers_ = numbers;
    go(index);
}

void DocumentViewer::first() { go(0); }
void DocumentViewer::previous() { go(index_ - 1); }
void DocumentViewer::next() { go(index_ + 1); }
void DocumentViewer::last() { go(int(numbers_.size()) - 1); }

void DocumentViewer::go(int index)
{
    if (numbers_.isEmpty()) return;
    index_ = std::clamp(index, 0, int(numbers_.size()) - 1);
    // At either end the buttons that would leave the list are off.
    first_->setEnabled(index_ > 0);
    previous_->setEnabled(index_ > 0);
    next_->setEnabled(index_ < numbers_.size() - 1);
    last_->setEnabled(index_ < numbers_.size() - 1);
    load();
}

void DocumentViewer::load()
{
    const QString dh = numbers_[index_];
    header_ = DocumentService(book(), kind_).header(dh);
    if (!header_) {
        // Deleted since the list was shown: nothing left to walk reliably.
        prompt().warn(QStringLiteral("数据未打开，关闭窗口后重新打开！"));
        KeyFlow::closeWindow(this);
        return;
    }
    const DocumentHeader &h = *header_;
    approval_->setText(h.shbj);
    approval_->setStyleSheet(h.shbj == DocFlag::NotApproved ? QStringLiteral("color: red") : QString());
    const QHash<QString, QString> common{{"rq", h.rq},
                                         {"dh", h.dh},
                                         {"jsr", h.jsr},
                                         {"bz", h.bz},
                                         {"yhe", h.yhe.toFixed2()},
                                         {kind_.payableColumn, h.payable.toFixed2()},
                                         {kind_.paidColumn, h.paid.toFixed2()}};
    for (auto it = fields_.cbegin(); it != fields_.cend(); ++it)
        it.value()->setText(common.contains(it.key()) ? common.value(it.key()) : h.field(it.key()));
    totals_[0]->setText(h.hjsl.toPlain());
    totals_[1]->setText(h.hjje.toPlain());

    documentLines_ = loadDocumentLines(book(), kind_, dh, true);
    // Lines another counter is still adding under the same number are not this document's.
    documentLines_.removeIf([](const DocumentLine &l) { return l.bj == DocFlag::Added; });
    lines_->clearOpen();
    for (const DocumentLine &l : documentLines_)
        lines_->appendRow({l.txm, l.ppgg, l.dw, l.sl, l.jg, l.zk, l.je});
}

void DocumentViewer::print(bool withCodes)
{
    if (!header_) return;
    // What the operator sees is printed as it stands: a viewed document is not checked again.
    const CompanyInfo company = company::load(book());
    const ReportData document = DocumentPrint::reportData(kind_, company.mcdy, *header_, documentLines_,
                                                          session::current().stYhm1, company.bz3, company.bz4);
    previewReport(DocumentPrint::layoutName(kind_, withCodes), document, this);
}
