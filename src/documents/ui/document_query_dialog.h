// "按条件查询" of the document lists: party, handler, number, approval state, a period and
// "only documents with a debt". The sales list asks for the customer where purchases ask for
// the supplier.
#pragma once

#include "app/widgets/date_range.h"
#include "documents/document_list_query.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

class DocumentQueryDialog : public QDialog {
    Q_OBJECT
public:
    DocumentListFilter filter() const;

protected:
    DocumentQueryDialog(const QString &partyCaption, QWidget *parent) : DocumentQueryDialog(partyCaption, {}, parent) {}
    // Stock documents: the first box searches `filterColumn` ("ck1", "lx") and there is no debt.
    DocumentQueryDialog(const QString &partyCaption, const QString &filterColumn, QWidget *parent);
    void showEvent(QShowEvent *e) override;

private:
    QLineEdit *party_, *handler_, *number_;
    QComboBox *approval_;
    DateRange dates_;
    QCheckBox *debtOnly_;
    QString filterColumn_;
};
