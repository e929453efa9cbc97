#pragma once
// テストのメンテナンス: the tests of the current unit in file order. The teacher
// renames a test, inserts a blank test before a chosen one, deletes a test, sets
// the selected test's kind (点数 or 観察（Ａ・Ｂ・Ｃ）), weight (重み) and term (学期), and prints
// or previews the list of test names. Each change rewrites the score file and the
// class file at once, after their backups (model/TestList.h).

#include "maintenance/ListWindow.h"

#include <functional>

class QComboBox;

class TestListWindow : public ListWindow {
    Q_OBJECT
public:
    explicit TestListWindow(AppContext& ctx, QWidget* parent = nullptr);

    bool prepare() override;

private:
    // The kind and weight of the selected test, below the edit buttons.
    void buildTestDetails();
    // Shows the selected test's kind and weight (off when no test is selected).
    void showSelectedTest();
    // The teacher chose a kind or a weight: written at once, or shown back as it was.
    void kindChosen();
    void weightChosen();
    void termChosen();
    void changeSelectedTest(const std::function<Status(int t)>& change);
    // A line shows the test's name, with its kind and weight when they are not the usual.
    QString listText(int number, const QString& line) const override;
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
    QComboBox* kindBox = nullptr;
    QComboBox* weightBox = nullptr;
    QComboBox* termBox = nullptr;
    bool showingTest = false;  // the boxes are being filled, not changed by the teacher
};
