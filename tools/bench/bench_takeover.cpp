// Taking over an Access book of 100,000 goods rows and 1,100,000 ledger rows (purchases, sales,
// stock changes), against mdbtools' own mdb-export reading every table of the same file.
// The Access file is made once with the fixture tool and kept: MARVODA_TAKEOVER_MDB=FILE
// names it (default /tmp/marvoda-bench-takeover-<rows>.mdb); MARVODA_MDB_FIXTURE_TOOL names
// make-mdb.sh (default ../shared/tools/mdb-fixture/make-mdb.sh beside the source tree).
// The two take turns three times and the medians are compared. MARVODA_BENCH_VERBOSE=1 shows
// when each table and step began and where the longest pause in progress fell.
#include "bench.h"

#include "admin/takeover.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <random>
#include <stdexcept>

#ifndef MARVODA_SOURCE_DIR
#define MARVODA_SOURCE_DIR "."
#endif

namespace {

const char *kinds[] = {"镀锌钢管", "螺纹钢", "水泥", "瓷砖", "PVC管", "铜线", "石膏板", "防水涂料"};

QString money(std::mt19937 &rnd, int max) { return QStringLiteral("%1.%2").arg(rnd() % max).arg(rnd() % 10000, 4, 10, QLatin1Char('0')); }

// The tables as years of business leave them, written in the fixture tool's format.
void writeTables(const QString &dir, int goods, int ledgerRows)
{
    QDir().mkpath(dir);
    std::mt19937 rnd(2017);
    auto open = [&](const QString &name, QFile &f) {
        f.setFileName(QDir(dir).filePath(name + QStringLiteral(".tsv")));
        if (!f.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot write the tables");
    };
    {
        QFile f;
        open(QStringLiteral("sp"), f);
        QTextStream s(&f);
        s << "id:AUTO\tck:TEXT\tlb:TEXT\tppgg:TEXT\ttxm:TEXT\tdw:TEXT\tjj:MONEY\txjpf:MONEY\txjls:MONEY\tslt:MONEY\t"
             "jet:DOUBLE\tkcsl:DOUBLE\tkcjg:MONEY\tkcje:MONEY\tms:MEMO\tbz:TEXT\n";
        for (int i = 1; i <= goods; ++i)
            s << i << "\t仓库" << i % 10 + 1 << '\t' << kinds[i % 8] << '\t' << kinds[i % 8] << ' ' << i << "号 规格" << i % 97
              << '\t' << QString::number(i).rightJustified(6, u'0') << "\t根\t" << money(rnd, 500) << '\t' << money(rnd, 600)
              << '\t' << money(rnd, 700) << '\t' << money(rnd, 5) << "\t0.0" << rnd() % 9 << '\t' << rnd() % 5000 << '.'
              << rnd() % 100 << '\t' << money(rnd, 500) << '\t' << money(rnd, 100000) << "\t\\N\t备注" << i % 13 << '\n';
    }
    struct Ledger {
        const char *name, *party, *prefix;
        int share;   // per ten rows
        bool cost;
    };
    const Ledger ledgers[] = {{"cgfx", "ghs", "CG", 3, false}, {"xsfx", "kh", "XS", 5, true}, {"rkfx", "lx", "DB", 2, false}};
    int n = 0;
    for (const Ledger &l : ledgers) {
        QFile f;
        open(QString::fromLatin1(l.name), f);
        QTextStream s(&f);
        s << "id:AUTO\trq:DATE\tdh:TEXT\tck:TEXT\t" << l.party << ":TEXT\tjsr:TEXT\ttxm:TEXT\tppgg:TEXT\tdw:TEXT\t"
          << "sl:DOUBLE\tjg:MONEY" << (l.name == QByteArrayView("rkfx") ? "" : "\tzk:MONEY") << "\tje:MONEY"
          << (l.cost ? "\tcbjg:MONEY\tcbje:MONEY\tmaoli:MONEY" : "") << '\n';
        const int count = ledgerRows / 10 * l.share;
        for (int i = 1; i <= count; ++i, ++n) {
            const QDate day = QDate(2014, 1, 1).addDays(n / 400);
            const int g = int(rnd() % goods) + 1;
            s << i << '\t' << day.toString(Qt::ISODate) << '\t' << l.prefix << day.toString(QStringLiteral("yyyyMMdd"))
              << QString::number(n % 400 / 4 + 1).rightJustified(3, u'0') << "\t仓库" << g % 10 + 1 << "\t往来单位" << rnd() % 800
              << "\t员工" << rnd() % 20 << '\t' << QString::number(g).rightJustified(6, u'0') << '\t' << kinds[g % 8] << ' ' << g
              << "号 规格" << g % 97 << "\t根\t" << rnd() % 500 + 1 << '\t' << money(rnd, 1000);
            if (l.name != QByteArrayView("rkfx")) s << "\t1";
            s << '\t' << money(rnd, 100000);
            if (l.cost) s << '\t' << money(rnd, 1000) << '\t' << money(rnd, 100000) << '\t' << money(rnd, 10000);
            s << '\n';
        }
    }
}

QString accessBook(int goods, int ledgerRows, const QString &workDir)
{
    QString file = qEnvironmentVariable("MARVODA_TAKEOVER_MDB");
    if (file.isEmpty()) file = QStringLiteral("/tmp/marvoda-bench-takeover-%1.mdb").arg(goods + ledgerRows);
    if (QFileInfo::exists(file)) return file;
    QString tool = qEnvironmentVariable("MARVODA_MDB_FIXTURE_TOOL");
    if (tool.isEmpty()) tool = QDir(QStringLiteral(MARVODA_SOURCE_DIR)).filePath(QStringLiteral("../shared/tools/mdb-fixture/make-mdb.sh"));
    const QString tables = QDir(workDir).filePath(QStringLiteral("tables"));
    writeTables(tables, goods, ledgerRows);
    std::fprintf(stderr, "making %s with the fixture tool (once)…\n", qPrintable(file));
    const QString partial = file + QStringLiteral(".part");
    QFile::remove(partial);
    if (QProcess::execute(QStringLiteral("bash"), {tool, partial, tables}) != 0 || !QFile::rename(partial, file))
        throw std::runtime_error("the fixture tool failed");
    return file;
}

qint64 peakKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

void takeOverAccessBook(const bench::Options &o)
{
    const int goods = int(100000 * o.scale), ledgerRows = int(1100000 * o.scale);
    const QString mdb = accessBook(goods, ledgerRows, o.workDir);

    // The lower bound: mdbtools' own exporter reading every table of the file.
    QProcess list;
    list.start(QStringLiteral("mdb-tables"), {QStringLiteral("-1"), mdb});
    if (!list.waitForFinished(-1) || list.exitCode() != 0) throw std::runtime_error("mdb-tables failed (Debian mdbtools)");
    const QStringList tables = QString::fromUtf8(list.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    auto exportAll = [&] {
        QElapsedTimer t;
        t.start();
        for (const QString &table : tables) {
            QProcess p;
            p.setStandardOutputFile(QProcess::nullDevice());
            p.start(QStringLiteral("mdb-export"), {mdb, table});
            if (!p.waitForFinished(-1) || p.exitCode() != 0) throw std::runtime_error("mdb-export failed");
        }
        return double(t.nsecsElapsed()) / 1e6;
    };

    const bool verbose = qEnvironmentVariableIsSet("MARVODA_BENCH_VERBOSE");
    qint64 longestGapNs = 0, before = 0, peak = 0;
    auto takeOver = [&] {
        const QString folder = QDir(o.workDir).filePath(QStringLiteral("book"));
        QDir(folder).removeRecursively();
        // Peak memory of the take-over alone (Linux resets the high-water mark on request).
        {
            QFile clear(QStringLiteral("/proc/self/clear_refs"));
            if (clear.open(QIODevice::WriteOnly)) clear.write("5");
        }
        before = std::max(before, peakKb());
        QElapsedTimer t;
        qint64 last = 0;
        QString gapAfter, previous = QStringLiteral("start");
        auto gap = [&](qint64 now) {
            if (now - last > longestGapNs) {
                longestGapNs = now - last;
                gapAfter = previous;
            }
            last = now;
        };
        t.start();
        const takeover::Result r = takeover::takeOverAccessBook(
            mdb, BookLocation::sqlite(QDir(folder).filePath(QStringLiteral("KLVData1.db"))), [&](const takeover::Progress &p) {
                const qint64 now = t.nsecsElapsed();
                gap(now);
                if (verbose && !previous.startsWith(p.table)) std::fprintf(stderr, "%8.0f ms %s\n", double(now) / 1e6, qPrintable(p.table));
                previous = QStringLiteral("%1 %2").arg(p.table).arg(p.rows);
            });
        const double ms = double(t.nsecsElapsed()) / 1e6;
        gap(t.nsecsElapsed());
        if (verbose) std::fprintf(stderr, "%8.0f ms done; longest progress gap so far after: %s\n", ms, qPrintable(gapAfter));
        if (!r.ok) throw std::runtime_error(r.why.toStdString());
        peak = std::max(peak, peakKb());
        return ms;
    };

    // The machine is shared: the two take turns, three times each, and the medians are compared.
    std::vector<double> bound, ours;
    for (int round = 0; round < 3; ++round) {
        bound.push_back(exportAll());
        ours.push_back(takeOver());
    }
    std::sort(bound.begin(), bound.end());
    std::sort(ours.begin(), ours.end());
    bench::report(QStringLiteral("take-over %1 goods + %2 ledger rows (progress gap ≤ %3 ms, peak %4 MB, was %5 MB)")
                      .arg(goods).arg(ledgerRows).arg(longestGapNs / 1000000).arg(peak / 1024).arg(before / 1024),
                  ours[1], bound[1], QStringLiteral("< 60000 ms, ratio ≤ 1.0"));
}

} // namespace

MARVODA_BENCH("take-over", takeOverAccessBook)
