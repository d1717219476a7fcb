// Text fields: what the operator types, pastes or drops is kept exactly as it arrives, or, when
// it would make the text longer than a field holds, refused whole with a message. A field
// never keeps the first part of an over-long paste.
#pragma once

#include <QString>

class QLineEdit;
class QWidget;

namespace TextField {

inline constexpr int MaxLength = 32767;
inline const QString TooLongMessage = QStringLiteral("输入内容不可超过32767个字符！");

void guard(QLineEdit *edit);
// Every text field of `form`: number fields, the boxes inside date and drop-down fields and
// fields with a rule of their own (a validator) keep theirs.
void guardAll(QWidget *form);

} // namespace TextField
