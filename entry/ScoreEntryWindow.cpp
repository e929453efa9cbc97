#include "entry/ScoreEntryWindow.h"

#include "entry/EditCommands.h"
#include "entry/FixedValuesDialog.h"
#include "entry/InputModeControls.h"
#include "entry/OtherClassTestPicker.h"
#include "entry/ScoreGridController.h"
#include "entry/TestDefinitionPanel.h"
#include "frame/MainFrame.h"
#include "model/Format.h"
#include "model/NewClass.h"
#include "model/RosterFile.h"
#include "model/ScoreFile.h"
#include "model/ViewpointNames.h"

#include <QTableView>

using namespace ScoreKeys;

ScoreEntryWindow::ScoreEntryWindow(AppContext& ctx, QWidget* parent) : ChildWindow(ctx, parent), edited(ctx.data, this)
{
    setObjectName(QStringLiteral("ScoreEntryWindow"));
    setWindowTitle(QStringLiteral("点数入力"));
    panel = new TestDefinitionPanel(ctx.ui, this);
    grid = new ScoreGridController(ctx, *this, edited);
    modes = new InputModeControls(ctx, this);
    edits = new EditCommands(ctx, *this, *this, edited, *grid);
    Commands commands;
    QMenuBar* menuBar = buildMenus(commands);
    buildBody(menuBar, commands);
}

ScoreEntryWindow::~ScoreEntryWindow()
{
    // The parts that act on the edited test go before it does: a focus change while
    // the window's controls are taken down must not reach them.
    delete edits;
    delete grid;
    panel->disconnect(this);
    modes->disconnect(this);
}

// ---- opening and closing ---------------------------------------------------------

bool ScoreEntryWindow::prepare()
{
    ClassData& data = ctx.data;
    panel->setOtherClassAllowed(data.specialistMode);
    // The screen starts from the files. A roster or score file that cannot be read
    // keeps the screen closed: saving would otherwise write another unit's tests.
    if (!ctx.check(RosterFile::load(data), this) || !ctx.check(ScoreFile::load(data), this))
        return false;
    if (data.pupilCount <= 0) {
        ctx.ui.message(this, NewClass::noPupilsMessage());
        return false;
    }
    QStringList names;
    for (int p = 1; p <= data.pupilCount; ++p)
        names << data.pupilName[p];
    edited.scores().setPupils(names);
    edited.scores().setNumberColumnColours(palette().color(QPalette::Button), palette().color(QPalette::ButtonText));
    QStringList viewpoints;
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        viewpoints << ViewpointNames::listName(data.viewpointName, data.subject, v);
    panel->setViewpointNames(viewpoints);
    panel->setTermChoices(Terms::choices(ctx.data.termPlan));
    if (data.tests.count != 0) {
        showTest(data.tests.count);
    } else {
        // An empty score file: the screen starts on a new first test, nothing typed.
        edited.startFirst();
        panel->showDefinition(Format::hashes(1), edited.definition());
        grid->setCursor(1, NameColumn);
    }
    // What the screen holds now is what the files hold, and where undoing stops.
    edited.markSaved();
    edits->clearSteps();
    modes->writeKeyHint();
    return true;
}

void ScoreEntryWindow::activated()
{
    if (ctx.frame) {
        ctx.frame->disableAllCommands();
        ctx.frame->disablePrint();
    }
}

// Closing by the frame (close box, Ctrl+F4) would drop what was typed: ask first.
bool ScoreEntryWindow::mayClose()
{
    if (closingByCommand)
        return true;
    return mayLeave(Leaving::Close);
}

// Ending the program while scores are typed but not saved asks the same question.
bool ScoreEntryWindow::mayEndProgram()
{
    if (closingByCommand || isUnloaded())
        return true;
    if (!mayLeave(Leaving::ProgramEnd))
        return false;
    closingByCommand = true;  // answered: the window goes without asking again
    return true;
}

void ScoreEntryWindow::closed()
{
    modes->closeFixedValues();
    if (ctx.frame) {
        ctx.frame->enableAllCommands();
        ctx.frame->disablePrint();
    }
}

FixedValuesDialog* ScoreEntryWindow::fixedValuesDialog() const
{
    return modes->fixedValuesDialog();
}

