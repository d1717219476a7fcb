#include "master/ui/tfkh1.h"

#include "master/ui/tftjkh1.h"

TFkh1::TFkh1(QWidget *parent)
    : PartnerBookListWindow(PartnerConfig::customers(), [](QWidget *p) { return std::make_unique<TFtjkh1>(p); }, parent)
{
}
