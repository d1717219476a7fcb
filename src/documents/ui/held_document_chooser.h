// The chooser of held documents of one kind: the operator finds a document not yet approved
// by party and date and takes it up again in the entry window.
#pragma once

#include "app/widgets/date_range.h"
#include "documents/document.h"

#include <QDialog>

#include <functional>
#include <utility>

class QLineEdit;
class QPushButton;
class QTableView;
class RecordTableModel;

class HeldDocumentChooser : public QDialog {
    Q_OBJECT
public:
    struct Setup {
        DocType type;
        QString caption;           // "选择采购挂单（未审采购单）"
        QString partyCaption;      // "厂商"; empty for stock documents
        QString warehouseColumn;   // stock documents: only those of the entry window's warehouse
        // Stock documents have no party: the box filters another header column ("ck1", "lx")
        // and the grid shows their own header columns instead.
        QString filterColumn = {};
        QList<std::pair<QString, QString>> shownColumns = {};   // column, title
    };

    HeldDocumentChooser(Setup setup, QWidget *parent = nullptr);

    void setPartyFilter(const QString &party);
    // The header column the box filters; the entry window fills the box from its own field.
    QString filterColumn() const;
    void setWarehouse(const QString &ck) { warehouse_ = ck; }
    // Called with the chosen header before the chooser closes.
    void onChosen(std::function<void(const DocumentHeader &)> fn) { chosen_ = std::move(fn); }

    RecordTableModel *model() const { return model_; }
    QTableView *grid() const { return grid_; }

    void query();    // 查询
    void choose();   // 选择

protected:
    void showEvent(QShowEvent *e) override;

private:
    Setup setup_;
    const DocumentKind &kind_;
    QString warehouse_;
    QLineEdit *party_ = nullptr;
    DateRange range_;
    QTableView *grid_ = nullptr;
    RecordTableModel *model_ = nullptr;
    std::function<void(const DocumentHeader &)> chosen_;
};
