// The operation log: who approved, un-approved, deleted, zeroed, granted, restored or cleared
// what and when. Written inside the transaction of the operation it records, so a rolled-back
// operation leaves no row.
#pragma once

#include "app/data/database.h"

#include <QString>

namespace OperationLog {

// Appends one row for the logged-in operator at the current time. `action` is the operation
// as the operator knows it ("结单", "反审", "删除"…), `dh` the document number or empty.
void write(Database &db, const QString &action, const QString &dh, const QString &detail = QString());

} // namespace OperationLog
