#include "admin/book_maintenance.h"

#include "admin/book_files.h"
#include "admin/sqlite_file.h"
#include "app/book_folders.h"
#include "app/data/operation_log.h"
#include "app/data/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <thread>

namespace BookMaintenance {

namespace {

using Engine = BookLocation::Engine;

bool fail(QString *why, const QString &text)
{
    if (why) *why = text;
    return false;
}

// Moves every row of a table, ids included, between two books of the same version. Values are
// converted by the column's kind, so a file that stored a number in a text column still loads.
void copyRows(Database &from, Database &to, const schema::Table &t)
{
    QStringList names{QStringLiteral("id")};
    QList<schema::ColumnKind> kinds{schema::ColumnKind::Integer};
    for (const schema::Column &c : t.columns) {
        names << QString::fromLatin1(c.name);
        kinds << c.kind;
    }
    const QString table = QString::fromLatin1(t.name);
    const QString columns = names.join(u',');
    const int width = int(names.size());
    const QString row = QStringLiteral("(") + QStringList(width, QStringLiteral("?")).join(u',') + u')';
    auto insertOf = [&](int rows) {
        return QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(table, columns) + QStringList(rows, row).join(u',');
    };
    // Many rows a statement: one round trip for each batch instead of each row.
    const int batch = std::max(1, 4000 / width);
    QSqlQuery many = to.prepare(insertOf(batch));
    QVariantList pending;
    pending.reserve(batch * width);
    auto flush = [&](QSqlQuery &q) {
        for (int i = 0; i < pending.size(); ++i) q.bindValue(i, pending[i]);
        Database::run(q);
        pending.clear();
    };
    QSqlQuery in = from.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY id").arg(columns, table));
    while (in.next()) {
        for (int c = 0; c < width; ++c) {
            const QVariant v = in.value(c);
            if (v.isNull()) pending << QVariant();
            else if (kinds[c] == schema::ColumnKind::Text) pending << v.toString();
            else pending << v.toLongLong();
        }
        if (pending.size() == batch * width) flush(many);
    }
    if (!pending.isEmpty()) {
        QSqlQuery rest = to.prepare(insertOf(int(pending.size() / width)));
        flush(rest);
    }
    if (to.engine() == Engine::PostgreSQL)
        to.exec(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', 'id'), COALESCE((SELECT MAX(id) FROM %1), 0) + 1, false)")
                    .arg(table));
}

// The page copy of a file book, made while the book stays open. The work file is forced to the
// disk once, when it is complete.
bool copyFileBook(Database &db, const QString &part, QString *why, const Progress &progress)
{
    SqliteFile src, dst;
    if (!src.open(db.location().file, false, why) || !dst.open(part, true, why)) return false;
    if (!dst.exec(QStringLiteral("PRAGMA journal_mode=OFF"), nullptr, why) ||
        !dst.exec(QStringLiteral("PRAGMA synchronous=OFF"), nullptr, why))
        return false;
    sqlite3_backup *copy = sqlite3_backup_init(dst.handle(), "main", src.handle(), "main");
    if (!copy) return fail(why, dst.lastError());
    int pages = 64;
    int rc = SQLITE_OK;
    for (int waits = 0; waits < 250;) {
        rc = sqlite3_backup_step(copy, pages);
        if (rc == SQLITE_DONE) break;
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            ++waits;
            sqlite3_sleep(20);
            continue;
        }
        if (rc != SQLITE_OK) break;
        const int total = sqlite3_backup_pagecount(copy);
        pages = std::max(64, total / 32);
        if (progress && !progress(total - sqlite3_backup_remaining(copy), total)) {
            sqlite3_backup_finish(copy);
            return fail(why, QStringLiteral("备份已中止"));
        }
    }
    const int finished = sqlite3_backup_finish(copy);
    if (rc != SQLITE_DONE || finished != SQLITE_OK) return fail(why, dst.lastError());
    return true;
}

// A shared book written into a new file book: the schema, then every table's rows as they
// stood at one moment.
bool copySharedBook(Database &db, const QString &part, QString *why)
{
    {
        QFile empty(part);
        if (!empty.open(QIODevice::WriteOnly)) return fail(why, empty.errorString());
    }
    Database file(BookLocation::sqlite(part));
    try {
        if (!file.open(why)) return false;
        schema::create(file, QString());
        Transaction out(file);
        // The new file's own company row and operator give way to the book's.
        for (const char *t : {"danwei", "yhsz", "quanxian"}) file.exec(QStringLiteral("DELETE FROM ") + QLatin1String(t));
        Transaction in(db);
        db.exec(QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ"));
        for (const schema::Table &t : schema::tables()) copyRows(db, file, t);
        in.commit();
        out.commit();
        // The file travels alone: no write-ahead log beside it.
        file.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    } catch (const std::exception &e) {
        file.disconnect();
        return fail(why, QString::fromStdString(e.what()));
    }
    file.disconnect();
    return true;
}

// A complete work copy becomes the backup: its journal set so it travels as one file, forced
// to the disk while its structure is checked, then renamed over the target.
bool seal(const QString &part, const QString &target, QString *why)
{
    {
        SqliteFile f;
        if (!f.open(part, false, why) || !f.exec(QStringLiteral("PRAGMA synchronous=OFF"), nullptr, why) ||
            !f.exec(QStringLiteral("PRAGMA journal_mode=DELETE"), nullptr, why))
            return false;
    }
    QString syncWhy;
    bool synced = false;
    std::thread syncer([&] { synced = BookFiles::sync(part, &syncWhy); });
    const bool sound = checkStructure(part, why);
    syncer.join();
    if (!sound) return false;
    if (!synced) return fail(why, syncWhy);
    return BookFiles::replace(part, target, why);
}

// A file chosen for restoring, copied to `work`: a sound book of this program, upgraded to the
// current version, with every table and column the program uses and its company row.
bool checkCandidate(const QString &work, QString *why)
{
    if (!checkStructure(work, why)) return false;
    DM1 candidate(BookLocation::sqlite(work));
    Database &db = candidate.db();
    if (!db.open(why)) return false;
    if (schema::version(db) > schema::CurrentVersion) {
        db.disconnect();
        return fail(why, QStringLiteral("账套来自更新的版本"));
    }
    if (!candidate.open(why)) {
        db.disconnect();
        return false;
    }
    try {
        for (const schema::Table &t : schema::tables()) {
            QStringList names{QStringLiteral("id")};
            for (const schema::Column &c : t.columns) names << QString::fromLatin1(c.name);
            db.exec(QStringLiteral("SELECT %1 FROM %2 WHERE 1 = 0").arg(names.join(u','), QLatin1String(t.name)));
        }
    } catch (const DbError &e) {
        db.disconnect();
        return fail(why, e.text());
    }
    db.disconnect();
    return true;
}

// Lets the file book go for swapping: its log folded into the file and the connection closed.
// False when another program still has it open: swapping the file under that program would
// let its log be applied to the new book.
bool releaseFileBook(Database &db, QString *why)
{
    try {
        db.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    } catch (const DbError &e) {
        return fail(why, e.text());
    }
    db.disconnect();
    if (BookFiles::logInUse(db.location().file)) return fail(why, QStringLiteral("账套正被其他程序使用"));
    return true;
}

// The book file itself, chosen by mistake as the backup to write or to restore: copying it onto
// itself under the open connection would lose the changes still in its log.
bool isTheBook(Database &db, const QString &path)
{
    if (db.engine() != Engine::SQLite) return false;
    const QFileInfo chosen(path), book(db.location().file);
    return chosen.exists() && chosen.canonicalFilePath() == book.canonicalFilePath();
}

bool reopen(DM1 &dm, QString *why)
{
    QString reopenWhy;
    if (dm.open(&reopenWhy)) return true;
    return fail(why, reopenWhy);
}

// The log row of a backup, restore or compaction that has already happened: the work stands
// even when its row cannot be written.
void logDone(Database &db, const QString &action, const QString &detail)
{
    try {
        OperationLog::write(db, action, QString(), detail);
    } catch (const DbError &) {
    }
}

bool restoreFileBook(DM1 &dm, const QString &file, QString *why)
{
    Database &db = dm.db();
    const QString book = db.location().file;
    const QString work = book + QStringLiteral(".restore");
    BookFiles::removeWithCompanions(work);
    if (!BookFiles::copy(file, work, why) || !checkCandidate(work, why) || !BookFiles::sync(work, why)) {
        BookFiles::removeWithCompanions(work);
        return false;
    }
    if (!releaseFileBook(db, why)) {
        BookFiles::removeWithCompanions(work);
        reopen(dm, nullptr);
        return false;
    }
    const QString safety = safetyCopyName(book, QDateTime::currentDateTime());
    if (!BookFiles::keepAs(book, safety, why) || !BookFiles::replace(work, book, why)) {
        BookFiles::removeWithCompanions(work);
        reopen(dm, nullptr);
        return false;
    }
    if (!reopen(dm, why)) {
        // Cannot happen to a checked file; should it, the replaced book goes back.
        QString ignored;
        BookFiles::replace(safety, book, &ignored);
        reopen(dm, nullptr);
        return false;
    }
    logDone(db, QStringLiteral("恢复数据库"), file);
    return true;
}

// Replaces every row of the shared book by the rows of the checked file book `work`, in one
// transaction with its log row.
bool loadChecked(Database &db, const QString &work, const QString &action, const QString &file, QString *why)
{
    Database source(BookLocation::sqlite(work));
    try {
        if (!source.open(why)) return false;
        Transaction tx(db);
        for (const schema::Table &t : schema::tables()) {
            db.exec(QStringLiteral("DELETE FROM ") + QLatin1String(t.name));
            copyRows(source, db, t);
        }
        OperationLog::write(db, action, QString(), file);
        tx.commit();
    } catch (const DbError &e) {
        return fail(why, e.text());
    }
    return true;
}

bool restoreSharedBook(DM1 &dm, const QString &file, QString *why)
{
    QTemporaryDir dir;
    const QString work = Database::bookFileIn(dir.path());
    if (!dir.isValid() || !BookFiles::copy(file, work, why) || !checkCandidate(work, why)) return false;
    Database &db = dm.db();
    // The shared book is loaded over in place: what it held first goes to the backup folder.
    const QString safety = QDir(backupFolder(db))
                               .filePath(QStringLiteral("KLV恢复前%1.bak")
                                             .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss"))));
    if (!backup(db, safety, why)) return false;
    return loadChecked(db, work, QStringLiteral("恢复数据库"), file, why);
}

} // namespace

QString dataDir(Database &db) { return book_folders::dataFolderOf(db); }

QString backupFolder(Database &db)
{
    const QString folder = QDir(dataDir(db)).filePath(book_folders::BackupFolder);
    QDir().mkpath(folder);
    return folder;
}

int otherCounters(Database &db)
{
    if (db.engine() != Engine::PostgreSQL) return 0;
    QSqlQuery q = db.exec(QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE datname = current_database() "
                                         "AND pid <> pg_backend_pid() AND backend_type = 'client backend'"));
    return q.next() ? q.value(0).toInt() : 0;
}

QString othersConnectedRefusal(Database &db)
{
    const int n = otherCounters(db);
    return n > 0 ? OthersConnectedMessage.arg(n) : QString();
}

QString defaultBackupName(const QDate &day)
{
    return QStringLiteral("KLV") + day.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".bak");
}

