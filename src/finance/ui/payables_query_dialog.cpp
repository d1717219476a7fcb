#include "finance/ui/payables_query_dialog.h"

#include <QComboBox>
#include <QLineEdit>

PayablesQueryDialog::PayablesQueryDialog(SettlementKind side, QWidget *parent)
    : MoneyQueryDialog({{QStringLiteral("类　型"),
                         {QStringLiteral("全部"), PayablesTexts::of(side).owedType, PayablesTexts::of(side).owedBackType}}},
                       {side == SettlementKind::Payment ? QStringLiteral("厂　　商") : QStringLiteral("客　　户"),
                        QStringLiteral("员　　工"), QStringLiteral("单　　号")},
                       parent)
{
}

PayablesFilter PayablesQueryDialog::filter() const
{
    PayablesFilter f;
    f.matchTexts = true;
    f.partner = text(0)->text();
    f.employee = text(1)->text();
    f.dh = text(2)->text();
    f.dates = dates().range();
    f.direction = PayablesFilter::Direction(combo(0)->currentIndex());
    return f;
}
