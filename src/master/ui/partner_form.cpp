#include "master/ui/partner_form.h"

#include "app/book_folders.h"
#include "app/data/dm1.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace partner_form {

QString label(const QString &text)
{
    if (text.size() == 2) return QString(text.at(0)) + QString(2, QChar(0x3000)) + text.at(1);
    if (text.size() == 3) return QString(text.at(0)) + u' ' + text.at(1) + u' ' + text.at(2);
    return text;
}

QLineEdit *addField(QGridLayout *grid, QWidget *owner, const QString &objectName, const QString &caption)
{
    const int row = grid->rowCount();
    auto *edit = new QLineEdit(owner);
    edit->setObjectName(objectName);
    auto *l = new QLabel(label(caption), owner);
    l->setBuddy(edit);
    grid->addWidget(l, row, 0);
    grid->addWidget(edit, row, 1);
    return edit;
}

QString dataDir()
{
    return DM1::current() ? book_folders::dataFolderOf(book()) : book_folders::current().data;
}

} // namespace partner_form
