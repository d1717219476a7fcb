// The goods and lookup-list commands of the main window's menu.
#pragma once

class TFmain1;

void registerGoodsCommands(TFmain1 &main);
