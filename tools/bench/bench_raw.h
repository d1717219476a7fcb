// The lower bound of a read: the same statement through the raw sqlite3 C API, every row
// stepped and every column read as Qt reads it (integers, text as UTF-16).
#pragma once

#include <QByteArray>
#include <QString>

#include <sqlite3.h>

#include <vector>

namespace bench {

struct RawQuery {
    sqlite3 *db = nullptr;
    sqlite3_stmt *st = nullptr;
    RawQuery(const QString &file, const QString &sql)
    {
        sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr);
    }
    ~RawQuery()
    {
        sqlite3_finalize(st);
        sqlite3_close(db);
    }
    RawQuery(const RawQuery &) = delete;
    RawQuery &operator=(const RawQuery &) = delete;
    // Every row, or the first maxRows of them (what a lazily loading grid reads at first).
    qint64 run(const std::vector<QByteArray> &binds, int maxRows = -1)
    {
        for (size_t i = 0; i < binds.size(); ++i)
            sqlite3_bind_text(st, int(i + 1), binds[i].constData(), int(binds[i].size()), SQLITE_TRANSIENT);
        qint64 sink = 0;
        const int n = sqlite3_column_count(st);
        for (int row = 0; row != maxRows && sqlite3_step(st) == SQLITE_ROW; ++row) {
            for (int c = 0; c < n; ++c) {
                if (sqlite3_column_type(st, c) == SQLITE_INTEGER) sink += sqlite3_column_int64(st, c);
                else {
                    sqlite3_column_text16(st, c);
                    sink += sqlite3_column_bytes16(st, c);
                }
            }
        }
        sqlite3_reset(st);
        return sink;
    }
};

} // namespace bench
