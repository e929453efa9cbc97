#pragma once
// Placeholder: the window is built in its own change.

#include "shell/ChildWindow.h"

class KojinDialog : public ChildWindow {
    Q_OBJECT
public:
    explicit KojinDialog(AppContext& ctx, QWidget* parent = nullptr);
};
