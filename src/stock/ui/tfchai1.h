// The disassembly window 商品拆分/拆包: the whole is taken out of stock and its parts go in.
#pragma once

#include "stock/ui/assembly_window.h"

class TFchai1 : public AssemblyWindow {
    Q_OBJECT
public:
    explicit TFchai1(QWidget *parent = nullptr);
};
