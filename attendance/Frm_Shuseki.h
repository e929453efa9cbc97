#pragma once
// Placeholder: the window is built in its own change.

#include "shell/ChildWindow.h"

class Frm_Shuseki : public ChildWindow {
    Q_OBJECT
public:
    explicit Frm_Shuseki(AppContext& ctx, QWidget* parent = nullptr);
};
