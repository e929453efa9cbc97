#pragma once
// "数値の入力": the small prompt for a count that single-digit typing cannot give
// (required days of 18, say). It opens without blocking the attendance window, on
// the cell that was current when it opened, and hands the value for that cell on
// with countEntered on OK. Only a whole number from 0 to 999 is taken; an empty
// box empties the cell.

#include "frame/AppContext.h"

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

class CountPrompt : public QDialog {
    Q_OBJECT
public:
    // The prompt for the cell at grid row `row` (1 = first pupil), column `column`.
    CountPrompt(AppContext& ctx, QWidget* owner, int row, int column);

    int row() const { return targetRow; }
    int column() const { return targetColumn; }

signals:
    // OK with a count that can be stored: its number, or nothing for an empty box.
    void countEntered(int row, int column, std::optional<int> count);

protected:
    void changeEvent(QEvent* event) override;

private:
    void confirm();

    AppContext& ctx;
    int targetRow;
    int targetColumn;
    QLabel* question = nullptr;
    QLineEdit* countInput = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
};
