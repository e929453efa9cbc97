#pragma once
// 氏名メンテナンス: the pupils of the open class in attendance-number order. The
// teacher renames a pupil, takes a pupil in after a chosen one (転入) or lets one go
// (転出), and prints or previews the list of names. Every change is written at once:
// a rename rewrites the roster; a transfer rewrites every score file of the class,
// the attendance file and the roster in one all-or-nothing step (core/Transfer.h).

#include "core/Transfer.h"
#include "maintenance/ListMaintenanceWindow.h"

class NameDialog : public ListMaintenanceWindow {
    Q_OBJECT
public:
    explicit NameDialog(AppContext& ctx, QWidget* parent = nullptr);

    bool Form_Load() override;

    // Transfer in after pupil n / out of pupil n, after the confirmation.
    void TenNyu(int n);
    void TenShutu(int n);

    QListWidget* const Lt_Name = list;
    QLabel* Label3 = nullptr;  // "人" after the count

private:
    void fillList() override;
    // False (after refilling the list) when the class shown is no longer the open one.
    bool showsOpenData(bool tell) override;
    // Rewrites the roster with the new name of pupil n.
    void storeName(int n, const QString& text, bool tell) override;
    void insertCommand(int n, const QString& name) override;
    void removeCommand(int n, const QString& name) override;
    void setCaption();
    bool otherWindowsClosed(const QString& command);

    // The class the list shows: the mode, the data folder, and the class in specialist mode.
    bool shownSenka = false;
    int shownClass = 0;
    QString shownFolder;
};
