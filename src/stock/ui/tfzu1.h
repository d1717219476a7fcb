// The assembly window 商品组装/打包: parts are taken out of stock and the whole goes in.
#pragma once

#include "stock/ui/assembly_window.h"

class TFzu1 : public AssemblyWindow {
    Q_OBJECT
public:
    explicit TFzu1(QWidget *parent = nullptr);
};
