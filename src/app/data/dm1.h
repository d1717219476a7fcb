// The data module: owns the book's one connection and the operations the windows share.
#pragma once

#include "app/data/database.h"

#include <memory>

class DM1 {
public:
    explicit DM1(BookLocation where);

    // Connects and reads the company row; false (with *why) when the book is missing, is not a
    // book of this program, or cannot be read.
    bool open(QString *why = nullptr);
    Database &db() { return *db_; }

    // The one in force for the windows; set by start-up and by test fixtures.
    static DM1 *current();
    static void setCurrent(DM1 *dm);

    static inline const QString MissingBookMessage =
        QStringLiteral("数据库文件丢失，软件无法运行，请重新复制本软件！");

private:
    std::unique_ptr<Database> db_;
};

inline Database &book() { return DM1::current()->db(); }

// Makes a new book at the location: refuses when one is already there. False with *why.
bool createBook(const BookLocation &where, const QString &adminPassword, QString *why);
