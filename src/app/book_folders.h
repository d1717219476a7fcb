// Where the book and the folders around it live: a copied program keeps them beside itself, an
// installed one in the user's data folder, with its templates and help documents shared.
#pragma once

#include "app/data/database.h"

#include <QString>
#include <QStringList>

namespace book_folders {

// What the choice depends on; taken from the running process by `facts`, given by tests.
struct Facts {
    QString programDir;      // folder of the running program
    bool programDirWritable = false;
    QString dataDirOption;   // --data-dir, empty when not given
    QString dataHome;        // $XDG_DATA_HOME, empty when unset
    QString home;            // the user's home folder
};

struct Folders {
    QString data;       // KLVData1.db, "数据备份库" and "导出"
    QString program;    // the program's own folder
    QString shared;     // <prefix>/share/marvoda of an installed program

    QString bookFile() const;    // data + "/KLVData1.db"
    QString backups() const;     // data + "/数据备份库"
    QString exports() const;     // data + "/导出"
    QString templates() const;   // "数据导入模版" beside the program, else the shared one
    // The places a help document is looked for, in order: beside the program, then shared.
    QStringList documentPlaces(const QString &name) const;
    // The first of those places that holds the document; empty when none does.
    QString findDocument(const QString &name) const;
    // What the operator is told when a help document is in none of its places.
    QString missingDocumentMessage(const QString &name) const;
};

inline const QString TemplateFolder = QStringLiteral("数据导入模版");
inline const QString BackupFolder = QStringLiteral("数据备份库");
inline const QString ExportFolder = QStringLiteral("导出");
inline const QString ManualFile = QStringLiteral("Marvoda操作说明书.pdf");   // "操作说明"
inline const QString QuestionsFile = QStringLiteral("Marvoda功能问答.txt");  // "常见问题"

// --data-dir wins. Otherwise the program's folder when it already holds a book, or when it is
// writable and not an installed program's (an installed program never writes beside itself,
// even for root). Otherwise $XDG_DATA_HOME/marvoda, by default ~/.local/share/marvoda.
Folders resolve(const Facts &f);

// The facts of this process (application folder, environment) with the given --data-dir.
Facts facts(const QString &dataDirOption = {});

// The folders the running program chose at start; until then, those of `facts()`.
const Folders &current();
void setCurrent(const Folders &f);

// The folder that holds the backups and exports of an open book: the folder of a file book
// itself, the current data folder for a book on a server.
QString dataFolderOf(const Database &db);

} // namespace book_folders
