#include "bench_book.h"

#include "app/data/dm1.h"

#include <QDir>
#include <QSqlQuery>

#include <random>
#include <stdexcept>

namespace bench {

QString warehouseName(int n) { return QStringLiteral("仓库%1").arg(n + 1); }

QString newBook(const QString &dir)
{
    const QString file = Database::bookFileIn(dir);
    QString why;
    if (!createBook(BookLocation::sqlite(file), QString(), &why)) throw std::runtime_error(why.toStdString());
    return file;
}

QString goodsCode(int n)
{
    static const char *letters = "ABCDEFGHJKLMNPQRSTWXYZ";
    QString s;
    int v = n;
    for (int i = 0; i < 4; ++i) {
        s += QLatin1Char(letters[v % 22]);
        v /= 22;
    }
    return s + QString::number(n);
}

QString makeGoodsBook(const QString &dir, int goods, int warehouses)
{
    const QString file = bench::newBook(dir);
    DM1 dm(BookLocation::sqlite(file));
    dm.open();
    Database &db = dm.db();
    static const char *kinds[] = {"镀锌钢管", "螺纹钢", "水泥", "瓷砖", "PVC管", "铜线", "石膏板", "防水涂料"};
    static const char *units[] = {"根", "吨", "袋", "片", "米", "卷", "张", "桶"};
    std::mt19937 rnd(2011);
    Transaction tx(db);
    for (int w = 0; w < warehouses; ++w) db.insert(QStringLiteral("ck"), {{"ck", warehouseName(w)}});
    QSqlQuery q = db.prepare(QStringLiteral(
        "INSERT INTO sp (ck, lb, ppgg, txm, dw, jj, xjpf, xjls, kcsl, kcjg, kcje) VALUES (?,?,?,?,?,?,?,?,?,?,?)"));
    for (int n = 0; n < goods; ++n) {
        const int kind = int(rnd() % 8);
        const qint64 price = qint64(rnd() % 100000) * 100;
        const qint64 qty = qint64(rnd() % 1000) * 10000;
        q.bindValue(0, warehouseName(n % warehouses));
        q.bindValue(1, QString::fromUtf8(kinds[kind]).left(2));
        q.bindValue(2, QStringLiteral("%1 %2号 规格%3").arg(QString::fromUtf8(kinds[kind])).arg(n).arg(n % 97));
        q.bindValue(3, goodsCode(n));
        q.bindValue(4, QString::fromUtf8(units[kind]));
        q.bindValue(5, price);
        q.bindValue(6, price * 12 / 10);
        q.bindValue(7, price * 15 / 10);
        q.bindValue(8, qty);
        q.bindValue(9, price);
        q.bindValue(10, price * qty / 10000);
        Database::run(q);
    }
    tx.commit();
    return file;
}

} // namespace bench
