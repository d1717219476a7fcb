// The tables and columns of a book, their indexes, and the making of a new book.
#pragma once

#include "app/data/database.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace schema {

// A book made by this program carries its schema version; later versions upgrade in place.
constexpr int CurrentVersion = 6;

enum class ColumnKind {
    Text,     // names, codes, dates "yyyy-mm-dd", flags
    Amount,   // Decimal raw count (ten-thousandths): money and quantities
    Integer,  // plain whole numbers (row references)
};

struct Column {
    const char *name;
    ColumnKind kind;
};

struct Table {
    const char *name;
    QList<Column> columns;          // without id: every table has a generated id first
    QList<QStringList> indexes;     // column lists to index
    // Columns that must be unique (one unique index): document numbers and operator names.
    // Names in the lookup lists and partner books are checked when added but may be edited to
    // an existing name, so they carry plain indexes only.
    QStringList unique;
};

const QList<Table> &tables();
const Table *table(const QString &name);

// The twelve permissions, in the order the main window checks them.
const QStringList &permissionNames();

// The columns a goods row is found by (warehouses, goods name, code, unit), wherever they
// appear: never NULL, as every posting matches them with "=".
const QStringList &goodsNameColumns();

// The built-in operator: can be neither deleted nor have its permissions changed.
inline QString builtInOperator() { return QStringLiteral("系统管理员"); }

// Creates every table and index, the schema version, the company row, the built-in operator
// with the given password (hashed) and its twelve permissions, in one transaction.
void create(Database &db, const QString &adminPassword);

// The version of an open book, or 0 when it is not a book of this program.
int version(Database &db);

// Brings a book of an older version up to CurrentVersion in place, in one transaction; a
// current book is left alone. Throws DbError when a step is refused.
void upgrade(Database &db);

} // namespace schema
