#include "documents/entry_session.h"

#include "app/session.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <QSqlQuery>
#include <QStringList>
#include <QThread>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

// The advisory lock class of entry sessions on the shared book ("lr"); the session id is the second key.
constexpr int LockClass = 0x6C72;

// The sessions of this program: alive whatever their locks say (after a lost connection the
// lock is taken again only at the window's next write).
QMutex hereMutex;
QSet<QString> &sessionsHere()
{
    static QSet<QString> s;
    return s;
}
QString hereKey(const Database &db, qint64 id) { return db.location().describe() + u'#' + QString::number(id); }
bool isHere(const Database &db, qint64 id)
{
    QMutexLocker lock(&hereMutex);
    return sessionsHere().contains(hereKey(db, id));
}
void setHere(const Database &db, qint64 id, bool here)
{
    QMutexLocker lock(&hereMutex);
    if (here) sessionsHere().insert(hereKey(db, id));
    else sessionsHere().remove(hereKey(db, id));
}

QString ids(const QList<qint64> &list)
{
    // Ids the book generated, never typed text: safe to write into the statement.
    QStringList parts;
    for (qint64 id : list) parts << QString::number(id);
    return parts.join(u',');
}

// ---- File book: one byte of the lock file per session ---------------------------------------

DbError systemError(const QString &what) { return DbError(what + QString::fromLocal8Bit(std::strerror(errno))); }

int openLockFile(const Database &db)
{
    const QByteArray path = QFile::encodeName(QFileInfo(db.location().file).absoluteFilePath() + QStringLiteral("-lrhh"));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) throw systemError(QStringLiteral("无法打开录入锁文件："));
    return fd;
}

struct flock byteOf(qint64 id)
{
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(id);
    fl.l_len = 1;
    return fl;
}

// Open-file locks belong to the descriptor, not the process: another window of this program
// holding a byte counts as a holder too, and closing the descriptor is the release.
bool takeByte(int fd, qint64 id)
{
    struct flock fl = byteOf(id);
    if (::fcntl(fd, F_OFD_SETLK, &fl) == 0) return true;
    if (errno == EAGAIN || errno == EACCES) return false;
    throw systemError(QStringLiteral("录入锁失败："));
}

bool byteHeld(int fd, qint64 id)
{
    struct flock fl = byteOf(id);
    if (::fcntl(fd, F_OFD_GETLK, &fl) != 0) throw systemError(QStringLiteral("录入锁失败："));
    return fl.l_type != F_UNLCK;
}

class LockFile {
public:
    explicit LockFile(const Database &db) : fd_(openLockFile(db)) {}
    ~LockFile() { ::close(fd_); }
    LockFile(const LockFile &) = delete;
    LockFile &operator=(const LockFile &) = delete;
    bool held(qint64 id) const { return byteHeld(fd_, id); }

private:
    int fd_;
};

// ---- Shared book: session-level advisory locks ----------------------------------------------

QString heldByThisConnection(qint64 id)
{
    return QStringLiteral("SELECT 1 FROM pg_locks WHERE locktype = 'advisory' AND pid = pg_backend_pid() AND classid = %1 "
                          "AND objid = %2 AND objsubid = 2 AND granted")
        .arg(LockClass)
        .arg(id);
}

bool pgTrue(Database &db, const QString &sql)
{
    QSqlQuery q = db.exec(sql);
    return q.next() && q.value(0).toBool();
}

// Of these sessions, the ones whose lock somebody holds (a running program, or a counter
// settling them right now).
QSet<qint64> heldSessions(Database &db, const QList<qint64> &sessions)
{
    QSet<qint64> held;
    if (sessions.isEmpty()) return held;
    if (db.engine() == Database::Engine::SQLite) {
        const LockFile f(db);
        for (qint64 id : sessions)
            if (f.held(id)) held.insert(id);
        return held;
    }
    QSqlQuery q = db.exec(QStringLiteral("SELECT objid FROM pg_locks WHERE locktype = 'advisory' AND classid = %1 "
                                         "AND objsubid = 2 AND granted").arg(LockClass));
    while (q.next()) held.insert(q.value(0).toLongLong());
    return held;
}

