// The pickers of the address books: a searchable grid from which a document window takes a
// supplier, customer or handler. The caller names itself by its mark; the picker hands the
// chosen name back through PartnerCaller and closes.
#pragma once

#include "app/widgets/record_table_model.h"

#include <QDialog>
#include <QSqlQuery>
#include <QStringList>

class PartnerCaller;
class QLineEdit;
class QTableView;

class PartnerPicker : public QDialog {
    Q_OBJECT
public:
    struct Setup {
        QString caption;       // "选择厂商资料"
        QString noun;          // "厂商": "没有厂商可选择！"
        QList<RecordTableModel::Column> columns;
        QString nameField;     // the column handed to the caller: "mc", "xm"
        QStringList marks;     // the callers this picker serves
    };

    // Who receives the choice, and for which of its fields (xzbj).
    void setCaller(PartnerCaller *caller, const QString &mark);
    QString callerMark() const { return mark_; }

    RecordTableModel *model() const { return model_; }
    QLineEdit *searchBox() const { return search_; }

public slots:
    void choose();
    void addClicked();

protected:
    PartnerPicker(Setup setup, QWidget *parent);

    // The rows when the picker opens, and for a typed search text.
    virtual QSqlQuery rowsOnShow() = 0;
    virtual QSqlQuery rowsFor(const QString &typed) = 0;
    // The book's add dialog in mode "新增".
    virtual void openAddDialog() = 0;

    void showEvent(QShowEvent *e) override;

private:
    template <class F> void display(F rows);

    Setup setup_;
    RecordTableModel *model_ = nullptr;
    QTableView *grid_ = nullptr;
    QLineEdit *search_ = nullptr;
    PartnerCaller *caller_ = nullptr;
    QString mark_;
};
