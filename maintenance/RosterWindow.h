#pragma once
// 氏名メンテナンス: the pupils of the open class in attendance-number order. The
// teacher renames a pupil, takes a pupil in after a chosen one (転入) or lets one go
// (転出), reads the names from a school system's roster file (名簿読込), and prints
// or previews the list of names. Every change is written at once:
// a rename rewrites the roster; a transfer rewrites every score file of the class,
// the attendance file and the roster in one all-or-nothing step (model/Transfer.h).

#include "model/Transfer.h"
#include "maintenance/ListWindow.h"

class RosterWindow : public ListWindow {
    Q_OBJECT
public:
    explicit RosterWindow(AppContext& ctx, QWidget* parent = nullptr);

    bool prepare() override;

private:
    void fillList() override;
    // "12番 佐藤　蓮": every line with the pupil's attendance number.
    QString listText(int number, const QString& line) const override;
    // False (after refilling the list) when the class shown is no longer the open one.
    bool showsOpenData(bool tell) override;
    // Rewrites the roster with the new name of pupil n.
    void storeName(int n, const QString& text, bool tell) override;
    void insertCommand(int n, const QString& name) override;
    void removeCommand(int n, const QString& name) override;
    // Transfer in after pupil n / out of pupil n, after the confirmation.
    void transferIn(int n);
    void transferOut(int n);
    void setCaption();
    // 名簿読込: the names of a roster file (RosterImportWindow) replace the class's
    // names number by number, or become the class when it has none yet.
    void importRoster();
    Status storeImported(const QStringList& names);
    bool otherWindowsClosed(const QString& command);

    QLabel* countUnit = nullptr;  // "人" after the count
    // The class the list shows: the mode, the data folder, and the class in specialist mode.
    bool shownSpecialistMode = false;
    int shownClass = 0;
    QString shownFolder;
};
