#include "admin/sqlite_file.h"

#include <QFile>

#include <sqlite3.h>

SqliteFile::~SqliteFile() { close(); }

bool SqliteFile::open(const QString &path, bool create, QString *why)
{
    close();
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, flags, nullptr) != SQLITE_OK) {
        if (why) *why = lastError();
        close();
        return false;
    }
    sqlite3_busy_timeout(db_, 5000);
    return true;
}

void SqliteFile::close()
{
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

QString SqliteFile::lastError() const
{
    return db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("无法打开文件");
}

bool SqliteFile::exec(const QString &sql, QStringList *rows, QString *why)
{
    sqlite3_stmt *st = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &st, nullptr) != SQLITE_OK) {
        if (why) *why = lastError();
        return false;
    }
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW)
        if (rows) rows->append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0))));
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) {
        if (why) *why = lastError();
        return false;
    }
    return true;
}

bool checkStructure(const QString &path, QString *why)
{
    SqliteFile f;
    if (!f.open(path, false, why)) return false;
    QStringList problems;
    if (!f.exec(QStringLiteral("PRAGMA quick_check"), &problems, why)) return false;
    if (problems == QStringList{QStringLiteral("ok")}) return true;
    if (why) *why = problems.value(0);
    return false;
}
