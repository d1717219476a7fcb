// The main window's commands for suppliers, customers, employees and the company information.
#pragma once

class TFmain1;

void registerPartnerCommands(TFmain1 &main);
