#pragma once
// Placeholder: the window is built in its own change.

#include "shell/ChildWindow.h"

class InputDialog : public ChildWindow {
    Q_OBJECT
public:
    explicit InputDialog(AppContext& ctx, QWidget* parent = nullptr);
};
