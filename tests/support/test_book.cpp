#include "test_book.h"

#include "app/data/database.h"

#include <QDir>
#include <QTest>

#include <stdexcept>

bool TestBook::onPostgres() { return !qEnvironmentVariableIsEmpty("MARVODA_TEST_PG"); }

BookLocation TestBook::postgresLocation()
{
    return BookLocation::postgres(qEnvironmentVariable("MARVODA_TEST_PG"));
}

TestBook::TestBook(const QString &adminPassword)
{
    if (onPostgres()) {
        where_ = postgresLocation();
        static bool created = false;
        if (!created) {
            // Each test area has a database of its own on the server; make it on first use.
            BookLocation server = where_;
            server.database = QStringLiteral("postgres");
            Database maintenance(server);
            QString why;
            if (!maintenance.open(&why)) throw std::runtime_error(("postgres: " + why).toStdString());
            if (!maintenance.exists(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = ?"), {where_.database}))
                maintenance.exec(QStringLiteral("CREATE DATABASE \"%1\"").arg(where_.database));
            created = true;
        }
        Database admin(where_);
        QString why;
        if (!admin.open(&why)) throw std::runtime_error(("postgres: " + why).toStdString());
        admin.exec(QStringLiteral("DROP SCHEMA IF EXISTS public CASCADE"));
        admin.exec(QStringLiteral("CREATE SCHEMA public"));
    } else {
        where_ = BookLocation::sqlite(Database::bookFileIn(dir_.path()));
    }
    QString why;
    if (!createBook(where_, adminPassword, &why)) throw std::runtime_error(why.toStdString());
    dm_ = std::make_unique<DM1>(where_);
    if (!dm_->open(&why)) throw std::runtime_error(why.toStdString());
    DM1::setCurrent(dm_.get());
}

TestBook::~TestBook()
{
    if (DM1::current() == dm_.get()) DM1::setCurrent(nullptr);
}