QString withBackupExtension(const QString &chosen)
{
    return chosen.contains(QStringLiteral(".bak")) ? chosen : chosen + QStringLiteral(".bak");
}

QString safetyCopyName(const QString &book, const QDateTime &when)
{
    const QFileInfo fi(book);
    return fi.dir().filePath(fi.completeBaseName() + QStringLiteral("-恢复前-") +
                             when.toString(QStringLiteral("yyyyMMdd-HHmmss")) + u'.' + fi.suffix());
}

bool backup(Database &db, const QString &target, QString *why, const Progress &progress)
{
    if (isTheBook(db, target)) return fail(why, QStringLiteral("不可备份到账套文件本身"));
    const QString part = target + QStringLiteral(".part");
    BookFiles::removeWithCompanions(part);
    const bool made = db.engine() == Engine::SQLite ? copyFileBook(db, part, why, progress)
                                                    : copySharedBook(db, part, why);
    if (!made || !seal(part, target, why)) {
        BookFiles::removeWithCompanions(part);
        return false;
    }
    logDone(db, QStringLiteral("备份数据库"), target);
    return true;
}

bool restore(DM1 &dm, const QString &file, QString *why)
{
    if (!QFileInfo(file).isFile()) return fail(why, file + QStringLiteral("：文件不存在"));
    if (isTheBook(dm.db(), file)) return fail(why, QStringLiteral("不可用账套文件本身恢复"));
    if (const QString busy = othersConnectedRefusal(dm.db()); !busy.isEmpty()) return fail(why, busy);
    return dm.db().engine() == Engine::SQLite ? restoreFileBook(dm, file, why) : restoreSharedBook(dm, file, why);
}

