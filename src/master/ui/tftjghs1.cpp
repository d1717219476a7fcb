#include "master/ui/tftjghs1.h"

TFtjghs1::TFtjghs1(QWidget *parent) : PartnerDialog(PartnerConfig::suppliers(), parent) {}
