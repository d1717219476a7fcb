#include "master/ui/tfghs1.h"

#include "master/ui/tftjghs1.h"

TFghs1::TFghs1(QWidget *parent)
    : PartnerBookListWindow(PartnerConfig::suppliers(), [](QWidget *p) { return std::make_unique<TFtjghs1>(p); }, parent)
{
}
