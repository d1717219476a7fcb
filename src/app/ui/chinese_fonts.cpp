#include "app/ui/chinese_fonts.h"

#include <QFont>
#include <QStringList>

void installChineseFonts()
{
    static bool installed = false;
    if (installed) return;
    installed = true;
    const QStringList song = {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN")};
    const QStringList hei = {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")};
    const QStringList kai = {QStringLiteral("AR PL UKai CN")};
    QFont::insertSubstitutions(QStringLiteral("SimSun"), song);
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("SimHei"), hei);
    QFont::insertSubstitutions(QStringLiteral("黑体"), hei);
    QFont::insertSubstitutions(QStringLiteral("KaiTi"), kai);
    QFont::insertSubstitutions(QStringLiteral("楷体"), kai);
}
