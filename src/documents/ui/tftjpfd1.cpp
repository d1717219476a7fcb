#include "documents/ui/tftjpfd1.h"

#include "documents/ui/sales_entry_config.h"

TFtjpfd1::TFtjpfd1(QWidget *parent) : DocumentEntryWindow(salesEntryConfig(DocType::Wholesale), parent)
{
    setObjectName(QStringLiteral("TFtjpfd1"));
}
