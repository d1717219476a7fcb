// The trade-document commands of the main window's menu.
#pragma once

class TFmain1;

void registerDocumentCommands(TFmain1 &main);
