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
    int kept = count;
    int failing = 0;
    {
        BusyCursor busy(ctx.ui);
        edited.store();
        // Tests appended by mistake at the end (still 新規テスト, nothing chosen or
        // typed) are left out rather than refused; any other unfinished test is refused.
        while (kept >= 1 && TestChecks::isUnusedNewTest(data.tests, kept, data.pupilCount))
            --kept;
        for (int t = 1; t <= kept && failing == 0; ++t)
            if (!TestChecks::refusalMessage(data.tests, t, data.pupilCount).isEmpty())
                failing = t;
    }
    if (failing != 0) {
        showTest(failing);
        reportRefusal(failing);
        return false;
    }
    if (!settleNotEntered(kept))
        return false;
    Status saved;
    {
        BusyCursor busy(ctx.ui);
        data.tests.count = kept;
        saved = ScoreFile::save(data);
        if (!saved.ok)
            data.tests.count = count;  // the screen stays as the teacher left it
    }
    if (!ctx.check(saved, this, Ui::Icon::Critical))
        return false;
    data.currentTest = data.tests.count;
    return true;
}

bool ScoreEntryWindow::settleNotEntered(int tests)
{
    // Without its class file a cell never typed cannot be kept apart from a 0: the
    // teacher was told so when the screen opened.
    if (!ctx.data.classFileProblem.isEmpty())
        return true;
    const QList<int> counts = edited.notEnteredPupils(tests);
    QStringList lines;
    for (int t = 1; t <= int(counts.size()); ++t)
        if (counts[t - 1] > 0)
            lines << QStringLiteral("　No.%1「%2」：%3人").arg(t).arg(ctx.data.tests.name[size_t(t)]).arg(counts[t - 1]);
    if (lines.isEmpty())
        return true;
    if (lines.size() > 10)
        lines = lines.mid(0, 9) << QStringLiteral("　ほか%1件のテスト").arg(lines.size() - 9);
    enum { Keep, Zero, Cancel };
    const int chosen = ctx.ui.ask(
        this,
        QStringLiteral("点数をまだ入力していない児童がいます。\n\n%1\n\n"
                       "「未入力のまま保存」：入力していない点数は、集計では欠席と同じように除かれます。あとで入力できます。\n"
                       "「0点にする」：入力していない点数を、すべて0点として保存します。")
            .arg(lines.join(QLatin1Char('\n'))),
        {QStringLiteral("未入力のまま保存"), QStringLiteral("0点にする"), QStringLiteral("キャンセル")}, Keep, Cancel,
        Ui::Icon::Question);
    if (chosen == Cancel)
        return false;
    if (chosen == Zero)
        edited.zeroNotEntered(tests);
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
