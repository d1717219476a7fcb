// The conditions of a query dialog, gathered one by one with their bound values.
#pragma once

#include "app/data/database.h"

#include <QStringList>
#include <QVariantList>

class SqlFilter {
public:
    explicit SqlFilter(const Database &db) : db_(db) {}

    // The column holds the typed text (letter case ignored, % and _ ordinary). A column that
    // holds nothing never matches, even when nothing was typed.
    SqlFilter &contains(const QString &column, const QString &typed);
    // The same, only when something was typed: an empty box does not narrow the search.
    SqlFilter &containsIfTyped(const QString &column, const QString &typed);
    SqlFilter &equals(const QString &column, const QVariant &value);
    // A condition of the caller's own, with its values in order.
    SqlFilter &add(const QString &condition, const QVariantList &values = {});

    QString where() const;   // " WHERE … AND …", or nothing when there are no conditions
    QString andWhere() const;   // " AND … AND …", after a WHERE of the statement's own
    const QVariantList &values() const { return values_; }

private:
    const Database &db_;
    QStringList conditions_;
    QVariantList values_;
};
