#pragma once
// Placeholder: the window is built in its own change.

#include "shell/ChildWindow.h"

class FrmBackup : public ChildWindow {
    Q_OBJECT
public:
    explicit FrmBackup(AppContext& ctx, QWidget* parent = nullptr);
};
