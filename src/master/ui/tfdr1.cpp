#include "master/ui/tfdr1.h"

#include "app/book_folders.h"
#include "app/widgets/spreadsheet_opener.h"

#include "app/data/dm1.h"
#include "app/prompter.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

TFdr1::TFdr1(ImportTarget target, QWidget *parent) : QDialog(parent), target_(target)
{
    setObjectName(QStringLiteral("TFdr1"));
    setWindowTitle(spreadsheet_import::caption(target));

    templateEdit_ = new QLineEdit(this);
    templateEdit_->setObjectName(QStringLiteral("Edit1"));
    templateEdit_->setReadOnly(true);
    templateEdit_->setText(QDir::toNativeSeparators(templatePath()));
    openTemplateButton_ = new QToolButton(this);
    openTemplateButton_->setObjectName(QStringLiteral("SpeedButton1"));
    openTemplateButton_->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    openTemplateButton_->setToolTip(QStringLiteral("打开模版"));

    sourceEdit_ = new QLineEdit(this);
    sourceEdit_->setObjectName(QStringLiteral("Edit2"));
    chooseButton_ = new QToolButton(this);
    chooseButton_->setObjectName(QStringLiteral("SpeedButton2"));
    chooseButton_->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    chooseButton_->setToolTip(QStringLiteral("选择文件"));

    importButton_ = new QPushButton(QStringLiteral("导入"), this);
    importButton_->setObjectName(QStringLiteral("BitBtn1"));
    cancelButton_ = new QPushButton(QStringLiteral("取消"), this);
    cancelButton_->setObjectName(QStringLiteral("BitBtn2"));
    // Enter belongs to the source field, never to a default button.
    importButton_->setAutoDefault(false);
    cancelButton_->setAutoDefault(false);

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("步骤一：参考此文件模版制作导入源文件"), this), 0, 0, 1, 2);
    grid->addWidget(templateEdit_, 1, 0);
    grid->addWidget(openTemplateButton_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("步骤二：选择正确的源文件进行导入操作"), this), 2, 0, 1, 2);
    grid->addWidget(sourceEdit_, 3, 0);
    grid->addWidget(chooseButton_, 3, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(importButton_);
    buttons->addWidget(cancelButton_);
    grid->addLayout(buttons, 4, 0, 1, 2);
    templateEdit_->setMinimumWidth(380);
    setFixedSize(sizeHint());

    connect(openTemplateButton_, &QToolButton::clicked, this, &TFdr1::openTemplate);
    connect(chooseButton_, &QToolButton::clicked, this, &TFdr1::chooseSourceFile);
    connect(importButton_, &QPushButton::clicked, this, &TFdr1::runImport);
    connect(cancelButton_, &QPushButton::clicked, this, &TFdr1::reject);
    connect(sourceEdit_, &QLineEdit::returnPressed, this, [this] {
        if (sourceEdit_->text().trimmed().isEmpty()) chooseSourceFile();
        else runImport();
    });
}

QString TFdr1::templatePath() const
{
    return QDir(book_folders::current().templates()).filePath(spreadsheet_import::templateFile(target_));
}

void TFdr1::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    sourceEdit_->clear();
    sourceEdit_->setFocus();
}

void TFdr1::openTemplate()
{
    const QString path = QDir::fromNativeSeparators(templateEdit_->text());
    if (path.isEmpty()) return;
    if (!QFileInfo(path).isFile()) {
        prompt().warn(QStringLiteral("模版文件不存在：") + templateEdit_->text());
        return;
    }
    if (!openWithDesktop(path))
        prompt().info(QStringLiteral("没有找到可以打开模版的电子表格程序，模版文件在：\n") + templateEdit_->text());
}

void TFdr1::chooseSourceFile()
{
    const QString path = askForSourceFile();
    if (!path.isEmpty()) sourceEdit_->setText(QDir::toNativeSeparators(path));
    sourceEdit_->setFocus();
}

void TFdr1::runImport()
{
    if (sourceEdit_->text().trimmed().isEmpty()) {
        prompt().info(QStringLiteral("导入源文件不可为空！"));
        sourceEdit_->setFocus();
        return;
    }
    // A name typed with a stray blank at either end still finds its file.
    QString path = QDir::fromNativeSeparators(sourceEdit_->text());
    if (!QFileInfo::exists(path)) path = path.trimmed();
    // The book's connection stays open: the rows go in through it in one transaction, and the
    // lists, which own their rows, show them when the opener re-queries after the dialog.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const ImportResult r = importFile(book(), target_, path);
    QGuiApplication::restoreOverrideCursor();
    if (r.ok) {
        prompt().info(r.message());
        accept();
    } else {
        prompt().warn(r.message());
        sourceEdit_->setFocus();
    }
}

QString TFdr1::askForSourceFile()
{
    const QString current = QDir::fromNativeSeparators(sourceEdit_->text().trimmed());
    const QString start = current.isEmpty() ? QString() : QFileInfo(current).absolutePath();
    return QFileDialog::getOpenFileName(this, QStringLiteral("选择正确的源文件"), start,
                                        QStringLiteral("导入源文件(*.xls *.xlsx *.csv);;Excel文件(*.xls *.xlsx);;CSV文件(*.csv)"));
}

bool TFdr1::openWithDesktop(const QString &path) { return openInSpreadsheet(path); }
