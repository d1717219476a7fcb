// The goods dialog: adding and editing one goods row (商品资料).
#pragma once

#include "master/goods.h"
#include "master/lookup_list.h"

#include <QDialog>
#include <QHash>

class QLineEdit;
class QPushButton;

class TFtjsp1 : public QDialog, public LookupCaller {
    Q_OBJECT
public:
    explicit TFtjsp1(QWidget *parent = nullptr);

    // Mode "新增": caption "新增商品资料", text fields empty, number fields "0".
    void setAdding();
    // Mode "修改": caption "修改商品资料", every field preset from the row.
    void setEditing(const GoodsRecord &r);
    QString mode() const;   // the hidden field ST1

    QLineEdit *field(const QString &column) const { return fields_.value(column); }
    void saveClick();
    void lookupChosen(LookupKind kind, const QString &mark, const QString &value) override;

signals:
    // A row was written: added (the dialog stays open) or edited (it closes).
    void saved(const GoodsRecord &r, bool added);

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;
    void showEvent(QShowEvent *e) override;

private:
    void openList(const QString &column);
    GoodsEntry entry() const;

    QHash<QString, QLineEdit *> fields_;
    QLineEdit *st1_ = nullptr;
    QPushButton *save_ = nullptr;
    qint64 id_ = 0;
};
