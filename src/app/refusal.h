// What a business rule answers instead of saving: the message for the operator and the field
// to put the focus in. Core services return it; windows show it.
#pragma once

#include "app/prompter.h"

#include <QString>

struct Refusal {
    enum Kind {
        Missing,   // required input missing: "提示", information
        Refused,   // duplicate or another refusal: "警告", warning
    };
    QString message;
    QString field;   // the column whose input takes the focus
    Kind kind = Missing;

    void show() const
    {
        if (kind == Missing) prompt().info(message);
        else prompt().warn(message);
    }
};
