// The book: one connection to the embedded SQLite file or to a shared PostgreSQL database.
#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <initializer_list>
#include <memory>
#include <unordered_map>
#include <stdexcept>
#include <utility>

// A statement the database refused; the text is the database's own message.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &message, const QString &code = QString())
        : std::runtime_error(message.toStdString()), code_(code) {}
    // The connection to the shop's server broke: the operator reads what became of his command,
    // the server's own words stay in detail() for a technician.
    static DbError connectionLost(bool wasWriting, const QString &serverText);
    static inline const QString LostWhileWriting = QStringLiteral("与服务器的连接中断，本次操作未保存，请重试！");
    static inline const QString LostWhileReading = QStringLiteral("与服务器的连接中断，请稍后重试！");

    QString text() const { return QString::fromStdString(what()); }
    // What a technician needs beyond text(); empty for most refusals.
    const QString &detail() const { return detail_; }
    bool isConnectionLost() const { return lost_; }
    // The engine's own error code (SQLite extended result code, PostgreSQL SQLSTATE).
    const QString &code() const { return code_; }
    // A unique index refused the row: another counter took the same document number.
    bool isUniqueViolation() const;
    // The engine gave up on this transaction to let another go on (deadlock, serialization):
    // running the whole operation again succeeds.
    bool isRetryable() const;

private:
    QString code_;
    QString detail_;
    bool lost_ = false;
};

// Where the book lives.
struct BookLocation {
    enum class Engine { SQLite, PostgreSQL };
    Engine engine = Engine::SQLite;
    QString file;        // SQLite: path of KLVData1.db
    QString host = QStringLiteral("127.0.0.1");
    int port = 5432;
    QString database;    // PostgreSQL database name
    QString user;
    QString password;

    static BookLocation sqlite(const QString &file);
    // Reads "host=… port=… dbname=… user=… password=…" (the libpq key=value form).
    static BookLocation postgres(const QString &conninfo);
    QString describe() const;
};

class Database {
public:
    using Engine = BookLocation::Engine;
    static constexpr const char *BookFileName = "KLVData1.db";
    // The book file of a data folder.
    static QString bookFileIn(const QString &folder);

    explicit Database(BookLocation where);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens the connection; false with *why set when it cannot. The book is created only by
    // Schema::create; opening a missing SQLite file fails instead of making an empty one.
    bool open(QString *why = nullptr);
    // Closes the connection (quitting, backup); the next statement opens it again.
    void disconnect();
    bool isOpen() const;
    // Points the connection at another book (the counter's connection settings): the present one
    // is closed; the next statement opens the new one.
    void relocate(const BookLocation &where);

    Engine engine() const { return where_.engine; }
    const BookLocation &location() const { return where_; }
    QSqlDatabase connection();   // reopens after disconnect(); throws DbError if it cannot

    // A prepared statement; throws DbError when the database refuses its text.
    QSqlQuery prepare(const QString &sql);
    // Prepares, binds the values in order (?-placeholders) and executes; throws DbError.
    QSqlQuery exec(const QString &sql, std::initializer_list<QVariant> values = {});
    // The same with values gathered at run time (conditions added one by one).
    QSqlQuery exec(const QString &sql, const QVariantList &values);
    // Runs a prepared query with its bound values; throws DbError.
    static void run(QSqlQuery &q);
    // The same as exec, on a statement prepared once per connection and kept: for lookups that
    // run on every keystroke or line. The query stays valid until the next call with that text.
    QSqlQuery &execCached(const QString &sql, std::initializer_list<QVariant> values = {});
    QSqlQuery &execCached(const QString &sql, const QVariantList &values);
    // Inserts one row through a kept statement, for rows written many times in one operation
    // (a posting's ledger rows); no id is returned.
    void insertCached(const QString &table, const QList<std::pair<QString, QVariant>> &values);
    // True when the select returns at least one row (uniqueness checks).
    bool exists(const QString &sql, std::initializer_list<QVariant> values = {});
    // Inserts one row and returns its generated id.
    qint64 insert(const QString &table, const QList<std::pair<QString, QVariant>> &values);
    // Sets the columns of the row with that id; throws DbError when the row is gone (another
    // counter deleted it meanwhile), so an edit is never reported as saved when it was not.
    void update(const QString &table, qint64 id, const QList<std::pair<QString, QVariant>> &values);

    // Dialect pieces. A containment test on a text column that treats % and _ in the typed text
    // as ordinary characters and ignores letter case: "<column> LIKE ? ESCAPE '\'".
    QString containsCondition(const QString &column) const;
    static QString containsPattern(const QString &typed);   // the value bound to that ?
    QString idColumnDefinition() const;                      // generated, increasing ids
    QString amountType() const;                              // Decimal raw count

private:
    QSqlQuery newQuery();
    QSqlQuery prepareOnce(const QString &sql);
    // Runs a statement; when the connection broke under a read outside any transaction, it
    // connects again and runs the read once more, unseen by the operator.
    template <class Run>
    auto readAgainIfLost(const QString &sql, Run run) -> decltype(run());

    BookLocation where_;
    QString connectionName_;
    std::unordered_map<QString, std::unique_ptr<QSqlQuery>> cached_;
    int transactionDepth_ = 0;
    int generation_ = 0;             // counts the connections opened
    int transactionGeneration_ = 0;  // the connection the open transaction began on
    bool innerFailed_ = false;
    friend class Transaction;
};

// Rolls back unless committed: every operation that writes more than one row runs in one.
// Guards nest: an inner guard joins the outer transaction, and an inner one left uncommitted
// makes the outer commit fail, so a half-done step never slips through.
class Transaction {
public:
    explicit Transaction(Database &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit();

private:
    Database &db_;
    bool done_ = false;
};
