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
    QString helpPage() const override { return QStringLiteral("backup.html"); }
    void activated() override;
    void closed() override;

private:
    void browseBackupFolder();
    // Checks the folder of the box, remembers it and copies the files; the window
    // closes when everything was stored and copied.
    void runBackup();
    // Copies the rosters (*.nam), then the data files (*.dat) of `source` into
    // `target`; a failure shows "データのバックアップは中断されました". True when
    // everything was copied.
    bool copyDataFiles(const QString& source, const QString& target);
    // The backup folder of the box, created on request; empty (after the message)
    // when it cannot take the backup.
    QString checkedTarget();

    QLabel* dataFolderLabel = nullptr;
    QLineEdit* backupFolderInput = nullptr;
    QPushButton* browseButton = nullptr;
    QPushButton* backupButton = nullptr;
    QPushButton* cancelButton = nullptr;
};