bool loadIntoShared(DM1 &dm, const QString &file, QString *why)
{
    if (dm.db().engine() != Engine::PostgreSQL) return fail(why, QStringLiteral("只能转入服务器账套"));
    if (!QFileInfo(file).isFile()) return fail(why, file + QStringLiteral("：文件不存在"));
    QTemporaryDir dir;
    const QString work = Database::bookFileIn(dir.path());
    if (!dir.isValid() || !BookFiles::copy(file, work, why) || !checkCandidate(work, why)) return false;
    if (!loadChecked(dm.db(), work, QStringLiteral("转入账套"), file, why)) return false;
    return reopen(dm, why);
}

bool compact(DM1 &dm, QString *why)
{
    Database &db = dm.db();
    if (db.engine() == Engine::PostgreSQL) {
        try {
            if (const QString busy = othersConnectedRefusal(db); !busy.isEmpty()) return fail(why, busy);
            db.exec(QStringLiteral("VACUUM"));
        } catch (const DbError &e) {
            return fail(why, e.text());
        }
        logDone(db, QStringLiteral("压缩数据库"), QString());
        return true;
    }
    const QString book = db.location().file;
    const QString work = book + QStringLiteral(".tmp");
    BookFiles::removeWithCompanions(work);   // left by a compaction that was cut short
    try {
        db.exec(QStringLiteral("VACUUM INTO ?"), {work});
    } catch (const DbError &e) {
        BookFiles::removeWithCompanions(work);
        return fail(why, e.text());
    }
    if (!BookFiles::sync(work, why) || !releaseFileBook(db, why) || !BookFiles::replace(work, book, why)) {
        BookFiles::removeWithCompanions(work);
        reopen(dm, nullptr);
        return false;
    }
    if (!reopen(dm, why)) return false;
    logDone(db, QStringLiteral("压缩数据库"), QString());
    return true;
}

} // namespace BookMaintenance
