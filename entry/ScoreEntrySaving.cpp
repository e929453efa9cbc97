// Leaving score entry, with or without saving: the checks of every test and the
// score file written.

#include "entry/ScoreEntryWindow.h"

#include "entry/ScoreGridController.h"
#include "model/ScoreFile.h"
#include "model/TestChecks.h"

#include <QTableView>

bool ScoreEntryWindow::mayLeave(Leaving how)
{
    if (!holdsUnsavedChanges())
        return true;
    const QString text = how == Leaving::ProgramEnd
        ? QStringLiteral("入力した点数はまだ保存されていません。\n保存してから、かざねを終了しますか？")
        : QStringLiteral("入力した点数はまだ保存されていません。\n保存してから、点数入力を終了しますか？");
    enum { Save, DontSave, Cancel };
    // Every way out, 中止 and 破棄終了 included, defaults to saving: a slip of Enter
    // never throws away scores typed; leaving without them takes a deliberate choice.
    const int chosen = ctx.ui.ask(this, text,
                                  {QStringLiteral("保存して終了"), QStringLiteral("保存しないで終了"), QStringLiteral("キャンセル")},
                                  Save, Cancel, Ui::Icon::Question);
    if (chosen == Save)
        return saveTests();
    return chosen == DontSave;
}

void ScoreEntryWindow::saveAndClose()
{
    if (!saveTests())
        return;  // the screen stays as it is: nothing typed is lost
    closingByCommand = true;
    closeWindow();
}

void ScoreEntryWindow::closeWithoutSaving()
{
    if (!mayLeave(Leaving::Discard))
        return;
    closingByCommand = true;
    closeWindow();
}

bool ScoreEntryWindow::saveTests()
{
    ClassData& data = ctx.data;
    // A digit waiting for its second one is that pupil's score.
    grid->finishEntry();
    const int count = data.tests.count;
    int failing = 0;
    Status saved;
    {
        BusyCursor busy(ctx.ui);
        edited.store();
        // Tests appended by mistake at the end (still 新規テスト, nothing chosen or
        // typed) are left out rather than refused; any other unfinished test is refused.
        int kept = count;
        while (kept >= 1 && TestChecks::isUnusedNewTest(data.tests, kept, data.pupilCount))
            --kept;
        for (int t = 1; t <= kept && failing == 0; ++t)
            if (!TestChecks::refusalMessage(data.tests, t, data.pupilCount).isEmpty())
                failing = t;
        if (failing == 0) {
            data.tests.count = kept;
            saved = ScoreFile::save(data);
            if (!saved.ok)
                data.tests.count = count;  // the screen stays as the teacher left it
        }
    }
    if (failing != 0) {
        showTest(failing);
        reportRefusal(failing);
        return false;
    }
    if (!ctx.check(saved, this, Ui::Icon::Critical))
        return false;
    data.currentTest = data.tests.count;
    return true;
}

void ScoreEntryWindow::reportRefusal(int t)
{
    const ClassData& data = ctx.data;
    const TestChecks::Refusal refusal = TestChecks::checkTest(data.tests, t, data.pupilCount);
    QString text = refusal.message;
    if (refusal.pupil > 0) {
        // Which pupil and column: the teacher finds the cell at once.
        const int p = refusal.pupil;
        const int c = refusal.column;
        const int kind = data.tests.viewpoint[t][c];
        const QString viewpoint = kind >= 1 && kind <= Limits::Viewpoints
            ? QStringLiteral("（%1）").arg(data.viewpointName[data.subject][kind])
            : QString();
        text += QStringLiteral("\n\n%1番 %2、%3%4：%5点（満点 %6点）")
                    .arg(QString::number(p), data.pupilName[size_t(p)], Names::viewpointHeading(c), viewpoint,
                         QString::number(data.tests.score[t][c][p]), QString::number(data.tests.fullMarks[t][c]));
        grid->setCursor(p, c + ScoreKeys::FirstScoreColumn - 1);
        QTableView* view = grid->view();
        view->scrollTo(view->currentIndex());
        view->setFocus(Qt::OtherFocusReason);
    }
    ctx.ui.message(this, text);
}
