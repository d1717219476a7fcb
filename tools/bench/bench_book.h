// Books of a given size from a fixed seed, for the scenarios.
#pragma once

#include <QString>

namespace bench {

// Makes an empty book <dir>/KLVData1.db and returns its path; throws when it cannot.
QString newBook(const QString &dir);

QString warehouseName(int n);   // "仓库1" …
QString goodsCode(int n);       // a code like the pinyin initials of a name, unique per n

// Makes <dir>/KLVData1.db with `goods` rows spread over `warehouses` warehouses, and the lookup
// lists they name; returns the file path.
QString makeGoodsBook(const QString &dir, int goods, int warehouses);

} // namespace bench
