// Settling the money owed on trade documents: payments to suppliers against purchase documents
// and collections from customers against sales documents. Both are one mechanism; everything
// that differs between them is a row of SettlementConfig.
#pragma once

#include "app/data/database.h"
#include "app/data/sql_filter.h"
#include "app/refusal.h"
#include "app/text/decimal.h"

#include <QDate>
#include <QSqlQuery>
#include <QString>

#include <optional>
#include <utility>
#include <variant>

enum class SettlementKind { Payment, Collection };

struct SettlementConfig {
    SettlementKind kind = SettlementKind::Payment;
    QString ledger;           // "fkfx" / "skfx"
    QString documents;        // "cgglz" / "xsglz"
    QString partner;          // "ghs" / "kh"
    QString payable;          // "yfe" / "yse"
    QString paid;             // "sfe" / "sse"
    QString partnerCaption;   // "厂商" / "客户"
    QString payableCaption;   // "应付额" / "应收额"
    QString paidCaption;      // "实付额" / "实收额"
    QString listCaption;      // "采购付款明细表" / "销售收款明细表"
    QString legend;           // the red square's legend
    QString amountCaption;    // grid and print: "付款金额" / "收款金额"
    QString addCaption;       // "新增付款" / "新增收款"
    QString editCaption;      // "修改付款" / "修改收款"
    QString amountField;      // "fk" / "sk"
    QString amountLabel;      // "本次付款" / "本次收款"
    QString emptyAmount;      // what an emptied amount field shows again: "0" / "0.00"
    QString zeroMessage;      // "本次付款不可为零！" / "本次收款不可为零！"
    QString chooserCaption;   // "选择应付帐单（采购欠款单）" / "选择应收帐单（销售欠款单）"
    QString chooserHint;      // "选择应付帐单" / "选择应收帐单"
    QString positiveType;     // query type for je > 0: "采购付款" / "销售收款"
    QString negativeType;     // query type for je < 0: "采购退款" / "销售退款"
    QString printName;        // "付款明细表" / "收款明细表"
    QString employeeMark;     // "tjfkfx" / "tjskfx"

    static const SettlementConfig &of(SettlementKind kind);
};

// A payment or collection as the entry dialog hands it over. `partner` and `owed` are what the
// dialog shows for the document found by its number (empty and 0 when none was found).
struct SettlementEntry {
    QDate date;
    QString dh;
    QString partner;
    Decimal owed;
    Decimal amount;
    QString jsr;
    QString bz;
};

// An approved document on which money is still open, as the chooser and the lookup see it.
struct OwedDocument {
    QString dh;
    QString partner;
    Decimal owed;
};

// A pair of dates, both included, or no date condition.
using DatePeriod = std::optional<std::pair<QDate, QDate>>;
// Adds "rq between the dates" to a filter when there are dates.
void addDateRange(SqlFilter &f, const DatePeriod &dates);

// The query dialogs' typed texts: partner, employee and document number, each always a
// condition (an empty text leaves out rows whose column holds nothing).
void addTexts(SqlFilter &f, const QString &partnerColumn, const QString &partner, const QString &employee,
              const QString &dh);

// The WHERE clause of a list's conditions that also takes the rows `kept` (saved through the
// list since its query); their ids join `values`.
QString whereKeeping(const SqlFilter &f, const QList<qint64> &kept, QVariantList &values);

// The conditions of the list: the query dialog's, or the one day the list opens on.
struct SettlementFilter {
    enum Approval { AnyApproval, NotApproved, Approved };
    enum Direction { AnyDirection, Settled, Refunded };   // je > 0 / je < 0
    // The query dialog's three texts always take part: even an empty one leaves out rows
    // whose column holds nothing. The opening list has none of them.
    bool matchTexts = false;
    QString partner;
    QString employee;
    QString dh;
    Approval approval = AnyApproval;
    Direction direction = AnyDirection;
    DatePeriod dates;
    // Rows saved through the list since its query: they stay listed whatever the conditions.
    QList<qint64> kept;

    // What the list shows when it opens: the rows of that day.
    static SettlementFilter day(const QDate &d);
};

class SettlementService {
public:
    SettlementService(Database &db, SettlementKind kind);
    const SettlementConfig &config() const { return config_; }

    static inline const QString Approved = QStringLiteral("已审核");
    static inline const QString NotApproved = QStringLiteral("未审核");

    // The document a typed number stands for: approved and still owed, else nothing.
    std::optional<OwedDocument> owedDocument(const QString &dh);
    // The chooser: approved, still owed documents of partners whose name contains the text,
    // within the dates when given, in entry order.
    QSqlQuery owedDocuments(const QString &partner, const DatePeriod &dates = {});

    // The checks of the entry dialog, in the order the operator meets them.
    std::optional<Refusal> check(const SettlementEntry &e) const;
    // Saves a new row (id 0) or changes the row `id`, approved, and adds the amount (rounded
    // to cents) to its document, all in one transaction. A changed row that was still counted
    // in a document is first taken out of it, so no amount is ever counted twice. Returns the
    // row's id, or the refusal of check() with nothing saved.
    std::variant<qint64, Refusal> save(const SettlementEntry &e, qint64 id = 0);
    // Takes the row's amount back out of its document (when the document still exists) and
    // marks the row not approved; refused when it already is. One transaction.
    std::optional<Refusal> unapprove(qint64 id);
    // Deletes the row; an approved row's amount is first taken out of its document, in the
    // same transaction, so the document never counts money no row records.
    void remove(qint64 id);

    // The list for a filter, in entry order, and the sum of its amounts.
    QSqlQuery rows(const SettlementFilter &f);
    Decimal total(const SettlementFilter &f);

    static inline const QString AlreadyUnapproved = QStringLiteral("数据已经反审！");

private:
    // Adds `amount` (negative: takes it out) to the paid amount of document `dh`, if it exists,
    // and sets its debt to payable − paid.
    void settle(const QString &dh, Decimal amount);
    // Takes an approved row's amount out of its document; false when the row was not counted.
    bool takeOut(qint64 id);
    SqlFilter filter(const SettlementFilter &f) const;

    Database &db_;
    const SettlementConfig &config_;
};
