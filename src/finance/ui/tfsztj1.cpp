#include "finance/ui/tfsztj1.h"

#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/report_bar.h"
#include "finance/combined_statistics.h"
#include "master/company_info.h"
#include "print/ui/print_preview.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFsztj1::TFsztj1(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TFsztj1"));
    setWindowTitle(QStringLiteral("进销存财综合统计表"));

    dates_ = DateRange::make(this, QStringLiteral("日期范围"));
    auto *top = new QHBoxLayout;
    top->addLayout(dates_.layout(QStringLiteral("至")));
    const auto b = ReportBar::addButtons(this, top, {{"BB1", "统计"}, {"BB2", "打印"}, {"BB3", "关闭"}});
    connect(b["BB1"], &QPushButton::clicked, this, &TFsztj1::computeClick);
    connect(b["BB2"], &QPushButton::clicked, this, &TFsztj1::printClick);
    QPushButton *close = b["BB3"];
    connect(close, &QPushButton::clicked, this, [this] { KeyFlow::closeWindow(this); });

    // The figures in their rows: purchases, sales, stock changes, stock, payables, owed,
    // receivables, owed, money.
    const QList<QList<std::pair<const char *, const char *>>> rows = {
        {{"cgsl", "采购数量:"}, {"cgje", "采购金额:"}}, {{"xssl", "销售数量:"}, {"xsje", "销售金额:"}},
        {{"rksl", "异动数量:"}, {"rkje", "异动金额:"}}, {{"kcsl", "库存数量:"}, {"kcje", "库存金额:"}},
        {{"yf", "应付金额:"}, {"sf", "实付金额:"}},     {{"qk1", "欠款金额:"}},
        {{"ys", "应收金额:"}, {"ss", "实收金额:"}},     {{"qk2", "欠款金额:"}},
        {{"fk", "营业付款:"}, {"sk", "营业收款:"}},     {{"sz", "其他收支:"}}};
    auto *grid = new QGridLayout;
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c) {
            auto *e = new QLineEdit(QStringLiteral("0"), this);
            e->setObjectName(QString::fromLatin1(rows[r][c].first));
            e->setReadOnly(true);
            e->setFocusPolicy(Qt::NoFocus);
            figures_.insert(e->objectName(), e);
            grid->addWidget(new QLabel(QString::fromUtf8(rows[r][c].second), this), r, c * 2);
            grid->addWidget(e, r, c * 2 + 1);
        }

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(grid);
    layout->addStretch();
    resize(620, 440);
    KeyFlow::enterMovesFocus(this, nullptr);
    KeyFlow::escCloses(this, close);
}

QString TFsztj1::figure(const QString &field) const
{
    QLineEdit *e = figures_.value(field);
    return e ? e->text() : QString();
}

void TFsztj1::computeClick()
{
    const auto values = CombinedStatistics::compute(book(), {dates_.checked(), dates_.fromText(), dates_.toText()});
    for (auto it = values.cbegin(); it != values.cend(); ++it) figures_.value(it.key())->setText(it.value().toPlain());
    prompt().info(QStringLiteral("统计完毕！"));
}

void TFsztj1::printClick()
{
    // The figures as they stand on screen, under the period line the date box shows now.
    ReportData report;
    report.title = company::printHeading(book()) + QStringLiteral("进销存财综合统计表");
    report.text(QStringLiteral("period"),
                CombinedStatistics::periodLine({dates_.checked(), dates_.fromText(), dates_.toText()}));
    for (const QString &f : CombinedStatistics::fields()) report.text(f, figure(f));
    previewReport(QStringLiteral("TFdysztj1"), report, this);
}
