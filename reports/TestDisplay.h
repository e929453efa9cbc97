#pragma once
// Placeholder: the window is built in its own change.

#include "shell/ChildWindow.h"

class TestDisplay : public ChildWindow {
    Q_OBJECT
public:
    explicit TestDisplay(AppContext& ctx, QWidget* parent = nullptr);
};
