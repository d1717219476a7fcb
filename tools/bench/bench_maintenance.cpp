// Backup and restore of a book holding 1,000,000 ledger rows (purchases, sales and stock
// changes), against a plain copy of the same file forced to the disk (cp + sync).
#include "bench.h"
#include "bench_book.h"

#include "admin/book_maintenance.h"
#include "admin/sqlite_file.h"
#include "app/data/dm1.h"

#include <sqlite3.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>
#include <random>
#include <stdexcept>

namespace {

// The ledgers written straight through sqlite3, as years of approved documents leave them.
void fillLedgers(const QString &file, int rows)
{
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(file).constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    std::mt19937 rnd(2011);
    struct Ledger {
        const char *sql;
        const char *prefix;
        int share;   // per ten rows
    };
    const Ledger ledgers[] = {
        {"INSERT INTO cgfx (rq,dh,ck,ghs,jsr,txm,ppgg,dw,sl,jg,zk,je) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)", "CG", 3},
        {"INSERT INTO xsfx (rq,dh,ck,kh,jsr,txm,ppgg,dw,sl,jg,zk,je,cbjg,cbje,maoli) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)", "XS", 5},
        {"INSERT INTO rkfx (rq,dh,ck,lx,jsr,txm,ppgg,dw,sl,jg,je) VALUES (?,?,?,?,?,?,?,?,?,?,?)", "DB", 2},
    };
    static const char *kinds[] = {"镀锌钢管", "螺纹钢", "水泥", "瓷砖", "PVC管", "铜线", "石膏板", "防水涂料"};
    int n = 0;
    for (const Ledger &l : ledgers) {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, l.sql, -1, &st, nullptr);
        const int count = rows / 10 * l.share;
        for (int i = 0; i < count; ++i, ++n) {
            const QDate day = QDate(2008, 1, 1).addDays(n / 400);
            const QByteArray rq = day.toString(Qt::ISODate).toUtf8();
            const QByteArray dh = (l.prefix + day.toString(QStringLiteral("yyyyMMdd")) +
                                   QStringLiteral("%1").arg(n % 400 / 4 + 1, 3, 10, QLatin1Char('0'))).toUtf8();
            const int goods = int(rnd() % 20000);
            const QByteArray texts[] = {rq,
                                        dh,
                                        QStringLiteral("仓库%1").arg(goods % 10 + 1).toUtf8(),
                                        QStringLiteral("往来单位%1").arg(rnd() % 800).toUtf8(),
                                        QStringLiteral("员工%1").arg(rnd() % 20).toUtf8(),
                                        QByteArray::number(goods).rightJustified(6, '0'),
                                        QStringLiteral("%1 %2号 规格%3").arg(QString::fromUtf8(kinds[goods % 8])).arg(goods).arg(goods % 97).toUtf8(),
                                        QByteArray("根")};
            int c = 1;
            for (const QByteArray &t : texts) sqlite3_bind_text(st, c++, t.constData(), int(t.size()), SQLITE_TRANSIENT);
            const qint64 qty = qint64(rnd() % 500 + 1) * 10000, price = qint64(rnd() % 100000) * 100;
            const int amounts = sqlite3_bind_parameter_count(st) - 8;
            for (int a = 0; a < amounts; ++a) sqlite3_bind_int64(st, c++, a == 0 ? qty : price * (a + 1) / 2);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

void run(const QString &program, const QStringList &args)
{
    if (QProcess::execute(program, args) != 0) throw std::runtime_error("a plain copy failed");
}

void backupAndRestore(const bench::Options &o)
{
    const int rows = int(1000000 * o.scale);
    const QString file = bench::newBook(o.workDir);
    QString why;
    fillLedgers(file, rows);
    DM1 dm(BookLocation::sqlite(file));
    if (!dm.open(&why)) throw std::runtime_error(why.toStdString());
    DM1::setCurrent(&dm);
    const double mb = double(QFileInfo(file).size()) / 1e6;

    const QString plain = QDir(o.workDir).filePath(QStringLiteral("plain.db"));
    const double bound = bench::medianMs(5, [&] {
        QFile::remove(plain);
        run(QStringLiteral("cp"), {file, plain});
        run(QStringLiteral("sync"), {plain});
    });
    QFile::remove(plain);

    const QString target = QDir(BookMaintenance::backupFolder(dm.db())).filePath(QStringLiteral("KLV.bak"));
    const double ours = bench::medianMs(5, [&] {
        if (!BookMaintenance::backup(dm.db(), target, &why)) std::printf("backup failed: %s\n", qPrintable(why));
    });
    bench::report(QStringLiteral("backup, %1 ledger rows (%2 MB)").arg(rows).arg(mb, 0, 'f', 0), ours, bound,
                  QStringLiteral("< 2000 ms, ratio < 3"));

    const double restore = bench::medianMs(5, [&] {
        if (!BookMaintenance::restore(dm, target, &why)) std::printf("restore failed: %s\n", qPrintable(why));
        // Each restore keeps the book it replaced; only the latest is of interest here.
        for (const QString &f : QDir(o.workDir).entryList({QStringLiteral("KLVData1-*")}, QDir::Files))
            QFile::remove(QDir(o.workDir).filePath(f));
    });
    bench::report(QStringLiteral("restore, %1 ledger rows").arg(rows), restore, bound, QStringLiteral("< 3000 ms"));

    // For the record: the cross-check of every index against its table, which the backup's
    // structure check leaves out.
    QElapsedTimer t;
    t.start();
    SqliteFile f;
    QStringList result;
    f.open(target, false, nullptr);
    f.exec(QStringLiteral("PRAGMA integrity_check"), &result);
    bench::report(QStringLiteral("integrity_check of the backup (%1)").arg(result.value(0)), double(t.nsecsElapsed()) / 1e6,
                  bound, QStringLiteral("information"));
    DM1::setCurrent(nullptr);
}

} // namespace

MARVODA_BENCH("maintenance", backupAndRestore)
