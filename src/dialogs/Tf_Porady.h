#pragma once

#include "widgets/SideWindow.h"

// The tips window: shown beside the main window without blocking it.
class Tf_Porady : public SideWindow
{
    Q_OBJECT

public:
    explicit Tf_Porady(QWidget *parent = nullptr);
};
