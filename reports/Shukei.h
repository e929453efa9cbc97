#pragma once
// Placeholder: the window is built in its own change.

#include "shell/ChildWindow.h"

class Shukei : public ChildWindow {
    Q_OBJECT
public:
    explicit Shukei(AppContext& ctx, QWidget* parent = nullptr);
};
