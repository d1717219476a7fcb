#include "finance/ui/tfcxszfx1.h"

#include <QComboBox>
#include <QLineEdit>

TFcxszfx1::TFcxszfx1(QWidget *parent)
    : MoneyQueryDialog({{QStringLiteral("类　别"), {QStringLiteral("全部"), IncomeExpenseBook::Income, IncomeExpenseBook::Expense}}},
                       {QStringLiteral("收支项目"), QStringLiteral("员　　工")}, parent)
{
    setObjectName(QStringLiteral("TFcxszfx1"));
}

IncomeExpenseFilter TFcxszfx1::filter() const
{
    IncomeExpenseFilter f;
    f.matchTexts = true;
    f.xm = text(0)->text();
    f.employee = text(1)->text();
    f.category = IncomeExpenseFilter::Category(combo(0)->currentIndex());
    f.dates = dates().range();
    return f;
}
