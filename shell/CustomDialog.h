#pragma once
// Placeholder: the window is built in its own change.

#include "shell/ChildWindow.h"

class CustomDialog : public ChildWindow {
    Q_OBJECT
public:
    explicit CustomDialog(AppContext& ctx, QWidget* parent = nullptr);
};
