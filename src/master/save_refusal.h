// Why a save was refused: the message to show, how to show it, and the field that takes the focus.
#pragma once

#include <QString>

struct SaveRefusal {
    enum Severity {
        Missing,   // required input missing: "提示", information
        Refused,   // duplicate or other refusal: "警告", warning
    };
    QString message;
    QString field;   // the column whose input takes the focus
    Severity severity = Missing;
};
