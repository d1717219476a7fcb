// The purchase document list on a book of 100,000 purchase documents of which 10,000 are held:
// the time until the list shows its first rows with the totals, on opening and for a query that
// returns every document, against the same statements stepped through the raw sqlite3 API.
#include "bench.h"
#include "bench_book.h"
#include "bench_raw.h"

#include "app/data/dm1.h"
#include "documents/ui/tfcggl1.h"

#include <QApplication>
#include <QDir>
#include <QSqlQuery>

#include <random>
#include <stdexcept>

namespace {

QString makePurchaseBook(const QString &dir, int documents, int held)
{
    const QString file = bench::newBook(dir);
    DM1 dm(BookLocation::sqlite(file));
    dm.open();
    Database &db = dm.db();
    std::mt19937 rnd(2026);
    const QDate today = QDate::currentDate();
    const int perDay = 40;
    Transaction tx(db);
    QSqlQuery h = db.prepare(QStringLiteral("INSERT INTO cgglz (dh, rq, kdrq, ghs, ck, jsr, zhidan, bz, hjsl, hjje, yhe, "
                                            "yfe, sfe, qk, shbj) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    const int heldEvery = documents / held;
    for (int n = 0; n < documents; ++n) {
        const QDate d = today.addDays(n / perDay - documents / perDay);
        const qint64 yfe = qint64(rnd() % 1000000) * 100;
        const qint64 sfe = rnd() % 10 == 0 ? yfe / 2 : yfe;
        int i = 0;
        h.bindValue(i++, QStringLiteral("CG%1%2").arg(d.toString(QStringLiteral("yyyyMMdd"))).arg(n % perDay + 1, 3, 10, QLatin1Char('0')));
        h.bindValue(i++, dateText(d));
        h.bindValue(i++, dateText(d));
        h.bindValue(i++, QStringLiteral("厂商%1").arg(rnd() % 300));
        h.bindValue(i++, QStringLiteral("一号库"));
        h.bindValue(i++, QStringLiteral("员工%1").arg(rnd() % 20));
        h.bindValue(i++, QStringLiteral("系统管理员"));
        h.bindValue(i++, QString());
        h.bindValue(i++, qint64(rnd() % 500 + 1) * 10000);
        h.bindValue(i++, yfe);
        h.bindValue(i++, qint64(0));
        h.bindValue(i++, yfe);
        h.bindValue(i++, sfe);
        h.bindValue(i++, yfe - sfe);
        // Held documents are spread over the whole period, as counters leave them any day.
        h.bindValue(i++, n % heldEvery == 0 ? QStringLiteral("未审核") : QStringLiteral("已审核"));
        Database::run(h);
    }
    tx.commit();
    return file;
}

double rawMs(const QString &file, const QList<std::pair<QString, std::vector<QByteArray>>> &statements)
{
    std::vector<std::unique_ptr<bench::RawQuery>> queries;
    for (const auto &s : statements) queries.push_back(std::make_unique<bench::RawQuery>(file, s.first));
    qint64 sink = 0;
    const double ms = bench::medianMs(5, [&] {
        for (size_t i = 0; i < queries.size(); ++i) sink += queries[i]->run(statements[int(i)].second);
    });
    if (sink == 42) std::puts("");
    return ms;
}

void purchaseList(const bench::Options &o)
{
    const int documents = int(100000 * o.scale), held = int(10000 * o.scale);
    const QString file = makePurchaseBook(o.workDir, documents, held);
    DM1 dm(BookLocation::sqlite(file));
    dm.open();
    DM1::setCurrent(&dm);
    const QByteArray notApproved("未审核");

    const double open = bench::medianMs(5, [] {
        TFcggl1 w;
        w.show();
        QApplication::processEvents();
    });
    const double openBound =
        rawMs(file, {{"SELECT SUM(hjsl), SUM(hjje), SUM(yfe), SUM(sfe), SUM(qk) FROM cgglz WHERE shbj = ?", {notApproved}},
                     {"SELECT * FROM cgglz WHERE shbj = ? ORDER BY dh", {notApproved}}});
    bench::report(QStringLiteral("purchase list opening (%1 held of %2)").arg(held).arg(documents), open, openBound,
                  QStringLiteral("< 300 ms"));

    TFcggl1 w;
    w.show();
    const double query = bench::medianMs(5, [&] {
        w.runQuery({});
        QApplication::processEvents();
    });
    const double queryBound = rawMs(file, {{"SELECT SUM(hjsl), SUM(hjje), SUM(yfe), SUM(sfe), SUM(qk) FROM cgglz", {}},
                                           {"SELECT * FROM cgglz ORDER BY id", {}}});
    bench::report(QStringLiteral("purchase list query of all %1 documents, first rows").arg(documents),
                  query, queryBound, QStringLiteral("< 300 ms"));
    DM1::setCurrent(nullptr);
}

} // namespace

MARVODA_BENCH("document-list", purchaseList)
