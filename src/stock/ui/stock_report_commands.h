// The stock report commands of the main window's menu.
#pragma once

class TFmain1;

void registerStockReportCommands(TFmain1 &main);
