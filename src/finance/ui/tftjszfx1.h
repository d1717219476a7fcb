// Entry dialog of other income and expense "新增其他收支" / "修改其他收支".
#pragma once

#include "finance/income_expense.h"
#include "master/lookup_list.h"
#include "master/ui/partner_caller.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

class TFtjszfx1 : public QDialog, public LookupCaller, public PartnerCaller {
    Q_OBJECT
public:
    explicit TFtjszfx1(QWidget *parent = nullptr);

    void setAdding();
    // The listed entry `id` with its date, category, item, both amounts, handler and note.
    void setEditing(qint64 id, const QString &rq, const QString &lb, const QString &xm, Decimal se, Decimal ze,
                    const QString &jsr, const QString &bz);
    QString mode() const;

    void saveClick();
    void openItems();
    void openEmployees();
    void lookupChosen(LookupKind kind, const QString &mark, const QString &value) override;
    void partnerChosen(const QString &mark, const QString &name) override;

signals:
    void saved(qint64 id);

protected:
    void showEvent(QShowEvent *e) override;

private:
    qint64 id_ = 0;
    QLabel *st1_ = nullptr;
    QDateEdit *date_ = nullptr;
    QComboBox *category_ = nullptr;
    QLineEdit *xm_ = nullptr;
    QLineEdit *je_ = nullptr;
    QLineEdit *jsr_ = nullptr;
    QLineEdit *bz_ = nullptr;
};
