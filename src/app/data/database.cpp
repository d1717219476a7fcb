#include "app/data/database.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QStringList>

#include <libpq-fe.h>

#include <atomic>

namespace {

std::atomic<int> connectionCounter{0};

QString errorText(const QSqlError &e)
{
    QString t = e.databaseText().trimmed();
    if (t.isEmpty()) t = e.driverText().trimmed();
    if (t.isEmpty()) t = e.text().trimmed();
    return t;
}

// True when the server is gone from under an open connection: a restart, a terminated session, a
// broken network. libpq knows it once a statement has met the closed socket.
bool connectionBroken(const QSqlDriver *d)
{
    // (The driver itself then reports the connection as closed.)
    if (!d) return false;
    const QVariant h = d->handle();
    if (qstrcmp(h.typeName(), "PGconn*") != 0 && qstrcmp(h.typeName(), "pg_conn*") != 0) return false;
    PGconn *c = *static_cast<PGconn *const *>(h.constData());
    return c && PQstatus(c) == CONNECTION_BAD;
}

// The refusal as thrown. A broken connection is closed at once: the next statement outside a
// transaction connects again, and one inside the lost transaction is refused.
DbError failure(const QSqlError &e, const QSqlDriver *d)
{
    if (connectionBroken(d)) {
        const_cast<QSqlDriver *>(d)->close();
        return DbError::connectionLost(true, errorText(e));
    }
    return DbError(errorText(e), e.nativeErrorCode());
}

// A statement that only reads, so running it again changes nothing.
bool isRead(const QString &sql)
{
    const QStringView s = QStringView(sql).trimmed();
    return s.startsWith(u"SELECT", Qt::CaseInsensitive);
}

} // namespace

QString Database::bookFileIn(const QString &folder) { return QDir(folder).filePath(QString::fromLatin1(BookFileName)); }

DbError DbError::connectionLost(bool wasWriting, const QString &serverText)
{
    DbError e(wasWriting ? LostWhileWriting : LostWhileReading);
    e.detail_ = serverText;
    e.lost_ = true;
    return e;
}

bool DbError::isUniqueViolation() const
{
    // SQLite: SQLITE_CONSTRAINT_UNIQUE (2067), or plain SQLITE_CONSTRAINT from older drivers.
    return code_ == u"23505" || code_ == u"2067" || code_ == u"1555"
           || (code_ == u"19" && text().contains(QStringLiteral("UNIQUE")));
}

bool DbError::isRetryable() const
{
    return code_ == u"40001" || code_ == u"40P01" || code_ == u"5" || code_ == u"517";
}

BookLocation BookLocation::sqlite(const QString &file)
{
    BookLocation l;
    l.engine = Engine::SQLite;
    l.file = file;
    return l;
}

