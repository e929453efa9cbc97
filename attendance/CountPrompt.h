#pragma once
// "数値の入力": the small prompt for a count that single-digit typing cannot give
// (required days of 18, say). It opens without blocking the attendance window, on
// the cell that was current when it opened, and writes the value there on OK.
// Only a whole number from 0 to 999 is taken; an empty box empties the cell.

#include "frame/AppContext.h"

#include <QDialog>

class AttendanceWindow;
class QLabel;
class QLineEdit;
class QPushButton;

class CountPrompt : public QDialog {
    Q_OBJECT
public:
    // The prompt for the cell at grid row `row` (1 = first pupil), column `column`.
    CountPrompt(AppContext& ctx, AttendanceWindow& owner, int row, int column);

    void BtEnd_Click(int Index);  // 0 OK, 1 Cancel

    int row() const { return targetRow; }
    int column() const { return targetColumn; }

    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* BtEnd[2] = {};

protected:
    void changeEvent(QEvent* event) override;

private:
    AppContext& ctx;
    AttendanceWindow& owner;
    int targetRow;
    int targetColumn;
};
