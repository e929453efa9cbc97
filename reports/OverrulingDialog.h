#pragma once
// "評定を変える": the teacher gives a pupil's grade of one group in place of the
// computed one, with the reason (required), or clears a grade given before so that
// the computed one shows again. The dialog only asks; OverrulingEdit keeps what it
// answers.

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Ui;

class OverrulingDialog : public QDialog {
    Q_OBJECT
public:
    enum class Choice { Cancelled, Given, Cleared };

    // What the dialog shows: who, which group over which tests, what was computed
    // and, when the teacher gave a grade before, that grade and its reason.
    struct Shown {
        QString pupil;       // "12番 佐藤　蓮"
        QString group;       // "評定", "観点Ⅰ 知識・技能"
        QString tests;       // "すべてのテスト" or the tests chosen
        QString computed;    // "3", "A", or "-" without one
        QStringList grades;  // the grades that may be given
        QString given;       // the grade given before; empty when none
        QString reason;
    };

    OverrulingDialog(Ui& ui, const Shown& shown, QWidget* parent);

    Choice choice() const { return chosen; }
    QString grade() const;
    QString reason() const;

private:
    // 変更する: a reason is required, and a grade other than the computed one.
    void giveGrade();

    Ui& ui;
    QString computed;
    QComboBox* gradeChooser = nullptr;
    QLineEdit* reasonInput = nullptr;
    QPushButton* clearButton = nullptr;
    Choice chosen = Choice::Cancelled;
};
