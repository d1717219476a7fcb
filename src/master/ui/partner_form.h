// Pieces the address-book windows share: padded field labels and the form grid they sit in.
#pragma once

#include <QString>

class QGridLayout;
class QLineEdit;
class QWidget;

namespace partner_form {

// Pads a label to the four-character width of the dialogs ("名　　称", "联 系 人").
QString label(const QString &text);
// A line edit named `objectName` under a padded label in the next row of `grid`.
QLineEdit *addField(QGridLayout *grid, QWidget *owner, const QString &objectName, const QString &caption);
// Where exports go by default: the folder of the book file, or the program's folder for a
// shared PostgreSQL book.
QString dataDir();

} // namespace partner_form