// ---- the test shown --------------------------------------------------------------

void ScoreEntryWindow::showKind()
{
    modes->setObservation(edited.definition().kind == TestKind::Observation);
}

void ScoreEntryWindow::showTest(int t)
{
    // A digit waiting in the grid does not carry over: its cell shows the other test.
    grid->forgetEntry();
    edited.show(t);
    showKind();
    panel->showDefinition(Format::hashes(t), edited.definition());
    panel->selectName();
    grid->setCursor(1, FirstScoreColumn);
}

void ScoreEntryWindow::goToTest(int t)
{
    edited.store();
    showTest(t);
    panel->focusName();
}

void ScoreEntryWindow::stepTest(int step)
{
    const int t = edited.number() + step;
    if (t < 1 || t > edited.count()) {
        ctx.ui.beep();
        return;
    }
    goToTest(t);
}

void ScoreEntryWindow::addTest()
{
    if (edited.count() >= Limits::Tests) {
        ctx.ui.message(this,
                       QStringLiteral("テストは%1件までです。これ以上は追加できません。\n"
                                      "使わなくなったテストは、「編集」の「テストのメンテナンス」で削除できます。")
                           .arg(Limits::Tests),
                       Ui::Buttons::Ok, Ui::Icon::Information);
        return;
    }
    edits->appendTest();
}

void ScoreEntryWindow::copyOtherClassTest()
{
    if (edited.definition().name != QStringLiteral("新規テスト")) {
        ctx.ui.beep();
        return;
    }
    OtherClassTestPicker picker(ctx, this);
    picker.prepare();
    if (ctx.ui.runModal(picker) == QDialog::Accepted)
        panel->adopt(picker.chosenTest());
    grid->view()->setFocus(Qt::OtherFocusReason);
    grid->setCursor(1, FirstScoreColumn);
    grid->scrollToTop();
}

void ScoreEntryWindow::definitionEdited(const TestDefinition& definition, int field, int visit)
{
    edits->recordDefinition(edited.definition(), definition, field, visit);
    edited.setDefinition(definition);
    showKind();
}

void ScoreEntryWindow::setInputMode(InputMode mode)
{
    modes->showMode(mode);
    grid->setInputMode(mode);
    setWindowTitle(QStringLiteral("成績入力-") + ctx.data.unitName()
                   + (mode == InputMode::Fixed ? QStringLiteral("-固定入力") : QStringLiteral("-通常入力")));
    grid->view()->setFocus(Qt::OtherFocusReason);
    grid->scrollToTop();
}

// ---- what the steps ask of the window ----------------------------------------------

void ScoreEntryWindow::showTestToEdit(int t)
{
    if (t == edited.number() || t < 1 || t > edited.count())
        return;
    edited.store();
    showTest(t);
}

void ScoreEntryWindow::putScores(int test, const QList<ScoreChange>& changes, bool undo)
{
    if (changes.isEmpty())
        return;
    showTestToEdit(test);
    grid->forgetEntry();
    putChanges(edited.scores(), changes, undo);
    const ScoreChange& first = changes.first();
    grid->setCursor(first.pupil, first.column + FirstScoreColumn - 1);
    QTableView* view = grid->view();
    view->scrollTo(view->currentIndex());
    view->setFocus(Qt::OtherFocusReason);
}

void ScoreEntryWindow::putDefinition(int test, const TestDefinition& definition, int field)
{
    showTestToEdit(test);
    edited.setDefinition(definition);
    showKind();
    panel->showDefinition(Format::hashes(edited.number()), definition);
    panel->focusField(field);
}

void ScoreEntryWindow::appendTest()
{
    grid->forgetEntry();
    edited.append();
    showKind();
    panel->showDefinition(Format::hashes(edited.number()), edited.definition());
    grid->setCursor(1, FirstScoreColumn);
    panel->focusName();
    grid->scrollToTop();
}

void ScoreEntryWindow::removeLastTest(int shown)
{
    if (edited.count() <= 1)
        return;
    edited.removeLast();
    showTest(qBound(1, shown, edited.count()));
    panel->focusName();
    grid->scrollToTop();
}