BookLocation BookLocation::postgres(const QString &conninfo)
{
    BookLocation l;
    l.engine = Engine::PostgreSQL;
    for (const QString &part : conninfo.split(u' ', Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf(u'=');
        if (eq <= 0) continue;
        const QString key = part.left(eq).trimmed();
        const QString value = part.mid(eq + 1).trimmed();
        if (key == u"host") l.host = value;
        else if (key == u"port") l.port = value.toInt();
        else if (key == u"dbname") l.database = value;
        else if (key == u"user") l.user = value;
        else if (key == u"password") l.password = value;
    }
    return l;
}

QString BookLocation::describe() const
{
    if (engine == Engine::SQLite) return file;
    return QStringLiteral("postgresql://%1@%2:%3/%4").arg(user, host).arg(port).arg(database);
}

Database::Database(BookLocation where)
    : where_(std::move(where)),
      connectionName_(QStringLiteral("book-%1").arg(++connectionCounter))
{
}

Database::~Database()
{
    cached_.clear();
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
        if (db.isValid()) db.close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
}

bool Database::open(QString *why)
{
    auto fail = [&](const QString &text) {
        if (why) *why = text;
        return false;
    };
    if (isOpen()) return true;
    QSqlDatabase db = QSqlDatabase::contains(connectionName_)
                          ? QSqlDatabase::database(connectionName_, false)
                          : QSqlDatabase::addDatabase(where_.engine == Engine::SQLite ? QStringLiteral("QSQLITE")
                                                                                      : QStringLiteral("QPSQL"),
                                                      connectionName_);
    if (!db.isValid()) return fail(QStringLiteral("数据库驱动不可用"));
    if (where_.engine == Engine::SQLite) {
        // Opening a missing file would silently make an empty one.
        if (!QFileInfo(where_.file).isFile()) return fail(QStringLiteral("文件不存在：") + where_.file);
        db.setDatabaseName(where_.file);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    } else {
        db.setHostName(where_.host);
        db.setPort(where_.port);
        db.setDatabaseName(where_.database);
        db.setUserName(where_.user);
        db.setPassword(where_.password);
        // A server that is off or unreachable answers within seconds, not the network's minutes.
        db.setConnectOptions(QStringLiteral("connect_timeout=5"));
    }
    if (!db.open()) return fail(errorText(db.lastError()));
    ++generation_;
    if (where_.engine == Engine::SQLite) {
        QSqlQuery q(db);
        // WAL keeps readers and the writer apart; FULL makes a committed document survive power loss.
        for (const char *pragma : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=FULL", "PRAGMA foreign_keys=OFF"}) {
            if (!q.exec(QString::fromLatin1(pragma))) {
                const QString text = errorText(q.lastError());
                db.close();
                return fail(text);
            }
        }
    } else {
        QSqlQuery q(db);
        q.exec(QStringLiteral("SET client_min_messages TO WARNING"));
    }
    return true;
}

void Database::disconnect()
{
    cached_.clear();
    QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
    if (db.isValid() && db.isOpen()) db.close();
}

void Database::relocate(const BookLocation &where)
{
    disconnect();
    // The driver differs between the engines: the named connection is made anew.
    QSqlDatabase::removeDatabase(connectionName_);
    where_ = where;
}

bool Database::isOpen() const
{
    QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
    return db.isValid() && db.isOpen();
}

QSqlDatabase Database::connection()
{
    if (!isOpen()) {
        // Connecting again inside a transaction would run the rest of it piecemeal on its own.
        if (transactionDepth_ > 0) throw DbError::connectionLost(true, QStringLiteral("connection closed inside a transaction"));
        cached_.clear();
        QString why;
        if (!open(&why)) {
            if (where_.engine == Engine::PostgreSQL) throw DbError::connectionLost(true, why);
            throw DbError(why);
        }
    }
    return QSqlDatabase::database(connectionName_, false);
}

template <class Run>
auto Database::readAgainIfLost(const QString &sql, Run run) -> decltype(run())
{
    try {
        return run();
    } catch (const DbError &first) {
        if (!first.isConnectionLost() || transactionDepth_ > 0 || !isRead(sql)) throw;
        try {
            return run();
        } catch (const DbError &again) {
            if (!again.isConnectionLost()) throw;
            throw DbError::connectionLost(false, again.detail());
        }
    }
}

QSqlQuery Database::newQuery()
{
    QSqlQuery q(connection());
    // SQLite steps the rows as they are read. A forward-only PostgreSQL result is read row by row
    // on the connection itself, and the next statement silently drops the rows not yet read:
    // a long list still loading, or a report reading several ledgers side by side, would come
    // out short. PostgreSQL results are therefore received whole.
    q.setForwardOnly(where_.engine == Engine::SQLite);
    return q;
}

QSqlQuery Database::prepare(const QString &sql)
{
    // Preparing runs nothing: outside a transaction it is done again on a fresh connection.
    try {
        return prepareOnce(sql);
    } catch (const DbError &e) {
        if (!e.isConnectionLost() || transactionDepth_ > 0) throw;
        return prepareOnce(sql);
    }
}

QSqlQuery Database::prepareOnce(const QString &sql)
{
    QSqlQuery q = newQuery();
    if (!q.prepare(sql)) throw failure(q.lastError(), q.driver());
    return q;
}

void Database::run(QSqlQuery &q)
{
    if (!q.exec()) throw failure(q.lastError(), q.driver());
}

QSqlQuery Database::exec(const QString &sql, std::initializer_list<QVariant> values)
{
    return exec(sql, QVariantList(values));
}

QSqlQuery Database::exec(const QString &sql, const QVariantList &values)
{
    return readAgainIfLost(sql, [&] {
        if (values.isEmpty()) {
            // Nothing to bind: run it directly (PostgreSQL cannot prepare schema statements).
            QSqlQuery q = newQuery();
            if (!q.exec(sql)) throw failure(q.lastError(), q.driver());
            return q;
        }
        QSqlQuery q = prepare(sql);
        for (int i = 0; i < values.size(); ++i) q.bindValue(i, values[i]);
        run(q);
        return q;
    });
}

QSqlQuery &Database::execCached(const QString &sql, std::initializer_list<QVariant> values)
{
    return execCached(sql, QVariantList(values));
}

void Database::insertCached(const QString &table, const QList<std::pair<QString, QVariant>> &values)
{
    QStringList cols, marks;
    QVariantList bound;
    for (const auto &[col, value] : values) {
        cols << col;
        marks << QStringLiteral("?");
        bound << value;
    }
    execCached(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, cols.join(u','), marks.join(u',')), bound);
}

QSqlQuery &Database::execCached(const QString &sql, const QVariantList &values)
{
    return readAgainIfLost(sql, [&]() -> QSqlQuery & {
        if (!isOpen()) connection();   // a statement kept from a closed connection is gone
        auto it = cached_.find(sql);
        if (it == cached_.end()) it = cached_.emplace(sql, std::make_unique<QSqlQuery>(prepare(sql))).first;
        QSqlQuery &q = *it->second;
        q.finish();
        int i = 0;
        for (const QVariant &v : values) q.bindValue(i++, v);
        run(q);
        return q;
    });
}

