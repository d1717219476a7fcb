// The import dialog: step one shows the template workbook, step two imports the chosen file.
#pragma once

#include "master/spreadsheet_import.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QToolButton;

class TFdr1 : public QDialog {
    Q_OBJECT
public:
    explicit TFdr1(ImportTarget target, QWidget *parent = nullptr);

    ImportTarget target() const { return target_; }
    QString templatePath() const;

    void openTemplate();       // "打开模版"
    void chooseSourceFile();   // "选择文件"
    void runImport();          // "导入"

protected:
    void showEvent(QShowEvent *e) override;
    // The file chooser; an empty text when the operator cancels it.
    virtual QString askForSourceFile();
    // Hands the file to the desktop's program for it; false when there is none.
    virtual bool openWithDesktop(const QString &path);

private:
    ImportTarget target_;
    QLineEdit *templateEdit_;
    QLineEdit *sourceEdit_;
    QToolButton *openTemplateButton_;
    QToolButton *chooseButton_;
    QPushButton *importButton_;
    QPushButton *cancelButton_;
};
