// Employees: the handlers that documents name, with their personal details and base salary.
#pragma once

#include "app/data/database.h"
#include "app/text/decimal.h"
#include "master/partner_book.h"

#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <optional>

// One row of `yg`.
struct EmployeeRecord {
    qint64 id = 0;
    QString xm, xb, zw, bm, dh, dz;
    Decimal jbgz;
    QString sfz, bz;

    // The text columns in the dialog's order; jbgz stands between dz and sfz.
    static const QStringList &textColumns();
    QString value(const QString &column) const;
    void setValue(const QString &column, const QString &v);
    static EmployeeRecord fromQuery(const QSqlQuery &q);
};

// The query dialog: name always (as typed), sex by the drop-down's index, department and
// telephone only when filled.
struct EmployeeFilter {
    enum Sex { Any = 0, Male = 1, Female = 2 };
    QString name;
    Sex sex = Any;
    QString department, phone;
};

class EmployeeBook {
public:
    explicit EmployeeBook(Database &db) : db_(db) {}

    QSqlQuery all();
    QSqlQuery query(const EmployeeFilter &f);
    // The picker: employees whose name contains the typed text; rows without a name are not
    // offered, since choosing one would leave the document's handler blank.
    QSqlQuery search(const QString &typed);

    // Texts trimmed, salary kept to the cent (half to even). Refused without name or sex; adding
    // is also refused for a name another employee already has (editing makes no such test).
    std::optional<Refusal> add(const EmployeeRecord &r, qint64 *newId = nullptr);
    std::optional<Refusal> update(const EmployeeRecord &r);
    void remove(qint64 id);
    std::optional<EmployeeRecord> find(qint64 id);

    static inline const QString EmptyNameMessage = QStringLiteral("姓名不可为空！");
    static inline const QString EmptySexMessage = QStringLiteral("性别不可为空！");
    static inline const QString DuplicateMessage = QStringLiteral("员工姓名不可重复！");
    static inline const QString Noun = QStringLiteral("员工");
    static inline const QStringList CallerMarks = {"tjcg", "tjxs", "tjpf", "tjrk", "tjdb", "tjfkfx", "tjskfx", "tjszfx"};
    static inline const QStringList Sexes = {QStringLiteral("男"), QStringLiteral("女")};

private:
    std::optional<Refusal> check(const EmployeeRecord &r, bool adding);
    static EmployeeRecord cleaned(const EmployeeRecord &r);

    Database &db_;
};
