#include "master/ui/tfghs2.h"

#include "master/ui/tftjghs1.h"

TFghs2::TFghs2(QWidget *parent)
    : PartnerBookPicker(PartnerConfig::suppliers(), [](QWidget *p) { return std::make_unique<TFtjghs1>(p); }, parent)
{
}
