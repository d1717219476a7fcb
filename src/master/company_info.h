// The company that uses the system: its name for the main window's title, the heading above
// every print, contact data, notes and the footer lines of printed sales documents.
#pragma once

#include "app/data/database.h"
#include "master/partner_book.h"

#include <QString>
#include <QStringList>

#include <optional>

struct CompanyInfo {
    QString mczc, mcdy, lxr, dh, cz, dz, bz1, bz2, bz3, bz4;

    // The ten columns in the dialog's order (Edit1 … Edit10).
    static const QStringList &columns();
    QString value(const QString &column) const;
    void setValue(const QString &column, const QString &v);
};

namespace company {

// The book's one company row; throws DbError when the book has none.
CompanyInfo load(Database &db);
// Writes the ten texts as typed (blanks kept: they show in the title and the prints).
// Refused when the name or the print heading is blank.
std::optional<Refusal> save(Database &db, const CompanyInfo &info);
// `mcdy`, which printed lists and documents put before their report name.
QString printHeading(Database &db);

inline const QString EmptyNameMessage = QStringLiteral("店铺名称不可为空！");
inline const QString EmptyHeadingMessage = QStringLiteral("打印抬头不可为空！");

} // namespace company
