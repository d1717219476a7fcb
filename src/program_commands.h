// Plugs every subsystem's windows into the main window's commands and makes the print layouts;
// the program and the manual's picture tool wire the same main window.
#pragma once

class TFmain1;

void registerProgramCommands(TFmain1 &main);
