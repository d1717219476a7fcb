#include "master/ui/ledger_query_dialog.h"

#include "app/widgets/form_dialog.h"
#include "app/widgets/key_flow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

LedgerQueryDialog::LedgerQueryDialog(const LedgerDialogSetup &setup, QWidget *parent) : QDialog(parent)
{
    setObjectName(setup.name);
    setWindowTitle(setup.caption);
    // The fields are made in the order they stand, which is also the order Tab and Enter take.
    auto *form = new QFormLayout;
    auto addDates = [&] {
        dates_ = DateRange::make(this, QStringLiteral("日期从"), setup.keepDatesInOrder);
        form->addRow(dates_.layout());
    };
    auto addDirection = [&] {
        direction_ = new QComboBox(this);
        direction_->setObjectName(QStringLiteral("ComboBox1"));
        direction_->addItems({QStringLiteral("全部"), setup.inText, setup.outText});
        form->addRow(QStringLiteral("类　型"), direction_);
    };
    if (setup.datesFirst) {
        addDates();
        addDirection();
    }
    const QStringList labels = {setup.partyLabel, QStringLiteral("员　　工"), QStringLiteral("商品编码"),
                                QStringLiteral("商品名称"), QStringLiteral("仓　　库")};
    QLineEdit *lastBox = nullptr;
    for (int i = 0; i < 5; ++i) {
        if (i == 4 && !setup.withWarehouse) break;
        lastBox = edits_[i] = new QLineEdit(this);
        edits_[i]->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        form->addRow(labels[i], edits_[i]);
    }
    if (!setup.datesFirst) {
        addDirection();
        addDates();
    }
    if (!setup.groupings.isEmpty()) {
        auto *group = new QButtonGroup(this);
        auto *row = new QHBoxLayout;
        for (int i = 0; i < 3; ++i) {
            groups_[i] = new QRadioButton(setup.groupings.value(i), this);
            groups_[i]->setObjectName(QStringLiteral("RB%1").arg(i + 1));
            group->addButton(groups_[i], i);
            row->addWidget(groups_[i]);
        }
        groups_[0]->setChecked(true);
        connect(group, &QButtonGroup::idClicked, this, [this](int id) { emit groupingChosen(LedgerGrouping(id)); });
        form->addRow(row);
    }
    const FormDialogButtons b = layOutFormDialog(this, form, setup.mainCaption, QStringLiteral("BitBtn1"),
                                                 QStringLiteral("BitBtn2"));
    connect(b.main, &QPushButton::clicked, this, &QDialog::accept);

    // Enter walks the boxes and runs in the last one; from the type, the grouping and, when the
    // dates stand after the boxes, the to-date, it goes back to the first box.
    auto toFirstBox = [this] {
        edits_[0]->setFocus(Qt::TabFocusReason);
        return true;
    };
    KeyFlow::onEnter(lastBox, [main = b.main] {
        main->click();
        return true;
    });
    KeyFlow::onEnter(direction_, toFirstBox);
    if (!setup.datesFirst) KeyFlow::onEnter(dates_.to, toFirstBox);
    for (QRadioButton *rb : groups_)
        if (rb) KeyFlow::onEnter(rb, toFirstBox);
    edits_[0]->setFocus();
}

LedgerFilter LedgerQueryDialog::filter() const
{
    LedgerFilter f;
    QString *boxes[5] = {&f.party, &f.jsr, &f.txm, &f.ppgg, &f.ck};
    for (int i = 0; i < 5; ++i)
        if (edits_[i]) *boxes[i] = edits_[i]->text();
    f.direction = LedgerFilter::Direction(direction_->currentIndex());
    f.dated = dates_.checked();
    f.from = dates_.fromText();
    f.to = dates_.toText();
    return f;
}

LedgerGrouping LedgerQueryDialog::grouping() const
{
    for (int i = 0; i < 3; ++i)
        if (groups_[i] && groups_[i]->isChecked()) return LedgerGrouping(i);
    return LedgerGrouping::None;
}
