// Backup, restore and compaction of the whole book. A file book is copied page by page while it
// stays open; a shared PostgreSQL book is written to, and read from, a file book of the same
// format, so every backup opens anywhere.
#pragma once

#include "app/data/dm1.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <functional>

namespace BookMaintenance {

// The folder of the book file, or the data folder for a shared book: where backups and
// exports go by default.
QString dataDir(Database &db);
// The folder beside the book ("数据备份库"), made when it is missing; for a shared book the
// data folder stands in for the book's.
QString backupFolder(Database &db);
// "KLV" + yyyymmdd + ".bak".
QString defaultBackupName(const QDate &day);
// The name chosen in the file dialog: one with ".bak" anywhere is taken as it is, any other
// gets ".bak" appended.
QString withBackupExtension(const QString &chosen);
// Where a restore keeps the file book it replaces: beside it, named after the moment.
QString safetyCopyName(const QString &book, const QDateTime &when);

// How many other counters are connected to a shared book (this connection not counted); 0 for
// a file book, whose other users are found when it is released.
int otherCounters(Database &db);
// The refusal of restore, compaction and clearing while other counters are connected to the
// shared book: they would go on writing into a book being replaced or emptied. Empty when none.
QString othersConnectedRefusal(Database &db);

// Called between the steps of a copy with the share done so far; returning false abandons it.
using Progress = std::function<bool(qint64 done, qint64 total)>;

// Writes a checked copy of the book to `target`. The copy is made under a work name beside the
// target, forced to the disk and checked, and only then takes the target's name (replacing an
// older file there), so an interrupted backup never leaves a partial file under that name.
bool backup(Database &db, const QString &target, QString *why, const Progress &progress = {});

// Replaces the book by the book in `file`. The file is checked first: one that is not a sound
// book of this program (another kind of file, damaged, cut short, lacking a table or column,
// from a newer version) is refused and the book stays as it was. A file book is swapped in one
// step, the replaced book kept beside it (safetyCopyName); a shared book is loaded in one
// transaction after a safety backup to the backup folder. The book is reopened (and an older
// one upgraded) for the windows to go on with, the operator still logged in.
bool restore(DM1 &dm, const QString &file, QString *why);

// Moves a single-computer book (the file) into a shared book that has just been made, every row
// and id as they stand, checked as a restore checks the file; one transaction.
bool loadIntoShared(DM1 &dm, const QString &file, QString *why);

// Rebuilds the book without free space. A file book is rebuilt into a work file beside it that
// replaces the book only when complete; a failure leaves the book as it was and removes the
// work file. A shared book is vacuumed in place.
bool compact(DM1 &dm, QString *why);

inline const QString EmptyNameMessage = QStringLiteral("数据库备份文件不可为空！");
inline const QString BackupDoneMessage = QStringLiteral("数据库备份成功！");
inline const QString BackupFailedMessage = QStringLiteral("数据库备份失败！");
inline const QString RestoreQuestion = QStringLiteral("真的要恢复数据库吗？");
inline const QString RestoreDoneMessage = QStringLiteral("数据库恢复成功！");
inline const QString RestoreFailedMessage = QStringLiteral("数据库恢复失败！");
inline const QString CompactQuestion = QStringLiteral("确定要压缩当前数据库吗？");
inline const QString CompactDoneMessage = QStringLiteral("数据库压缩成功！");
inline const QString CompactFailedMessage = QStringLiteral("数据库压缩失败！");
inline const QString OthersConnectedMessage = QStringLiteral("还有%1台电脑连接着服务器账套，请先让其他电脑退出本软件，再进行此操作！");

} // namespace BookMaintenance
