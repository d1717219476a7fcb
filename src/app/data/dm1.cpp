#include "app/data/dm1.h"

#include "app/data/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

namespace {
DM1 *currentDm = nullptr;
}

DM1::DM1(BookLocation where) : db_(std::make_unique<Database>(std::move(where))) {}

DM1 *DM1::current() { return currentDm; }
void DM1::setCurrent(DM1 *dm) { currentDm = dm; }

bool DM1::open(QString *why)
{
    db_->disconnect();
    if (!db_->open(why)) return false;
    if (schema::version(*db_) < 1) {
        if (why) *why = QStringLiteral("不是本软件的账套");
        db_->disconnect();
        return false;
    }
    try {
        schema::upgrade(*db_);
        QSqlQuery q = db_->exec(QStringLiteral("SELECT mczc FROM danwei ORDER BY id"));
        if (!q.next()) {
            if (why) *why = QStringLiteral("缺少公司信息");
            return false;
        }
    } catch (const DbError &e) {
        if (why) *why = e.text();
        return false;
    }
    return true;
}

bool createBook(const BookLocation &where, const QString &adminPassword, QString *why)
{
    auto fail = [&](const QString &t) {
        if (why) *why = t;
        return false;
    };
    if (where.engine == BookLocation::Engine::SQLite) {
        if (QFileInfo::exists(where.file)) return fail(QStringLiteral("账套已存在，不可覆盖：") + where.file);
        const QFileInfo fi(where.file);
        if (!QDir().mkpath(fi.absolutePath())) return fail(QStringLiteral("无法创建目录：") + fi.absolutePath());
        // SQLite makes the file on first open; an empty file is what Database::open expects.
        QFile f(where.file);
        if (!f.open(QIODevice::WriteOnly)) return fail(f.errorString());
        f.close();
    }
    Database db(where);
    QString openWhy;
    if (!db.open(&openWhy)) {
        if (where.engine == BookLocation::Engine::SQLite) QFile::remove(where.file);
        return fail(openWhy);
    }
    if (where.engine == BookLocation::Engine::PostgreSQL) {
        try {
            QSqlQuery q = db.exec(QStringLiteral("SELECT 1 FROM information_schema.tables WHERE table_schema = current_schema() AND table_name IN ('schema_version','sp')"));
            if (q.next()) return fail(QStringLiteral("账套已存在，不可覆盖：") + where.describe());
        } catch (const DbError &e) {
            return fail(e.text());
        }
    }
    try {
        schema::create(db, adminPassword);
    } catch (const std::exception &e) {
        db.disconnect();
        if (where.engine == BookLocation::Engine::SQLite) {
            QFile::remove(where.file);
            QFile::remove(where.file + QStringLiteral("-wal"));
            QFile::remove(where.file + QStringLiteral("-shm"));
        }
        return fail(QString::fromStdString(e.what()));
    }
    return true;
}
