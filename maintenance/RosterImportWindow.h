#pragma once
// 名簿の読込: a roster file from the school system, shown before anything is taken.
// The window lists the file's first rows, lets the teacher say which column holds
// the attendance number and which the name (guessed from the heading row), shows
// the names it would take with their numbers and every row it refuses with its line
// and reason. Nothing is taken until 読み込む is pressed; the caller then writes the
// names through the roster's own ways.

#include "model/RosterImport.h"

#include <QDialog>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;
class Ui;

class RosterImportWindow : public QDialog {
    Q_OBJECT
public:
    // `existing`: the names the class has already; the file's follow them.
    RosterImportWindow(const RosterImport::Table& table, const QString& fileName, int existing, QWidget* parent = nullptr);

    const RosterImport::Result& result() const { return taken; }

    // Asks for the file, reads it, and shows the window; the names accepted, or
    // nothing when the teacher cancels (or the file cannot be read, which is told).
    static std::optional<QStringList> run(Ui& ui, QWidget* owner, int existing);

private:
    void fillColumns();
    void showFileRows();
    void refresh();

    RosterImport::Table table;
    int existing;
    RosterImport::Result taken;
    QTableWidget* fileRows;
    QCheckBox* headingCheck;
    QComboBox* numberColumn;
    QComboBox* nameColumn;
    QListWidget* previewList;
    QListWidget* refusedList;
    QLabel* summary;
    QPushButton* importButton;
};
