#include "master/ui/tftjkh1.h"

TFtjkh1::TFtjkh1(QWidget *parent) : PartnerDialog(PartnerConfig::customers(), parent) {}
