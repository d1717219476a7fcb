#include "stock/ui/tfzu1.h"

TFzu1::TFzu1(QWidget *parent)
    : AssemblyWindow(AssemblyKind::assembly(),
                     {"商品组装/打包", "步骤一：选择组装而成的整件", "步骤二：选择组装所需的零件", "组装数量",
                      "组装数量：打算组装多少个该整件", "如：打算组装10个该整件，则组装数量为10", "组装系数",
                      "组装系数：组装成一整件需多少个该零件", "如：组装成一整件需2个该零件，则组装系数为2", "确定组装",
                      "组装系数", "组装所需数量"},
                     parent)
{
    setObjectName(QStringLiteral("TFzu1"));
}
