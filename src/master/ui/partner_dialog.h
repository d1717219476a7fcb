// The add/edit dialog of the supplier and customer books: nine fields, "保存" and "关闭".
// In mode "新增" it stays open for the next entry; in "修改" it rewrites one row and closes.
#pragma once

#include "master/partner_book.h"

#include <QDialog>
#include <QList>

class QLineEdit;
class QPushButton;

class PartnerDialog : public QDialog {
    Q_OBJECT
public:
    static inline const QString AddMode = QStringLiteral("新增");
    static inline const QString EditMode = QStringLiteral("修改");

    // Mode "新增" with every field empty.
    void startAdding();
    // Mode "修改" with the fields preset from the row.
    void startEditing(const PartnerRecord &r);
    QString mode() const;
    // The row written by the last successful save, 0 before.
    qint64 savedId() const { return savedId_; }

public slots:
    void save();

protected:
    PartnerDialog(const PartnerConfig &config, QWidget *parent);

private:
    QLineEdit *field(const QString &column) const;

    const PartnerConfig &config_;
    QList<QLineEdit *> edits_;   // Edit1 … Edit9, in the order of PartnerRecord::columns()
    QLineEdit *st1_ = nullptr;   // the hidden mode
    QPushButton *saveButton_ = nullptr;
    qint64 editedId_ = 0;
    qint64 savedId_ = 0;
};
