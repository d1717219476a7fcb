#include "master/ui/tfkh2.h"

#include "master/ui/tftjkh1.h"

TFkh2::TFkh2(QWidget *parent)
    : PartnerBookPicker(PartnerConfig::customers(), [](QWidget *p) { return std::make_unique<TFtjkh1>(p); }, parent)
{
}
