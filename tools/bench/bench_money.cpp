// The money lists on a book of 1,000,000 payments (about 400 a day over seven years) and the
// chooser of owed documents on 100,000 purchase documents: the time until the window shows
// its rows, against the same statement stepped through the raw sqlite3 API.
#include "bench.h"
#include "bench_book.h"

#include "app/data/dm1.h"
#include "finance/ui/tffkfx1.h"
#include "finance/ui/tfxzyf1.h"

#include <QApplication>
#include <QDir>
#include <QSqlQuery>

#include <sqlite3.h>

#include <random>
#include <stdexcept>

namespace {

QString makeMoneyBook(const QString &dir, int payments, int documents)
{
    const QString file = bench::newBook(dir);
    DM1 dm(BookLocation::sqlite(file));
    dm.open();
    Database &db = dm.db();
    std::mt19937 rnd(2026);
    const QDate today = QDate::currentDate();
    const int perDay = 400;
    Transaction tx(db);
    QSqlQuery p = db.prepare(QStringLiteral("INSERT INTO fkfx (rq, dh, ghs, je, jsr, bz, shbj) VALUES (?,?,?,?,?,?,?)"));
    const int days = payments / perDay;
    for (int n = 0; n < payments; ++n) {
        // Oldest first, so ids grow with the date as they do in a book kept day by day.
        const QDate d = today.addDays(n / perDay - days + 1);
        p.bindValue(0, dateText(d));
        p.bindValue(1, QStringLiteral("CG%1%2").arg(d.toString(QStringLiteral("yyyyMMdd"))).arg(n % 999 + 1, 3, 10, QLatin1Char('0')));
        p.bindValue(2, QStringLiteral("厂商%1").arg(rnd() % 300));
        p.bindValue(3, qint64(rnd() % 1000000) * 100);
        p.bindValue(4, QStringLiteral("员工%1").arg(rnd() % 20));
        p.bindValue(5, QString());
        p.bindValue(6, rnd() % 10 ? QStringLiteral("已审核") : QStringLiteral("未审核"));
        Database::run(p);
    }
    QSqlQuery h = db.prepare(QStringLiteral(
        "INSERT INTO cgglz (dh, rq, kdrq, ghs, jsr, yfe, sfe, qk, shbj) VALUES (?,?,?,?,?,?,?,?,?)"));
    for (int n = 0; n < documents; ++n) {
        const QDate d = today.addDays(n / 40 - documents / 40);
        const qint64 yfe = qint64(rnd() % 1000000) * 100;
        const qint64 sfe = rnd() % 10 == 0 ? yfe / 2 : yfe;   // one in ten still owed
        h.bindValue(0, QStringLiteral("CG%1%2").arg(d.toString(QStringLiteral("yyyyMMdd"))).arg(n % 40 + 1, 3, 10, QLatin1Char('0')));
        h.bindValue(1, dateText(d));
        h.bindValue(2, dateText(d));
        h.bindValue(3, QStringLiteral("厂商%1").arg(rnd() % 300));
        h.bindValue(4, QStringLiteral("员工%1").arg(rnd() % 20));
        h.bindValue(5, yfe);
        h.bindValue(6, sfe);
        h.bindValue(7, yfe - sfe);
        h.bindValue(8, QStringLiteral("已审核"));
        Database::run(h);
    }
    tx.commit();
    return file;
}

// Steps a statement to its end through the raw API, reading every column.
double rawMs(const QString &file, const char *sql, const QList<QByteArray> &texts)
{
    sqlite3 *raw = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    qint64 sink = 0;
    const double ms = bench::medianMs(5, [&] {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(raw, sql, -1, &st, nullptr);
        for (int i = 0; i < texts.size(); ++i)
            sqlite3_bind_text(st, i + 1, texts[i].constData(), int(texts[i].size()), SQLITE_TRANSIENT);
        const int columns = sqlite3_column_count(st);
        while (sqlite3_step(st) == SQLITE_ROW)
            for (int c = 0; c < columns; ++c) sink += sqlite3_column_bytes(st, c);
        sqlite3_finalize(st);
    });
    sqlite3_close(raw);
    if (sink == 42) std::puts("");
    return ms;
}

void moneyLists(const bench::Options &o)
{
    const int payments = int(1000000 * o.scale), documents = int(100000 * o.scale);
    const QString file = makeMoneyBook(o.workDir, payments, documents);
    DM1 dm(BookLocation::sqlite(file));
    dm.open();
    DM1::setCurrent(&dm);
    const QDate today = QDate::currentDate();

    const double open = bench::medianMs(5, [] {
        TFfkfx1 w;
        w.show();
        QApplication::processEvents();
    });
    const QByteArray t = dateText(today).toUtf8();
    const double openBound =
        rawMs(file, "SELECT id, rq, dh, ghs, je, jsr, bz, shbj FROM fkfx WHERE rq >= ? AND rq <= ? ORDER BY id", {t, t});
    bench::report(QStringLiteral("payments list opening (%1 rows)").arg(payments), open, openBound,
                  QStringLiteral("< 300 ms"));

    SettlementFilter year;
    year.matchTexts = true;
    year.dates = std::make_pair(today.addYears(-1), today);
    TFfkfx1 w;
    w.show();
    const double query = bench::medianMs(3, [&] {
        w.runQuery(year);
        QApplication::processEvents();
    });
    const QByteArray from = dateText(today.addYears(-1)).toUtf8();
    const double queryBound = rawMs(file,
                                    "SELECT id, rq, dh, ghs, je, jsr, bz, shbj FROM fkfx WHERE (ghs LIKE ? ESCAPE '\\' AND ghs <> '') "
                                    "AND (jsr LIKE ? ESCAPE '\\' AND jsr <> '') AND (dh LIKE ? ESCAPE '\\' AND dh <> '') "
                                    "AND rq >= ? AND rq <= ? ORDER BY id",
                                    {"%", "%", "%", from, t});
    bench::report(QStringLiteral("payments query over a year, first rows"), query, queryBound, QStringLiteral("< 300 ms"));
    // The rest of the rows arrive while the operator looks; the total comes with the last.
    const double whole = bench::medianMs(3, [&] {
        w.runQuery(year);
        while (w.model()->canFetchMore()) QApplication::processEvents();
    });
    bench::report(QStringLiteral("  … all %1 rows and the total").arg(w.model()->rowCount()), whole, queryBound,
                  QStringLiteral("none"));

    const double choose = bench::medianMs(5, [] {
        TFxzyf1 ch;
        ch.setPreset(QString(), {});
        ch.show();
        QApplication::processEvents();
    });
    const double chooseBound = rawMs(file,
                                     "SELECT id, rq, dh, ghs, yfe, sfe, qk, jsr FROM cgglz WHERE (ghs LIKE ? ESCAPE '\\' AND ghs <> '') "
                                     "AND shbj = ? AND qk <> 0 ORDER BY id",
                                     {"%", QByteArray("已审核")});
    bench::report(QStringLiteral("owed-document chooser (%1 documents)").arg(documents), choose, chooseBound,
                  QStringLiteral("< 100 ms"));
    DM1::setCurrent(nullptr);
}

} // namespace

MARVODA_BENCH("money", moneyLists)
