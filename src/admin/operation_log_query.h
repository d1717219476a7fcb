// Reading the operation log back: who did what to the book and when, narrowed by date,
// operator and action.
#pragma once

#include "app/data/database.h"

#include <QDate>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

struct LogQuery {
    QDate from, to;           // both days included
    QString operatorName;     // empty: every operator
    QString action;           // empty: every action
};

namespace OperationLogQuery {

// Columns sj, czy, cz, dh, nr, oldest first.
QSqlQuery rows(Database &db, const LogQuery &q);
// The operators and actions the log holds, for the query's drop-down lists.
QStringList operators(Database &db);
QStringList actions(Database &db);

} // namespace OperationLogQuery
