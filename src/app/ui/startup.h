// From the command line to the main loop: creating a book, or opening one and logging in.
#pragma once

#include "app/data/database.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class DM1;
class TFmain1;

namespace startup {

struct Options {
    QString dataDir;          // folder of KLVData1.db; default: see book_folders::resolve
    QString postgres;         // "host=… dbname=…": a shared PostgreSQL book instead of the file
    bool createDatabase = false;
    QString adminPassword;
    QString takeOver;         // --take-over FILE: a new book from an Access book
    QString fromBook;         // with --create-database --postgres: a file book moved into the new one
    int splashMs = 1000;
};

// Reads the command line; nullopt with *why for words it does not know.
std::optional<Options> parse(const QStringList &args, QString *why);

// Moves a file book into the newly made shared book (--from-book); the administration plugs it
// in. False with *why.
using BookLoader = std::function<bool(DM1 &, const QString &file, QString *why)>;
void setBookLoader(BookLoader load);

// Makes a new book: 0 on success, otherwise 1 with a one-line reason on standard error.
int createDatabase(const Options &o);

// Qt's own Chinese texts for standard buttons, and Chinese fonts for the names layouts use.
void installChineseLook();

// Subsystems plug their windows into the main window's commands here, and the print layouts
// are made; called after the main window exists and before the login.
using Wiring = std::function<void(TFmain1 &)>;

// The take-over of an Access book lives with the administration and plugs in here.
struct TakeOver {
    // --take-over FILE, without any window: the exit code.
    std::function<int(const QString &mdbFile, const BookLocation &where)> command;
    // A start that finds no book: offers the Access book of the data folder; true when a book
    // was made.
    std::function<bool(const BookLocation &where)> offer;
    // The first start's "导入Access账套": the chosen file taken over with its progress and
    // report; true when the book is in place.
    std::function<bool(const QString &mdbFile, const BookLocation &where)> run;
};
void setTakeOver(TakeOver t);

// The whole start: splash, book, main window, login, main loop. Returns the exit code.
// Needs a QApplication and the Prompter in force.
int run(const QStringList &args, const Wiring &wire);

// The program's entry: makes the book without any window (--create-database, --take-over) or
// runs the windows with message boxes.
int main(int argc, char **argv, const Wiring &wire);

} // namespace startup
