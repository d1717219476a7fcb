// Operator list "操作员设置": the operators (never their passwords) with add, modify, delete and
// the permission editor.
#pragma once

#include <QDialog>

class QTableView;
class RecordTableModel;

class TFyhsz1 : public QDialog {
    Q_OBJECT
public:
    explicit TFyhsz1(QWidget *parent = nullptr);

    RecordTableModel *model() const { return model_; }
    QTableView *grid() const { return grid_; }

public slots:
    void addClicked();
    void modifyClicked();
    void deleteClicked();
    void permissionsClicked();

private:
    // Reads the list again and selects the row of `name` when it is still there.
    void requery(const QString &name = QString());
    QString currentName() const;

    RecordTableModel *model_ = nullptr;
    QTableView *grid_ = nullptr;
};
