// The entry dialog of a payment or a collection (TFtjfkfx1 / TFtjskfx1): the document is typed
// or chosen among the owed ones, its partner and debt are looked up on every change of the
// number, and "保存" records the amount approved against the document.
#pragma once

#include "finance/settlement.h"
#include "master/ui/partner_caller.h"

#include <QDialog>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

// A listed payment or collection, as the modify command hands it to the dialog.
struct SettlementRow {
    qint64 id = 0;
    QString rq, dh, partner;
    Decimal je;
    QString jsr, bz;
};

class SettlementEntryDialog : public QDialog, public PartnerCaller {
    Q_OBJECT
public:
    const SettlementConfig &config() const { return service_.config(); }

    void setAdding();
    void setEditing(const SettlementRow &row);
    QString mode() const;   // "新增" / "修改"

    void saveClick();
    void openChooser();
    void openEmployees();
    // What the chooser of owed documents hands back.
    void documentChosen(const OwedDocument &d);
    void partnerChosen(const QString &mark, const QString &name) override;

signals:
    // A row was saved (and approved); the list shows it from now on.
    void saved(qint64 id);

protected:
    SettlementEntryDialog(SettlementKind kind, QWidget *parent);
    void showEvent(QShowEvent *e) override;

private:
    void lookUp(const QString &dh);
    QWidget *field(const QString &name) const;

    SettlementService service_;
    qint64 id_ = 0;
    QLabel *st1_ = nullptr;
    QDateEdit *date_ = nullptr;
    QLineEdit *dh_ = nullptr;
    QLineEdit *partner_ = nullptr;
    QLineEdit *qk_ = nullptr;
    QLineEdit *amount_ = nullptr;
    QLineEdit *jsr_ = nullptr;
    QLineEdit *bz_ = nullptr;
    QPushButton *save_ = nullptr;
};
