// Taking over a book kept in Access (KLVData1.mdb): every table of the data model comes into a
// new book with its ids, exact text and exact amounts, and a report says what was read, what
// was written and everything that could not come over as it stood.
#pragma once

#include "admin/table_source.h"
#include "app/data/database.h"
#include "app/text/decimal.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

namespace takeover {

struct Progress {
    QString table;            // or, with tableCount 0, one of the steps after the tables
    int tableNo = 0;          // from 1
    int tableCount = 0;
    qint64 rows = 0;          // rows of this table written so far (indexes built so far)
    qint64 tableRows = -1;    // rows the table holds (indexes to build), -1 when unknown
};
// Called at the start of each table and every few thousand rows, so a window can show it and
// the operator can cancel.
using ProgressFn = std::function<void(const Progress &)>;

struct AmountSum {
    QString column;
    Decimal source;   // the values read, as converted
    Decimal book;     // SUM over the new book's column
};

struct TableTally {
    QString table;
    qint64 read = 0;      // rows read from the Access book
    qint64 written = 0;   // rows in the new book's table (read rows plus any the book needs)
    QList<AmountSum> sums;
};

struct Report {
    QString source;
    QString book;
    QList<TableTally> tables;
    QStringList notes;   // what did not come over as it stood, and what was done about it
    QString text() const;
};

struct Result {
    bool ok = false;
    bool cancelled = false;
    QString why;          // the refusal or the failure, one line
    Report report;
    QString reportFile;   // where the report was kept (ok only)
};

// Makes a new book at `where` from the tables of `source`. SQLite: written to a work file
// beside KLVData1.db and renamed into place only when complete and checked. PostgreSQL: one
// transaction in a database holding no book. Refuses when a book is already there; nothing
// is left behind on a failure or a cancel.
Result takeOver(TableSource &source, const BookLocation &where, const ProgressFn &progress = {},
                const std::atomic<bool> *cancel = nullptr);

// The whole command: opens the Access file, takes it over, keeps the report as a text file
// beside the new book (PostgreSQL: beside the Access file).
Result takeOverAccessBook(const QString &mdbFile, const BookLocation &where, const ProgressFn &progress = {},
                          const std::atomic<bool> *cancel = nullptr);

// marvoda --take-over FILE: the tables as they are read on standard error, the report on
// standard output; 0 when the book was made, 1 with the reason on standard error otherwise.
int commandLine(const QString &mdbFile, const BookLocation &where);

inline const QString BuildingIndexesStep = QStringLiteral("正在建立索引");
inline const QString CheckingStep = QStringLiteral("正在核对行数和金额合计");
inline const QString WritingStep = QStringLiteral("正在写入磁盘");

inline const QString AccessBookName = QStringLiteral("KLVData1.mdb");
inline const QString ExistsMessage = QStringLiteral("账套已存在，不可覆盖：");
inline const QString BusyMessage = QStringLiteral("另一个导入正在进行，请稍后再试。");
inline const QString CancelledMessage = QStringLiteral("导入已取消，未创建账套。");
inline const QString FailedMessage = QStringLiteral("导入失败，未创建账套：");

} // namespace takeover
