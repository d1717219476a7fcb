// The money commands of the main window's menu "财务管理".
#pragma once

class TFmain1;

void registerFinanceCommands(TFmain1 &main);