// The kind's pending lines ("dz" or "ds" besides) of these ended sessions or of none at all.
// Sessions are looked up in the same statement as the lines: a line another counter has just
// written is never taken for one without a session.
QString leftBy(const QList<qint64> &ended)
{
    QString s = QStringLiteral("substr(dh, 1, 2) = ? AND (hh NOT IN (SELECT id FROM lrhh)");
    if (!ended.isEmpty()) s += QStringLiteral(" OR hh IN (%1)").arg(ids(ended));
    return s + u')';
}

} // namespace

// ---- EntrySession ---------------------------------------------------------------------------

EntrySession::EntrySession(Database &db, const DocumentKind &kind) : db_(db), prefix_(kind.prefix) {}

EntrySession::~EntrySession() { end(true); }

void EntrySession::start()
{
    const bool file = db_.engine() == Database::Engine::SQLite;
    Transaction tx(db_);
    const qint64 id = db_.insert(QStringLiteral("lrhh"),
                                 {{"lx", prefix_},
                                  {"czy", session::current().stYhm1},
                                  {"sj", QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))}});
    // The lock is taken before the row is committed: no other counter ever sees the session
    // without its lock.
    int fd = -1;
    bool locked = false;
    try {
        if (file) {
            fd = openLockFile(db_);
            locked = takeByte(fd, id);
        } else {
            QSqlQuery q = db_.exec(QStringLiteral("SELECT pg_try_advisory_lock(%1, %2), pg_backend_pid()").arg(LockClass).arg(id));
            locked = q.next() && q.value(0).toBool();
            backend_ = locked ? q.value(1).toLongLong() : 0;
        }
        if (!locked) throw DbError(QStringLiteral("录入会话%1已被占用").arg(id));
        tx.commit();
    } catch (...) {
        if (fd >= 0) ::close(fd);
        else if (locked)
            try {
                db_.exec(QStringLiteral("SELECT pg_advisory_unlock(%1, %2)").arg(LockClass).arg(id));
            } catch (const DbError &) {
            }
        throw;
    }
    id_ = id;
    lockFd_ = fd;
    setHere(db_, id_, true);
}

qint64 EntrySession::confirm()
{
    if (lost_) throw DbError(LostMessage);
    if (id_ == 0) {
        start();
        return id_;
    }
    if (db_.engine() == Database::Engine::PostgreSQL && !holdsLock()) {
        setHere(db_, id_, false);
        lost_ = true;
        throw DbError(LostMessage);
    }
    return id_;
}

bool EntrySession::holdsLock()
{
    QSqlQuery q = db_.exec(QStringLiteral("SELECT EXISTS (%1), pg_backend_pid()").arg(heldByThisConnection(id_)));
    if (!q.next()) return false;
    if (q.value(0).toBool()) return true;
    // The connection was made anew. The lost one may linger on the server for a while, still
    // holding the lock: it is ended. A lock held by another counter means it is settling the
    // session now.
    const qint64 backend = q.value(1).toLongLong();
    QDeadlineTimer deadline(3000);
    for (;;) {
        if (pgTrue(db_, QStringLiteral("SELECT pg_try_advisory_lock(%1, %2)").arg(LockClass).arg(id_))) break;
        q = db_.exec(QStringLiteral("SELECT pid FROM pg_locks WHERE locktype = 'advisory' AND classid = %1 AND objid = %2 "
                                    "AND objsubid = 2 AND granted").arg(LockClass).arg(id_));
        const qint64 holder = q.next() ? q.value(0).toLongLong() : 0;
        if ((holder != 0 && holder != backend_) || deadline.hasExpired()) return false;
        if (holder != 0) db_.exec(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(holder));
        QThread::msleep(20);
    }
    backend_ = backend;
    // A counter that settled the session while this one was away removed its row.
    if (db_.exists(QStringLiteral("SELECT 1 FROM lrhh WHERE id = ?"), {id_})) return true;
    releaseLock();
    return false;
}

void EntrySession::restart()
{
    if (!lost_) return;
    if (lockFd_ >= 0) ::close(lockFd_);
    lockFd_ = -1;
    id_ = 0;
    lost_ = false;
}

