#include "master/goods_print.h"

QString goodsPrintTitle(Database &db)
{
    QSqlQuery q = db.exec(QStringLiteral("SELECT mcdy FROM danwei ORDER BY id"));
    return (q.next() ? q.value(0).toString() : QString()) + QStringLiteral("商品资料表");
}
