// Plugs the administration windows into the main window's menu "系统" and its quitting.
#pragma once

class TFmain1;

void registerAdminCommands(TFmain1 &main);
