#pragma once
// テストのメンテナンス: the tests of the current unit in file order. The teacher
// renames a test, inserts a blank test before a chosen one, deletes a test, and
// prints or previews the list of test names. Each change rewrites the score file
// at once, after its ".Bak" backup (model/TestList.h).

#include "maintenance/ListWindow.h"

class TestListWindow : public ListWindow {
    Q_OBJECT
public:
    explicit TestListWindow(AppContext& ctx, QWidget* parent = nullptr);

    bool prepare() override;

private:
    // Loads the score file of the current unit and fills the list; `tell` shows
    // why it cannot.
    bool loadUnit(bool tell);
    void fillList() override;
    // False (after loading the unit now current) when the list shows another unit.
    bool showsOpenData(bool tell) override;
    // Score entry holds the test set in memory and would write it back over a change.
    bool editAllowed() override;
    // Rewrites the score file with the new name of test n.
    void storeName(int n, const QString& text, bool tell) override;
    void insertCommand(int n, const QString& name) override;
    void removeCommand(int n, const QString& name) override;
    // Write the score file with a new test before test n / without test n.
    void insertTest(int n);
    void deleteTest(int n);

    // The unit the list shows: the mode, the data folder and the subject or class.
    bool shownSpecialistMode = false;
    int shownUnit = 0;
    QString shownFolder;
};
