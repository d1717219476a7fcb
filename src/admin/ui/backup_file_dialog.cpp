#include "admin/ui/backup_file_dialog.h"

#include "admin/book_maintenance.h"
#include "admin/ui/dialog_buttons.h"
#include "app/prompter.h"
#include "app/widgets/key_flow.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

BackupFileDialog::BackupFileDialog(const QString &caption, const QString &label, const QString &command,
                                   QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(caption);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("Edit1"));
    edit_->setMinimumWidth(380);
    auto *browseButton = new QToolButton(this);
    browseButton->setObjectName(QStringLiteral("SpeedButton1"));
    browseButton->setText(QStringLiteral("…"));
    browseButton->setToolTip(QStringLiteral("浏览"));
    auto *file = new QHBoxLayout;
    file->addWidget(edit_);
    file->addWidget(browseButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(label, this));
    layout->addLayout(file);
    const DialogButtons buttons = addDialogButtons(this, layout, command);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(browseButton, &QToolButton::clicked, this, &BackupFileDialog::browse);
    connect(buttons.command, &QPushButton::clicked, this, &BackupFileDialog::runClicked);
    KeyFlow::onEnter(edit_, [this] {
        if (path().isEmpty()) browse();
        else runClicked();
        return true;
    });
    KeyFlow::enterMovesFocus(this, buttons.command);
    KeyFlow::escCloses(this, buttons.cancel);
    edit_->setFocus();
}

QString BackupFileDialog::path() const { return edit_->text().trimmed(); }

void BackupFileDialog::setPath(const QString &p) { edit_->setText(QDir::toNativeSeparators(p)); }

void BackupFileDialog::runClicked()
{
    if (path().isEmpty()) {
        prompt().info(BookMaintenance::EmptyNameMessage);
        browse();
        return;
    }
    run(path());
}

void BackupFileDialog::browse()
{
    const QString chosen = chooseFile();
    if (!chosen.isEmpty()) setPath(chosen);
}

QString BackupFileDialog::askFile(bool saving, const QString &folder, const QString &name)
{
    QFileDialog d(this, windowTitle(), folder, QStringLiteral("数据备份文件（*.bak） (*.bak)"));
    d.setObjectName(saving ? QStringLiteral("SaveDialog1") : QStringLiteral("OpenDialog1"));
    d.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    d.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // An older backup of the chosen name is replaced without asking, as the default name is.
    d.setOption(QFileDialog::DontConfirmOverwrite);
    if (!name.isEmpty()) d.selectFile(name);
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return {};
    return d.selectedFiles().first();
}
