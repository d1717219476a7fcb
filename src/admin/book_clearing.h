// Emptying chosen groups of tables: master data, purchases, sales, stock, finance.
#pragma once

#include "app/data/database.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace BookClearing {

struct Statement {
    QString sql;
    QVariantList values;
};

struct Group {
    QString caption;               // the check box text
    QList<Statement> statements;   // run in this order
};

// The five groups in the order they are cleared (CB1 … CB5).
const QList<Group> &groups();

// Clears the ticked groups (indexes into groups()) in their order, all in one transaction
// with its log row: a failure leaves every table as it was. The company row, the built-in
// operator and his permissions are never cleared. Refused (DbError, nothing cleared) while other
// counters are connected to a shared book.
void clear(Database &db, QList<int> ticked);

inline const QString DoneMessage = QStringLiteral("数据清除完毕！");

} // namespace BookClearing
