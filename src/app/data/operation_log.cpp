#include "app/data/operation_log.h"

#include "app/session.h"

#include <QDateTime>

namespace OperationLog {

void write(Database &db, const QString &action, const QString &dh, const QString &detail)
{
    db.insert(QStringLiteral("czrz"),
              {{"sj", QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))},
               {"czy", session::current().stYhm1},
               {"cz", action},
               {"dh", dh},
               {"nr", detail}});
}

} // namespace OperationLog