bool Database::exists(const QString &sql, std::initializer_list<QVariant> values)
{
    QSqlQuery q = exec(sql, values);
    return q.next();
}

qint64 Database::insert(const QString &table, const QList<std::pair<QString, QVariant>> &values)
{
    QStringList cols, marks;
    for (const auto &[col, value] : values) {
        cols << col;
        marks << QStringLiteral("?");
        Q_UNUSED(value);
    }
    QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, cols.join(u','), marks.join(u','));
    const bool returning = where_.engine == Engine::PostgreSQL;
    if (returning) sql += QStringLiteral(" RETURNING id");
    QSqlQuery q = prepare(sql);
    int i = 0;
    for (const auto &[col, value] : values) {
        Q_UNUSED(col);
        q.bindValue(i++, value);
    }
    run(q);
    if (returning) {
        if (!q.next()) throw DbError(QStringLiteral("新记录没有返回编号"));
        return q.value(0).toLongLong();
    }
    return q.lastInsertId().toLongLong();
}

void Database::update(const QString &table, qint64 id, const QList<std::pair<QString, QVariant>> &values)
{
    QStringList sets;
    QVariantList bound;
    for (const auto &[col, value] : values) {
        sets << col + QStringLiteral(" = ?");
        bound << value;
    }
    bound << id;
    QSqlQuery q = exec(QStringLiteral("UPDATE %1 SET %2 WHERE id = ?").arg(table, sets.join(QStringLiteral(", "))), bound);
    if (q.numRowsAffected() == 0) throw DbError(QStringLiteral("该记录已不存在"));
}

QString Database::containsCondition(const QString &column) const
{
    // SQLite's LIKE already ignores the case of ASCII letters; PostgreSQL needs ILIKE.
    return column + (where_.engine == Engine::PostgreSQL ? QStringLiteral(" ILIKE ? ESCAPE '\\'")
                                                         : QStringLiteral(" LIKE ? ESCAPE '\\'"));
}

QString Database::containsPattern(const QString &typed)
{
    QString escaped;
    escaped.reserve(typed.size() + 2);
    escaped += u'%';
    for (QChar c : typed) {
        if (c == u'\\' || c == u'%' || c == u'_') escaped += u'\\';
        escaped += c;
    }
    escaped += u'%';
    return escaped;
}

QString Database::idColumnDefinition() const
{
    return where_.engine == Engine::PostgreSQL ? QStringLiteral("id BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY")
                                               : QStringLiteral("id INTEGER PRIMARY KEY AUTOINCREMENT");
}

QString Database::amountType() const
{
    return where_.engine == Engine::PostgreSQL ? QStringLiteral("BIGINT") : QStringLiteral("INTEGER");
}

Transaction::Transaction(Database &db) : db_(db)
{
    if (db_.transactionDepth_ == 0) {
        const auto begin = [this] {
            QSqlDatabase c = db_.connection();
            if (db_.engine() == Database::Engine::SQLite) {
                // Every transaction here writes: taking the write lock at BEGIN makes a second
                // counter wait for it (busy timeout) instead of failing when its read turns into a
                // write, and a posting's reads of goods rows see no other writer until it commits.
                QSqlQuery q(c);
                if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) throw failure(q.lastError(), q.driver());
            } else if (!c.transaction()) {
                throw failure(c.lastError(), c.driver());
            }
        };
        try {
            begin();
        } catch (const DbError &e) {
            if (!e.isConnectionLost()) throw;
            begin();   // nothing of it had been done: it begins on a fresh connection
        }
        db_.innerFailed_ = false;
        db_.transactionGeneration_ = db_.generation_;
    }
    ++db_.transactionDepth_;
}

Transaction::~Transaction()
{
    if (done_) return;
    --db_.transactionDepth_;
    if (db_.transactionDepth_ > 0) {
        db_.innerFailed_ = true;
        return;
    }
    // A connection closed under the transaction took it with it: the server has dropped it.
    if (db_.isOpen()) db_.connection().rollback();
}

void Transaction::commit()
{
    if (done_) return;
    done_ = true;
    --db_.transactionDepth_;
    if (db_.transactionDepth_ > 0) return;
    // The connection it began on is gone (and with it the transaction): nothing was saved.
    if (!db_.isOpen() || db_.generation_ != db_.transactionGeneration_)
        throw DbError::connectionLost(true, QStringLiteral("connection lost before commit"));
    QSqlDatabase c = db_.connection();
    if (db_.innerFailed_) {
        c.rollback();
        throw DbError(QStringLiteral("操作未完成，已全部撤销"));
    }
    if (!c.commit()) {
        const DbError e = failure(c.lastError(), c.driver());
        if (db_.isOpen()) c.rollback();
        throw e;
    }
}
