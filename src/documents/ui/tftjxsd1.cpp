#include "documents/ui/tftjxsd1.h"

#include "documents/ui/sales_entry_config.h"

TFtjxsd1::TFtjxsd1(QWidget *parent) : DocumentEntryWindow(salesEntryConfig(DocType::Retail), parent)
{
    setObjectName(QStringLiteral("TFtjxsd1"));
}
