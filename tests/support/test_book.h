// A fresh book for one test case: a new SQLite file in a temporary folder, or, when
// MARVODA_TEST_PG names a PostgreSQL server, an emptied database on it. Installs itself as the
// current data module.
#pragma once

#include "app/data/dm1.h"

#include <QTemporaryDir>

#include <memory>

class TestBook {
public:
    explicit TestBook(const QString &adminPassword = QString());
    ~TestBook();

    static bool onPostgres();
    static BookLocation postgresLocation();

    Database &db() { return dm_->db(); }
    DM1 &dm() { return *dm_; }
    QString dataDir() const { return dir_.path(); }
    const BookLocation &location() const { return where_; }

private:
    QTemporaryDir dir_;
    BookLocation where_;
    std::unique_ptr<DM1> dm_;
};
