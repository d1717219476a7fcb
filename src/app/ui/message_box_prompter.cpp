#include "app/ui/message_box_prompter.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QWidget *owner() { return QApplication::activeWindow(); }

QMessageBox::StandardButton ask(QMessageBox::Icon icon, const QString &caption, const QString &text,
                                QMessageBox::StandardButtons buttons, QMessageBox::StandardButton deflt,
                                const QString &details = QString())
{
    QMessageBox box(icon, caption, text, buttons, owner());
    box.setDefaultButton(deflt);
    if (!details.isEmpty()) box.setDetailedText(details);
    return QMessageBox::StandardButton(box.exec());
}

} // namespace

void MessageBoxPrompter::info(const QString &text)
{
    ask(QMessageBox::Information, QStringLiteral("提示"), text, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBoxPrompter::warn(const QString &text)
{
    ask(QMessageBox::Warning, QStringLiteral("警告"), text, QMessageBox::Ok, QMessageBox::Ok);
}

bool MessageBoxPrompter::confirm(const QString &text)
{
    return ask(QMessageBox::Question, QStringLiteral("提示"), text, QMessageBox::Ok | QMessageBox::Cancel,
               QMessageBox::Ok) == QMessageBox::Ok;
}

bool MessageBoxPrompter::yesNo(const QString &text)
{
    return ask(QMessageBox::Question, QStringLiteral("提示"), text, QMessageBox::Yes | QMessageBox::No,
               QMessageBox::Yes) == QMessageBox::Yes;
}

void MessageBoxPrompter::error(const QString &text)
{
    ask(QMessageBox::Critical, QStringLiteral("错误"), text, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBoxPrompter::errorWithDetails(const QString &text, const QString &details)
{
    ask(QMessageBox::Critical, QStringLiteral("错误"), text, QMessageBox::Ok, QMessageBox::Ok, details);
}
