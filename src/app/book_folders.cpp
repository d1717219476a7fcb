#include "app/book_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <optional>

namespace book_folders {

namespace {

QString join(const QString &dir, const QString &name) { return QDir::cleanPath(QDir(dir).filePath(name)); }

// An installed program sits in <prefix>/bin with its shared files in <prefix>/share/marvoda.
QString sharedOf(const QString &programDir) { return join(programDir, QStringLiteral("../share/marvoda")); }

std::optional<Folders> &chosen()
{
    static std::optional<Folders> f;
    return f;
}

} // namespace

QString Folders::bookFile() const { return join(data, QString::fromLatin1(Database::BookFileName)); }
QString Folders::backups() const { return join(data, BackupFolder); }
QString Folders::exports() const { return join(data, ExportFolder); }

QString Folders::templates() const
{
    const QString beside = join(program, TemplateFolder);
    if (QFileInfo(beside).isDir() || shared.isEmpty()) return beside;
    return join(shared, TemplateFolder);
}

QStringList Folders::documentPlaces(const QString &name) const
{
    QStringList places{join(program, name)};
    if (!shared.isEmpty()) places << join(shared, name);
    return places;
}

QString Folders::findDocument(const QString &name) const
{
    for (const QString &p : documentPlaces(name))
        if (QFileInfo(p).isFile()) return p;
    return {};
}

QString Folders::missingDocumentMessage(const QString &name) const
{
    return QStringLiteral("找不到说明文件%1！已查找：\n%2").arg(name, QDir::toNativeSeparators(documentPlaces(name).join(u'\n')));
}

Folders resolve(const Facts &f)
{
    Folders out;
    out.program = QDir::cleanPath(f.programDir);
    const QString shared = sharedOf(f.programDir);
    const bool installed = QFileInfo(shared).isDir();
    if (installed) out.shared = shared;

    if (!f.dataDirOption.isEmpty()) {
        out.data = QDir::cleanPath(QDir(f.dataDirOption).absolutePath());
        return out;
    }
    const bool holdsBook = QFileInfo(Database::bookFileIn(f.programDir)).isFile();
    if (holdsBook || (!installed && f.programDirWritable)) {
        out.data = out.program;
        return out;
    }
    // The XDG rule: a relative $XDG_DATA_HOME is invalid and ignored.
    const QString base = QDir::isAbsolutePath(f.dataHome) ? f.dataHome : join(f.home, QStringLiteral(".local/share"));
    out.data = join(base, QStringLiteral("marvoda"));
    return out;
}

Facts facts(const QString &dataDirOption)
{
    const QString program = QCoreApplication::applicationDirPath();
    return {program, QFileInfo(program).isWritable(), dataDirOption, qEnvironmentVariable("XDG_DATA_HOME"),
            QDir::homePath()};
}

const Folders &current()
{
    if (!chosen()) chosen() = resolve(facts());
    return *chosen();
}

void setCurrent(const Folders &f) { chosen() = f; }

QString dataFolderOf(const Database &db)
{
    if (db.engine() == Database::Engine::SQLite) return QFileInfo(db.location().file).absolutePath();
    return current().data;
}

} // namespace book_folders
