// The tables of a book kept by another program, read one row at a time: what a take-over reads.
#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>

// The file cannot be read as a book: not one at all, a version we do not read, or damaged.
class SourceError : public std::runtime_error {
public:
    explicit SourceError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString text() const { return QString::fromStdString(what()); }
};

// How the other program stored a column; the take-over converts each kind its own way.
enum class SourceType {
    Text,      // text and memo
    Integer,   // byte, integer, long, auto-number
    Currency,  // exact, four decimals
    Numeric,   // exact decimal of its own scale
    Double,    // binary floating point
    Single,
    Date,      // date and time
    Boolean,
    Other,     // pictures, binary data and the like: nothing this book can keep
};

struct SourceColumn {
    QString name;
    SourceType type;
};

class SourceTable {
public:
    virtual ~SourceTable() = default;
    virtual const QList<SourceColumn> &columns() const = 0;
    // The number of rows the table says it holds, or -1 when it cannot tell: reading fewer
    // means the file is damaged, never that the table is shorter.
    virtual qint64 declaredRows() const = 0;
    // Steps to the next row; false after the last one. Throws SourceError on a damaged page.
    virtual bool next() = 0;
    virtual bool isNull(int column) const = 0;
    // The value as UTF-8 text: text as stored; numbers in plain decimal notation ("-7.0000",
    // "0.1", never an exponent); dates "yyyy-mm-dd hh:mm:ss"; booleans "1" or "0". Valid until
    // the next call of next().
    virtual QByteArrayView text(int column) const = 0;
};

class TableSource {
public:
    virtual ~TableSource() = default;
    // Where the tables come from, for the report.
    virtual QString describe() const = 0;
    // The tables of the book, without the other program's own system tables.
    virtual QStringList tableNames() = 0;
    virtual std::unique_ptr<SourceTable> open(const QString &table) = 0;
};
