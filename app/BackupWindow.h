#pragma once
// The backup window "データのバックアップ": copies the rosters and data files of the
// data folder into a backup folder the teacher chooses, and remembers that folder.

#include "frame/ChildWindow.h"

class QLabel;
class QLineEdit;
class QPushButton;

class BackupWindow : public ChildWindow {
    Q_OBJECT
public:
    explicit BackupWindow(AppContext& ctx, QWidget* parent = nullptr);

    bool prepare() override;
    void activated() override;
    void closed() override;

    void cmdRef_Click();
    void BtRun_Click(int index);
    // Copies the rosters (*.nam), then the data files (*.dat) of `source` into
    // `target`; a failure shows "データのバックアップは中断されました". True when
    // everything was copied.
    bool DoCopy(const QString& source, const QString& target);

    // Controls, named as the program names them.
    QLabel* LbFolder = nullptr;
    QLineEdit* TxFolder = nullptr;
    QPushButton* cmdRef = nullptr;
    QPushButton* BtRun[2] = {};

private:
    // The backup folder of the box, created on request; empty (after the message)
    // when it cannot take the backup.
    QString checkedTarget();
};
