// The window a partner or employee picker fills: a document window names itself by its caller
// mark ("tjcg", "tjxs", …) and receives the chosen name for the field that mark stands for
// (supplier `ghs`, customer `kh`, handler `jsr`).
#pragma once

#include <QString>

class PartnerCaller {
public:
    virtual ~PartnerCaller() = default;
    virtual void partnerChosen(const QString &mark, const QString &name) = 0;
};
