// The detail lists and statistics over the three detail ledgers (purchases `cgfx`, sales `xsfx`,
// stock changes `rkfx`): the query dialogs' conditions, the rows and totals of a detail list,
// the per-goods statistics with their groupings, and the drill-down from a statistics row.
#pragma once

#include "app/data/database.h"
#include "app/data/sql_filter.h"
#include "app/text/decimal.h"

#include <QSqlQuery>
#include <QString>

// What differs between the ledgers.
struct LedgerKind {
    QString table;     // "cgfx", "xsfx", "rkfx"
    QString party;     // the first box of the dialogs and the second grouping: "ghs", "kh", "lx"
    bool withCost;     // sales: cost `cbje` and gross profit `maoli`

    static const LedgerKind &purchases();
    static const LedgerKind &sales();
    static const LedgerKind &stockChanges();
};

// The boxes of a query or statistics dialog. A box left empty does not narrow the list (a
// line without a handler or warehouse still counts); typed text is a containment test.
struct LedgerFilter {
    enum Direction { All, In, Out };   // "全部", quantity above 0 (in), below 0 (out, returns)
    QString party, jsr, txm, ppgg, ck;
    Direction direction = All;
    bool dated = false;                // both days included
    QString from, to;                  // "yyyy-mm-dd"
};

enum class LedgerGrouping { None, Party, Handler };

struct LedgerTotals {
    Decimal sl, je, cbje, maoli;
};

class LedgerQuery {
public:
    LedgerQuery(Database &db, const LedgerKind &ledger) : db_(db), ledger_(ledger) {}

    SqlFilter conditions(const LedgerFilter &f) const;
    // The lines of one day: what a detail list shows when it opens.
    SqlFilter onDay(const QString &day) const;
    // A statistics row's drill-down: every line of that goods item over all dates, of the row's
    // group when the statistics were grouped.
    SqlFilter goodsItem(const QString &txm, const QString &ppgg, const QString &dw,
                        LedgerGrouping grouping = LedgerGrouping::None, const QString &group = QString()) const;

    // Every column of the lines, in the order they were written.
    QSqlQuery rows(const SqlFilter &f);
    // The totals of the lines, which are also the totals of their statistics in any grouping.
    LedgerTotals totals(const SqlFilter &f);
    QString totalsSql(const SqlFilter &f) const;
    // One row per goods item (code, name and unit) and group: txm ppgg dw zsl zje, for sales
    // also zcb zmaoli, when grouped fenzu; ordered by group, then code.
    QSqlQuery statistics(const LedgerFilter &f, LedgerGrouping grouping);
    // The statement of statistics(), for a bench to run as it stands.
    QString statisticsSql(const LedgerFilter &f, LedgerGrouping grouping, QVariantList *values) const;

    QString groupColumn(LedgerGrouping g) const;   // empty for None

private:
    Database &db_;
    const LedgerKind &ledger_;
};
