#pragma once
// Base of the tally windows (per-test, individual, overall, statistics): while one
// is active the editing commands of the main window are locked; those that print
// have the output commands 印刷, ﾌﾟﾚﾋﾞｭｰ and CSV保存 (reportActions), and the main
// toolbar's 印刷 and ﾌﾟﾚﾋﾞｭｰ are on while one of them is active. Several may be
// open at once.

#include "frame/ChildWindow.h"

class TallyWindow : public ChildWindow {
    Q_OBJECT
public:
    TallyWindow(AppContext& ctx, bool prints, QWidget* parent = nullptr);

    void activated() override;
    void closed() override;
};
