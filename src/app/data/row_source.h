// Rows a list reads one at a time: an executed query as it stands, or rows a report puts
// together in code from several queries (one ledger merged beside another).
#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariant>

class RowSource {
public:
    virtual ~RowSource() = default;
    // The position of a field in every row, -1 when the rows have no such field.
    virtual int indexOf(const QString &field) const = 0;
    // Steps to the next row; false after the last one.
    virtual bool next() = 0;
    virtual QVariant value(int index) const = 0;
};

// An executed query, read to its end: owned, or borrowed from its owner (a kept statement
// that runs again later must stay where it is).
class QueryRows final : public RowSource {
public:
    explicit QueryRows(QSqlQuery &&query) : owned_(std::move(query)), query_(&owned_) {}
    explicit QueryRows(QSqlQuery *borrowed) : query_(borrowed) {}
    QueryRows(const QueryRows &) = delete;
    QueryRows &operator=(const QueryRows &) = delete;

    int indexOf(const QString &field) const override;
    bool next() override { return query_->next(); }
    QVariant value(int index) const override { return query_->value(index); }

private:
    QSqlQuery owned_;
    QSqlQuery *query_;
};
