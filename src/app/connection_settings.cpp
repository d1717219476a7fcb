#include "app/connection_settings.h"

#include "app/data/dm1.h"
#include "app/data/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace ConnectionSettings {

namespace {

constexpr QFile::Permissions OwnerOnly = QFile::ReadOwner | QFile::WriteOwner;

// The server's refusal in the operator's words; the text itself is for a technician.
QString reasonOf(const QString &serverText)
{
    const QString t = serverText.toLower();
    if (t.contains(u"password authentication failed") || t.contains(u"no password supplied"))
        return QStringLiteral("用户名或密码不正确");
    if (t.contains(u"database") && t.contains(u"does not exist")) return QStringLiteral("服务器上没有这个数据库");
    if (t.contains(u"pg_hba.conf")) return QStringLiteral("服务器不允许这台电脑连接");
    if (t.contains(u"could not translate host name")) return QStringLiteral("找不到这个服务器地址");
    if (t.contains(u"refused") || t.contains(u"timeout") || t.contains(u"timed out") || t.contains(u"unreachable") ||
        t.contains(u"could not connect"))
        return QStringLiteral("无法连接到服务器，请检查服务器地址和端口，以及服务器是否已开机");
    return QStringLiteral("无法打开服务器账套");
}

QString failed(const QString &reason) { return QStringLiteral("连接失败：") + reason + QStringLiteral("！"); }

} // namespace

QString missingField(const BookLocation &where)
{
    if (where.engine == BookLocation::Engine::SQLite)
        return where.file.isEmpty() ? QStringLiteral("账套文件夹不可为空！") : QString();
    if (where.host.trimmed().isEmpty()) return QStringLiteral("服务器不可为空！");
    if (where.port < 1 || where.port > 65535) return QStringLiteral("端口不正确！");
    if (where.database.trimmed().isEmpty()) return QStringLiteral("数据库不可为空！");
    if (where.user.trimmed().isEmpty()) return QStringLiteral("用户名不可为空！");
    return QString();
}

QString filePath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("QuorinMarvoda/connection.ini"));
}

std::optional<BookLocation> load()
{
    if (!QFileInfo::exists(filePath())) return std::nullopt;
    QSettings s(filePath(), QSettings::IniFormat);
    if (s.status() != QSettings::NoError) return std::nullopt;
    const QString kind = s.value(QStringLiteral("book/kind")).toString();
    if (kind == u"local") {
        const QString dir = s.value(QStringLiteral("book/dataDir")).toString();
        if (dir.isEmpty()) return std::nullopt;
        return BookLocation::sqlite(Database::bookFileIn(dir));
    }
    if (kind != u"server") return std::nullopt;
    BookLocation l;
    l.engine = BookLocation::Engine::PostgreSQL;
    l.host = s.value(QStringLiteral("server/host")).toString();
    l.port = s.value(QStringLiteral("server/port"), 5432).toInt();
    l.database = s.value(QStringLiteral("server/dbname")).toString();
    l.user = s.value(QStringLiteral("server/user")).toString();
    l.password = s.value(QStringLiteral("server/password")).toString();
    return l;
}

bool save(const BookLocation &where, QString *why)
{
    auto fail = [&](const QString &t) {
        if (why) *why = t;
        return false;
    };
    const QString path = filePath();
    const QString dir = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(dir)) return fail(QStringLiteral("无法创建文件夹 ") + dir);
    QFile::setPermissions(dir, OwnerOnly | QFile::ExeOwner);
    {
        // The file exists, private, before the password is written into it; QSettings keeps the
        // permissions of the file it replaces.
        QFile f(path);
        if (!f.open(QIODevice::ReadWrite)) return fail(f.errorString());
        if (!f.setPermissions(OwnerOnly)) return fail(f.errorString());
    }
    QSettings s(path, QSettings::IniFormat);
    s.clear();
    if (where.engine == BookLocation::Engine::SQLite) {
        s.setValue(QStringLiteral("book/kind"), QStringLiteral("local"));
        s.setValue(QStringLiteral("book/dataDir"), QFileInfo(where.file).absolutePath());
    } else {
        s.setValue(QStringLiteral("book/kind"), QStringLiteral("server"));
        s.setValue(QStringLiteral("server/host"), where.host);
        s.setValue(QStringLiteral("server/port"), where.port);
        s.setValue(QStringLiteral("server/dbname"), where.database);
        s.setValue(QStringLiteral("server/user"), where.user);
        s.setValue(QStringLiteral("server/password"), where.password);
    }
    s.sync();
    if (s.status() != QSettings::NoError) return fail(QStringLiteral("无法写入 ") + path);
    if (!QFile::setPermissions(path, OwnerOnly)) return fail(QStringLiteral("无法设置权限 ") + path);
    return true;
}

BookLocation choose(const QString &dataDirArg, const QString &postgresArg, const QString &programDir)
{
    if (!postgresArg.isEmpty()) return BookLocation::postgres(postgresArg);
    if (!dataDirArg.isEmpty()) return BookLocation::sqlite(Database::bookFileIn(dataDirArg));
    if (const std::optional<BookLocation> saved = load()) return *saved;
    return BookLocation::sqlite(Database::bookFileIn(programDir));
}

std::optional<BookLocation> parseLine(const QString &text)
{
    const QString line = text.trimmed();
    // Every word a key=value pair, and at least the server and the database named.
    int known = 0;
    for (const QString &part : line.split(u' ', Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf(u'=');
        if (eq <= 0) return std::nullopt;
        const QString key = part.left(eq);
        if (key == u"host" || key == u"port" || key == u"dbname" || key == u"user" || key == u"password") ++known;
    }
    if (known < 2 || !line.contains(QStringLiteral("host=")) || !line.contains(QStringLiteral("dbname=")))
        return std::nullopt;
    return BookLocation::postgres(line);
}

QString check(const BookLocation &where)
{
    if (const QString missing = missingField(where); !missing.isEmpty()) return missing;
    if (where.engine == BookLocation::Engine::SQLite && !QFileInfo(where.file).isFile())
        return failed(QStringLiteral("这个文件夹中没有账套文件 ") + QString::fromLatin1(Database::BookFileName));
    Database db(where);
    QString why;
    if (!db.open(&why)) {
        qWarning("connection to %s failed: %s", qPrintable(where.describe()), qPrintable(why));
        return failed(where.engine == BookLocation::Engine::SQLite ? QStringLiteral("无法打开账套文件") : reasonOf(why));
    }
    const int version = schema::version(db);   // 0 when the book cannot be read as one
    if (version < 1) return failed(QStringLiteral("这里不是本软件的账套"));
    if (version > schema::CurrentVersion) return failed(QStringLiteral("账套来自更新的版本，请先升级本软件"));
    return QString();
}

bool switchTo(DM1 &dm, const BookLocation &where, QString *why)
{
    if (const QString refusal = check(where); !refusal.isEmpty()) {
        if (why) *why = refusal;
        return false;
    }
    const BookLocation before = dm.db().location();
    dm.db().relocate(where);
    QString openWhy;
    if (dm.open(&openWhy)) return true;
    qWarning("opening %s failed: %s", qPrintable(where.describe()), qPrintable(openWhy));
    dm.db().relocate(before);
    dm.open();
    if (why) *why = failed(QStringLiteral("无法打开账套"));
    return false;
}

} // namespace ConnectionSettings