void EntrySession::releaseLock() noexcept
{
    if (lockFd_ >= 0) {
        ::close(lockFd_);
        lockFd_ = -1;
        return;
    }
    if (db_.engine() != Database::Engine::PostgreSQL || id_ == 0) return;
    try {
        // Only a lock this connection holds: a connection made anew holds none.
        db_.exec(QStringLiteral("SELECT pg_advisory_unlock(%1, %2) FROM (%3) AS held").arg(LockClass).arg(id_).arg(heldByThisConnection(id_)));
    } catch (const DbError &) {
        // The connection is gone, and its locks with it.
    }
}

void EntrySession::end(bool linesPending) noexcept
{
    if (id_ == 0 || lost_) return;
    try {
        if (!linesPending) db_.exec(QStringLiteral("DELETE FROM lrhh WHERE id = ?"), {id_});
    } catch (const DbError &) {
        // Left for the next opening of the window, which finds the session ended and empty.
    }
    releaseLock();
    setHere(db_, id_, false);
    id_ = 0;
}

// ---- Interrupted entry ----------------------------------------------------------------------

InterruptedLines InterruptedEntry::find(Database &db, const DocumentKind &kind)
{
    InterruptedLines found;
    QList<qint64> others;
    QSqlQuery q = db.exec(QStringLiteral("SELECT id FROM lrhh WHERE lx = ? ORDER BY id"), {kind.prefix});
    while (q.next())
        if (!isHere(db, q.value(0).toLongLong())) others << q.value(0).toLongLong();
    if (!others.isEmpty()) {
        const QSet<qint64> held = heldSessions(db, others);
        for (qint64 id : others)
            if (!held.contains(id)) found.sessions << id;
    }
    q = db.exec(QStringLiteral("SELECT bj, count(*) FROM %1 WHERE bj IN ('dz', 'ds') AND %2 GROUP BY bj")
                    .arg(kind.lineTable, leftBy(found.sessions)),
                {kind.prefix});
    while (q.next()) (q.value(0).toString() == DocFlag::Added ? found.added : found.deleted) = q.value(1).toInt();
    return found;
}

QList<qint64> InterruptedEntry::settle(Database &db, const DocumentKind &kind, const InterruptedLines &found,
                                      const QString &dh, qint64 into)
{
    Transaction tx(db);
    // Checked again under the transaction: a session may have come back since it was found.
    QList<qint64> ended;
    if (db.engine() == Database::Engine::SQLite) {
        const QSet<qint64> held = heldSessions(db, found.sessions);
        for (qint64 id : found.sessions)
            if (!held.contains(id) && !isHere(db, id)) ended << id;
    } else {
        // Held to the end of the transaction: a counter regaining its connection meanwhile
        // finds its session taken.
        for (qint64 id : found.sessions)
            if (!isHere(db, id) && pgTrue(db, QStringLiteral("SELECT pg_try_advisory_xact_lock(%1, %2)").arg(LockClass).arg(id)))
                ended << id;
    }
    const QString left = leftBy(ended);
    const QString table = kind.lineTable;
    QList<qint64> moved;
    if (into != 0) {
        QSqlQuery q = db.exec(QStringLiteral("SELECT id FROM %1 WHERE bj = 'dz' AND %2 ORDER BY id").arg(table, left), {kind.prefix});
        while (q.next()) moved << q.value(0).toLongLong();
        if (!moved.isEmpty())
            db.exec(QStringLiteral("UPDATE %1 SET dh = ?, hh = ? WHERE id IN (%2)").arg(table, ids(moved)), {dh, into});
    } else {
        db.exec(QStringLiteral("DELETE FROM %1 WHERE bj = 'dz' AND %2").arg(table, left), {kind.prefix});
    }
    db.exec(QStringLiteral("UPDATE %1 SET bj = 'yz', hh = 0 WHERE bj = 'ds' AND %2").arg(table, left), {kind.prefix});
    if (!ended.isEmpty()) db.exec(QStringLiteral("DELETE FROM lrhh WHERE id IN (%1)").arg(ids(ended)));
    tx.commit();
    return moved;
}
