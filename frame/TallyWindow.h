#pragma once
// Base of the tally windows (per-test, individual, overall, statistics): while one
// is active the editing commands of the main window are locked, and those that
// print switch the main toolbar's 印刷 and ﾌﾟﾚﾋﾞｭｰ on. Several may be open at once.

#include "frame/ChildWindow.h"

class TallyWindow : public ChildWindow {
    Q_OBJECT
public:
    TallyWindow(AppContext& ctx, bool prints, QWidget* parent = nullptr);

    void activated() override;
    void closed() override;

private:
    bool prints;
};
