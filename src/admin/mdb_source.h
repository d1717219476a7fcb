// An Access (Jet 4) book read through mdbtools' libmdb: the file is opened for reading only.
#pragma once

#include "admin/table_source.h"

class MdbSource final : public TableSource {
public:
    // Opens the file; throws SourceError when it is missing, not an Access book, of a version
    // this program does not read, or visibly damaged.
    explicit MdbSource(const QString &file);
    ~MdbSource() override;
    MdbSource(const MdbSource &) = delete;
    MdbSource &operator=(const MdbSource &) = delete;

    QString describe() const override { return file_; }
    QStringList tableNames() override;
    std::unique_ptr<SourceTable> open(const QString &table) override;

    static inline const QString NotAccessMessage = QStringLiteral("不是Access数据库：");
    static inline const QString DamagedMessage = QStringLiteral("Access数据库已损坏：");

private:
    QString file_;
    struct Handle;
    std::unique_ptr<Handle> h_;
};
