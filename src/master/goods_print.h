// Texts the goods list prints.
#pragma once

#include "app/data/database.h"

#include <QString>

// The goods list's print title: the company's print heading followed by "商品资料表".
QString goodsPrintTitle(Database &db);
