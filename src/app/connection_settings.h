// Which book this computer's user works in: the folder on this computer, or the shop's server.
// Kept per computer user in the desktop's settings place, in a file only that user can read
// (it holds the server's password).
#pragma once

#include "app/data/database.h"

#include <QString>

#include <optional>

class DM1;

namespace ConnectionSettings {

// The settings file of the user running the program.
QString filePath();

// The saved choice, or nullopt when none was saved (or the file is unreadable).
std::optional<BookLocation> load();
// Saves the choice; the file is made readable by its owner only before the password goes in.
bool save(const BookLocation &where, QString *why);

// The book to open at start: --postgres, then --data-dir, then the saved choice, then the book
// in the program's folder.
BookLocation choose(const QString &dataDirArg, const QString &postgresArg, const QString &programDir);

// The line the shop's server script prints ("host=… port=… dbname=… user=… password=…"), read
// into a server location; nullopt when the text is not such a line.
std::optional<BookLocation> parseLine(const QString &text);

// The first field left empty or out of range, named as the dialog labels it; empty when all
// are filled.
QString missingField(const BookLocation &where);

// Connects to the book at `where` and checks it is a book of this program: empty when it is,
// otherwise why not, in the operator's words. The server's own text goes to the log.
QString check(const BookLocation &where);

// Moves the data module to the book at `where` after checking it; false with *why (as check
// gives it) and the present book kept open.
bool switchTo(DM1 &dm, const BookLocation &where, QString *why);

inline const QString ConnectedMessage = QStringLiteral("连接成功！");
inline const QString SavedBookUnavailableMessage = QStringLiteral("无法打开上次选择的账套，请重新进行连接设置！");
inline const QString NotSavedMessage = QStringLiteral("连接设置未能保存：");

} // namespace ConnectionSettings
