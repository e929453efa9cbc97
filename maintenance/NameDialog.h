#pragma once
// Placeholder: the window is built in its own change.

#include "shell/ChildWindow.h"

class NameDialog : public ChildWindow {
    Q_OBJECT
public:
    explicit NameDialog(AppContext& ctx, QWidget* parent = nullptr);
};
