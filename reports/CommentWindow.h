#pragma once
// 所見の入力: the written comment (所見) of each pupil for a term. The pupils are
// listed on the left with the length of their comment; the comment box shows the
// chosen pupil's comment with a live count of 全角 characters against the school's
// limit (a setting, 200 at first), and below it the pupil's figures of the term
// (the current subject's viewpoints and 評定 over the term's tests, and the term's
// attendance) so the teacher writes with them in view. On the right, the bank of
// phrases (文例): a phrase goes in at the cursor with {名前} made the pupil's given
// name, and a selection of the comment can be added to the bank.
//
// Each pupil's comment has its own undo (Ctrl+Z), kept while the window is open.
// 保存 writes every comment into the class file; closing with comments not saved
// asks first. チェック lists the comments still empty, over the limit, or holding
// another pupil's name.

#include "frame/ChildWindow.h"
#include "model/Comments.h"

#include <map>

class PhrasePanel;
class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTextDocument;

class CommentWindow : public ChildWindow {
    Q_OBJECT
public:
    explicit CommentWindow(AppContext& ctx, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    bool prepare() override;
    void activated() override;
    bool mayClose() override;
    bool mayEndProgram() override;
    void closed() override;
    QString helpPage() const override { return QStringLiteral("comments.html"); }

    // Where the teacher's bank of phrases and the starter bank are read; empty
    // texts put back the program's own places (tests use their own).
    static void setBankPaths(const QString& own, const QString& starter);
    // The settings key of the limit ("UseMode/CommentLimit").
    static QString limitKey();

    // What the window holds, for its tests: whether any comment differs from the file.
    bool unsaved() const;

private:
    void buildControls();
    QWidget* buildPupilColumn();
    QWidget* buildCommentColumn();
    void showPupils();
    void showPupil(int pupil);
    void showCount();
    void showFigures();
    void termChosen();
    void limitChosen(int limit);
    void insertPhrase(const QString& phrase);
    void addSelectionToBank();
    void runChecks();
    bool save();
    // Whether the teacher lets the window go: saved, or not saved by choice.
    bool mayLeave();
    QTextDocument* documentOf(int term, int pupil);
    QString listLine(int pupil) const;

    Comments::Table edits;  // the comments as typed; data.comments holds the saved ones
    std::map<int, QTextDocument*> documents;  // term * 100 + pupil
    int term = 1;
    int pupil = 1;
    int limit = Comments::DefaultLimit;
    bool answered = false;  // the teacher answered the question on ending the program

    QComboBox* termBox = nullptr;
    QSpinBox* limitBox = nullptr;
    QListWidget* pupilList = nullptr;
    QLabel* pupilHeading = nullptr;
    QPlainTextEdit* commentEdit = nullptr;
    QLabel* countLabel = nullptr;
    QLabel* figuresView = nullptr;
    QPushButton* addToBankButton = nullptr;
    QPushButton* checkButton = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* closeButton = nullptr;
    PhrasePanel* phrases = nullptr;
};
