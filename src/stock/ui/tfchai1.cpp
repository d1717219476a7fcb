#include "stock/ui/tfchai1.h"

TFchai1::TFchai1(QWidget *parent)
    : AssemblyWindow(AssemblyKind::disassembly(),
                     {"商品拆分/拆包", "步骤一：选择拆分所需的整件", "步骤二：选择拆分而成的零件", "拆分数量",
                      "拆分数量：打算拆分多少个该整件", "如：打算拆分10个该整件，则拆分数量为10", "拆分系数",
                      "拆分系数：一整件可拆分成多少个该零件", "如：一整件可拆分成2个该零件，则拆分系数为2", "确定拆分",
                      "拆分系数", "拆分而成数量"},
                     parent)
{
    setObjectName(QStringLiteral("TFchai1"));
}
