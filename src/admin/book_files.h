// Moving book files about so that a crash at any moment leaves either the old file or the
// complete new one under a name, never a half-written one.
#pragma once

#include <QString>

namespace BookFiles {

// Copies a file's bytes to `to` (replacing what is there); false with *why.
bool copy(const QString &from, const QString &to, QString *why);
// Forces the file's contents to the disk.
bool sync(const QString &path, QString *why);
// Puts `from` under the name `to` in one step (replacing a file there) and makes the new name
// durable. Both must be in the same folder.
bool replace(const QString &from, const QString &to, QString *why);
// Keeps the file as it is now also under `copy`: a second name for the same bytes where the
// disk allows it, otherwise a synced copy.
bool keepAs(const QString &path, const QString &copy, QString *why);
// Removes a database file with the journal files SQLite keeps beside it.
void removeWithCompanions(const QString &path);
// True when the book's write-ahead log is still there after this program let the book go: the
// last connection to close removes it, so another program has the book open.
bool logInUse(const QString &book);

} // namespace BookFiles
