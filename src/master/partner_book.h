// Suppliers and customers: two address books of one shape, told apart by a small configuration.
#pragma once

#include "app/refusal.h"

#include "app/data/database.h"

#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <optional>

// Why a save was refused: the message to show, whether it is missing input ("提示") or a
// refusal ("警告"), and the column whose field takes the focus.
enum class PartnerKind { Supplier, Customer };

// Everything that differs between the supplier and the customer book.
struct PartnerConfig {
    PartnerKind kind;
    QString table;             // "ghs" / "kh"
    QString noun;              // "厂商" / "客户": "没有厂商可删除！", "确定要删除此厂商么？"
    QString listCaption;       // "厂商资料"
    QString addCaption;        // "新增厂商资料"
    QString editCaption;       // "修改厂商资料"
    QString pickerCaption;     // "选择厂商资料"
    QString printName;         // "厂商资料表", printed after the company's heading
    QString importCaption;     // "导入厂商资料"
    QString duplicateMessage;  // "厂商名称不可重复！"
    QStringList callerMarks;   // the document windows whose field the picker fills
    bool addNeedsOpenList;     // the supplier list refuses "新增" on a closed list, the customer list does not

    static const PartnerConfig &of(PartnerKind kind);
    static const PartnerConfig &suppliers() { return of(PartnerKind::Supplier); }
    static const PartnerConfig &customers() { return of(PartnerKind::Customer); }
};

// One row of `ghs` or `kh`.
struct PartnerRecord {
    qint64 id = 0;
    QString mc, lxr, lxdh, lxcz, lxdz, yb, yhmc, yhzh, bz;

    // The nine columns in the order of the dialog's fields (Edit1 … Edit9).
    static const QStringList &columns();
    QString value(const QString &column) const;
    void setValue(const QString &column, const QString &v);
    PartnerRecord trimmed() const;
    static PartnerRecord fromQuery(const QSqlQuery &q);
};

// The query dialog's boxes. The name always takes part (as typed, so an empty box matches
// every named row); the others only when they hold something other than blanks.
struct PartnerFilter {
    QString name, contact, phone, address;
};

class PartnerBook {
public:
    PartnerBook(Database &db, const PartnerConfig &config) : db_(db), config_(config) {}
    PartnerBook(Database &db, PartnerKind kind) : PartnerBook(db, PartnerConfig::of(kind)) {}

    const PartnerConfig &config() const { return config_; }

    // Every row, in the order they were entered.
    QSqlQuery all();
    QSqlQuery query(const PartnerFilter &f);
    // The picker's search: rows whose name contains the typed text.
    QSqlQuery search(const QString &typed);

    // Adds a row with every text trimmed; refused when the name is empty or already taken.
    // On success *newId (when given) receives the new row's id.
    std::optional<Refusal> add(const PartnerRecord &r, qint64 *newId = nullptr);
    // Rewrites the row r.id with every text trimmed.
    std::optional<Refusal> update(const PartnerRecord &r);
    void remove(qint64 id);
    std::optional<PartnerRecord> find(qint64 id);

    static inline const QString EmptyNameMessage = QStringLiteral("名称不可为空！");

private:
    std::optional<Refusal> check(const PartnerRecord &r, bool adding);

    Database &db_;
    const PartnerConfig &config_;
};
