// The one window behind the five lookup lists: the list of values with add, edit, delete and
// "选择", and its add dialog. The named windows (TFlb1, TFtjlb1, …) configure it.
#pragma once

#include "master/lookup_list.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;
class RecordTableModel;

class LookupListWindow : public QDialog {
    Q_OBJECT
public:
    LookupListWindow(LookupKind kind, QWidget *parent = nullptr);

    // Who opened the list and which of its fields "选择" fills (the hidden mark `xzbj`).
    void setCaller(LookupCaller *caller, const QString &mark);
    QString mark() const;

    const LookupListConfig &config() const { return list_.config(); }
    RecordTableModel *model() const { return model_; }
    QTableView *grid() const { return grid_; }

    void requery();
    void addClick();
    void editClick();
    void deleteClick();
    void chooseClick();

private:
    qint64 currentId() const;
    int currentRow() const;

    LookupList list_;
    LookupCaller *caller_ = nullptr;
    QTableView *grid_ = nullptr;
    RecordTableModel *model_ = nullptr;
    QLineEdit *xzbj_ = nullptr;
};

// The add (and edit) dialog of a lookup list: one text box, for the income and expense items
// also the drop-down of their category. Mode "新增" stays open after each save.
class LookupAddDialog : public QDialog {
    Q_OBJECT
public:
    LookupAddDialog(LookupKind kind, QWidget *parent = nullptr);

    void setAdding();
    void setEditing(qint64 id, const QString &value);
    QString mode() const;   // "新增" / "修改"

    void saveClick();

protected:
    void showEvent(QShowEvent *e) override;

private:
    LookupList list_;
    qint64 id_ = 0;
    QLineEdit *st1_ = nullptr;
    QLineEdit *edit1_ = nullptr;
    QComboBox *combo_ = nullptr;
    QPushButton *save_ = nullptr;
};

// Opens the named list window of `kind` modally for `caller`; returns when it closes.
void openLookupList(LookupKind kind, const QString &mark, LookupCaller &caller, QWidget *parent);
// The named add dialog of `kind` (TFtjlb1, …), not yet shown.
LookupAddDialog *makeLookupAddDialog(LookupKind kind, QWidget *parent);
