// Opens a workbook in the desktop's spreadsheet program, when there is one.
#pragma once

#include <QString>

// A program the desktop registered for the file's type, else a spreadsheet program on the
// path; false when neither is there (the caller then tells the operator where the file is).
bool openInSpreadsheet(const QString &path);
