// Ledger, header and goods rows written straight into a test book, so a report can be checked
// against figures worked out by hand. Amounts and quantities are given as decimal text.
#pragma once

#include "app/data/database.h"
#include "app/text/decimal.h"

#include <QString>

#include <initializer_list>
#include <utility>

namespace ledger_rows {

// One column's value as text; amount and quantity columns are written as their Decimal.
struct Value {
    const char *column;
    QString text;
};

inline const QStringList &amountColumns()
{
    static const QStringList a = {"sl", "jg", "zk", "je", "cbjg", "cbje", "maoli", "kcsl", "kcjg", "kcje", "slt", "jet",
                                  "yfe", "sfe", "yse", "sse", "qk", "se", "ze", "xs", "hjsl", "hjje", "yhe"};
    return a;
}

inline qint64 add(Database &db, const QString &table, std::initializer_list<Value> values)
{
    QList<std::pair<QString, QVariant>> row;
    for (const Value &v : values) {
        const QString c = QString::fromLatin1(v.column);
        if (amountColumns().contains(c)) row.append({c, Decimal::parseOr0(v.text).raw()});
        else row.append({c, v.text});
    }
    return db.insert(table, row);
}

} // namespace ledger_rows
