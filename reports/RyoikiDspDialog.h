#pragma once
// Placeholder: the window is built in its own change.

#include "shell/ChildWindow.h"

class RyoikiDspDialog : public ChildWindow {
    Q_OBJECT
public:
    explicit RyoikiDspDialog(AppContext& ctx, QWidget* parent = nullptr);
};
