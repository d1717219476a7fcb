// The entry session that pending lines belong to. Every entry window's lines are written to the
// line table at once; a window that ends without saving (the program killed, the power lost, the
// connection to the server gone) leaves them in the book. Each window therefore writes its
// pending lines under a session of its own, a row of `lrhh` that the program holds a lock on for
// as long as it runs: the lock goes with the process (or, on PostgreSQL, with its connection),
// so a session whose lock is free has ended, and its lines are known to be left over.
//
// The file book keeps the locks in a file beside it, one byte per session (an open-file lock,
// released by the system when the program ends however it ends); the shared book keeps them as
// session-level advisory locks on the counter's connection.
#pragma once

#include "app/data/database.h"
#include "documents/document_kind.h"

#include <QList>
#include <QString>

class EntrySession {
public:
    EntrySession(Database &db, const DocumentKind &kind);
    // Ends the session; one that still has pending lines is left for the next opening to offer.
    ~EntrySession();
    EntrySession(const EntrySession &) = delete;
    EntrySession &operator=(const EntrySession &) = delete;

    // The session pending lines are written under, started on first use. On PostgreSQL a lost
    // connection took the lock with it: it is taken again, unless another counter has meanwhile
    // treated the session as ended, which throws DbError (LostMessage) until restart().
    qint64 confirm();
    qint64 id() const { return id_; }
    bool lost() const { return lost_; }
    // A new document after a loss: the next confirm() starts another session.
    void restart();
    // The window is done: the row goes unless lines are still pending, and the lock is released.
    void end(bool linesPending) noexcept;

    static inline const QString LostMessage =
        QStringLiteral("本单据的未保存明细已被其他终端处理，本次操作未保存，请重新开单！");

private:
    void start();
    bool holdsLock();   // shared book
    void releaseLock() noexcept;

    Database &db_;
    QString prefix_;
    qint64 id_ = 0;
    int lockFd_ = -1;   // file book: the descriptor holding this session's byte
    qint64 backend_ = 0;   // shared book: the server process of the connection holding the lock
    bool lost_ = false;
};

// What ended sessions of one kind left in its line table: lines added ("dz") and committed lines
// marked deleted ("ds"). Lines without a session (left by an older program) count with them.
struct InterruptedLines {
    QList<qint64> sessions;   // the kind's ended sessions
    int added = 0, deleted = 0;

    bool isEmpty() const { return sessions.isEmpty() && added == 0 && deleted == 0; }
    // The question the entry window asks before taking the added lines back.
    QString question() const { return QStringLiteral("上次有未保存的单据明细%1行，是否恢复？").arg(added); }
};

namespace InterruptedEntry {

// Looks without changing anything; the sessions of this program are never counted.
InterruptedLines find(Database &db, const DocumentKind &kind);

// In one transaction: the marked deletions are undone ("ds" → "yz") whatever the answer; the
// added lines move to document `dh` under session `into` when `into` is not 0 (their ids are
// returned in entry order), otherwise they are removed; the ended sessions go. A session that
// has come back meanwhile (a counter that regained its connection) is left alone.
QList<qint64> settle(Database &db, const DocumentKind &kind, const InterruptedLines &found, const QString &dh,
                     qint64 into);

} // namespace InterruptedEntry
