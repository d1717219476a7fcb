#include "app/data/row_source.h"

#include <QSqlRecord>

int QueryRows::indexOf(const QString &field) const { return query_->record().indexOf(field); }
