// The purchase and sales analysis, commission and combined statistics commands of the main
// window's menu.
#pragma once

class TFmain1;

void registerAnalysisCommands(TFmain1 &main);
