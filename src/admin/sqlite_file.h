// A book file opened through SQLite's own interface: the page copy of a backup, the structure
// check of a copy, and the journal setting of a file that travels on its own.
#pragma once

#include <QString>
#include <QStringList>

struct sqlite3;

class SqliteFile {
public:
    SqliteFile() = default;
    ~SqliteFile();
    SqliteFile(const SqliteFile &) = delete;
    SqliteFile &operator=(const SqliteFile &) = delete;

    // Opens an existing file, or makes it when `create`; false with *why.
    bool open(const QString &path, bool create, QString *why);
    void close();
    sqlite3 *handle() const { return db_; }

    // Runs one statement; the first column of its rows go to *rows. False with *why.
    bool exec(const QString &sql, QStringList *rows = nullptr, QString *why = nullptr);
    QString lastError() const;

private:
    sqlite3 *db_ = nullptr;
};

// True when the file is an SQLite database whose every page, tree and record is sound and whose
// pages are all accounted for (SQLite's quick check); otherwise false with *why, the first
// problem found. It leaves out the cross-check of each index against its table: that costs six
// times as long on a large book and concerns the book a copy was made from, not the copying.
bool checkStructure(const QString &path, QString *why);
