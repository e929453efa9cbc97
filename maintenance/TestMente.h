#pragma once
// Placeholder: the window is built in its own change.

#include "shell/ChildWindow.h"

class TestMente : public ChildWindow {
    Q_OBJECT
public:
    explicit TestMente(AppContext& ctx, QWidget* parent = nullptr);
};
