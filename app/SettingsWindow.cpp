#include "app/SettingsWindow.h"

#include "model/AppSettings.h"
#include "model/DataFolder.h"
#include "model/NewClass.h"
#include "model/ViewpointNames.h"
#include "app/BrowseFolder.h"
#include "app/PathBox.h"
#include "frame/MainFrame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>
#include <memory>

namespace {


QString cleanFolder(const QString& folder)
{
    const QString clean = QDir::cleanPath(folder.trimmed());
    const QString canonical = QFileInfo(clean).canonicalFilePath();
    return canonical.isEmpty() ? clean : canonical;
}

}  // namespace

// ---- opening and closing ---------------------------------------------------------

bool SettingsWindow::prepare()
{
    const ClassData& data = ctx.data;
    subjectInCharge = data.subject;
    dataFolderInput->setText(!data.dataFolder.isEmpty() && QFileInfo(data.dataFolder).isDir() ? data.dataFolder : QDir::currentPath());
    (data.specialistMode ? specialistModeOption : homeroomModeOption)->setChecked(true);
    setModeFrames(data.specialistMode);
    for (int subject = 1; subject <= Limits::Units; ++subject)
        subjectInUseBoxes[subject - 1]->setChecked(data.subjectInUse[subject] == 1);
    subjectInChargeOptions[data.subject - 1]->setChecked(true);
    enteredNames.clear();
    for (int p = 1; p <= data.pupilCount; ++p)
        enteredNames.append(data.pupilName[p]);
    showNames();
    firstStartGuide->setVisible(data.pupilCount == 0);
    criteria.copyFrom(data);
    viewpointNames = data.viewpointName;
    {
        const QSignalBlocker blocker(CbKyoka);
        CbKyoka->setCurrentIndex(data.subject - 1);
    }
    showSubject(data.subject);
    nameInputCaption->hide();
    nameInput->hide();
    setNameEntry(false);
    return true;
}

void SettingsWindow::activated()
{
    if (ctx.frame)
        ctx.frame->disableAllCommands();
}

bool SettingsWindow::mayClose()
{
    if (!nameEntry)
        return true;
    ctx.ui.message(this, QStringLiteral("氏名の入力中です。「入力終了」を押して氏名の入力を終えてから閉じてください。"),
                   Ui::Buttons::Ok, Ui::Icon::Information);
    return false;
}

void SettingsWindow::closed()
{
    if (!ctx.frame)
        return;
    ctx.frame->enableAllCommands();
    ctx.frame->disablePrint();
}

// When the program ends in the middle of a new class, the names typed so far are
// kept as 入力終了 would keep them, and the window no longer holds the program back.
// When they cannot be written, the teacher may stay with the names in the list.
bool SettingsWindow::programEnding()
{
    if (!nameEntry)
        return true;
    if (!enteredNames.isEmpty())
        if (const Status saved = saveNames(); !saved) {
            const QString question = QStringLiteral("入力した氏名を保存できませんでした。\n") + saved.message
                + QStringLiteral("\n\n環境設定の画面に戻りますか？\n「はい」で画面に戻ります（入力した氏名はそのまま残っています）。"
                                 "「いいえ」を選ぶと、氏名を保存しないで、かざねを終了します。");
            if (ctx.ui.message(this, question, Ui::Buttons::YesNo, Ui::Icon::Warning) != Ui::Answer::No)
                return false;
        }
    nameEntry = false;
    return true;
}

// ---- mode, subject in charge, folder -------------------------------------------

void SettingsWindow::setModeFrames(bool specialist)
{
    subjectsInUseGroup->setEnabled(!specialist);
    subjectInChargeGroup->setEnabled(specialist);
}

void SettingsWindow::browseDataFolder()
{
    const QString folder = browseFolder(ctx.ui, this, dataFolderInput->text());
    if (!folder.isEmpty())
        dataFolderInput->setText(folder);
}

bool SettingsWindow::folderChangedSinceOpening() const
{
    return cleanFolder(dataFolderInput->text()) != cleanFolder(ctx.data.dataFolder);
}

// ---- criteria --------------------------------------------------------------------

QLineEdit* SettingsWindow::thresholdBox(int group, int k) const
{
    return group == 0 ? Text1[k - 1] : Text2[6 * (group - 1) + k - 1];
}

QRadioButton* SettingsWindow::modeOption(int group, int mode) const
{
    return OpSouMode[group == 0 ? mode : 3 + 3 * (group - 1) + mode];
}

void SettingsWindow::enableModeBoxes(int group, int mode)
{
    for (int k = 1; k <= GroupCriteria::Thresholds; ++k)
        thresholdBox(group, k)->setEnabled(k == 2 * mode + 1 || k == 2 * mode + 2);
}

void SettingsWindow::OpSouMode_Click(int index)
{
    if (index < 3) {
        groupMode[0] = index;
        enableModeBoxes(0, index);
        return;
    }
    groupMode[(index - 3) / 3 + 1] = (index - 3) % 3;
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        enableModeBoxes(v, groupMode[v]);
}

void SettingsWindow::showSubject(int subject)
{
    showViewpointNames(subject);
    const SubjectCriteria& shown = criteria.subject(subject);
    for (int group = 0; group <= Limits::Viewpoints; ++group) {
        groupMode[group] = int(shown.groups[group].basis);
        modeOption(group, groupMode[group])->setChecked(true);
        enableModeBoxes(group, groupMode[group]);
        for (int k = 1; k <= GroupCriteria::Thresholds; ++k)
            thresholdBox(group, k)->setText(QString::number(shown.groups[group].threshold(k)));
    }
    shownSubject = subject;
}

bool SettingsWindow::storeShownSubject()
{
    SubjectCriteria read;
    for (int group = 0; group <= Limits::Viewpoints; ++group) {
        read.groups[group].basis = GradeBasis(groupMode[group]);
        for (int k = 1; k <= GroupCriteria::Thresholds; ++k) {
            int value = 0;
            const QString problem = CriteriaText::read(shownSubject, group, k, thresholdBox(group, k)->text(), value);
            if (!problem.isEmpty()) {
                ctx.ui.message(this, problem, Ui::Buttons::Ok, Ui::Icon::Warning);
                focusThreshold(shownSubject, group, k);
                return false;
            }
            read.groups[group].setThreshold(k, value);
        }
    }
    QString names[Limits::Viewpoints + 1];
    for (int v = 1; v <= Limits::Viewpoints; ++v) {
        names[v] = viewpointNameInputs[v - 1]->text().trimmed();
        if (const QString problem = ViewpointNames::problem(shownSubject, v, names[v]); !problem.isEmpty()) {
            ctx.ui.message(this, problem, Ui::Buttons::Ok, Ui::Icon::Warning);
            focusViewpointName(shownSubject, v);
            return false;
        }
    }
    criteria.subject(shownSubject) = read;
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        viewpointNames[shownSubject][v] = names[v];
    return true;
}

void SettingsWindow::switchToSubject(int subject)
{
    if (subject == shownSubject)
        return;
    const QSignalBlocker blocker(CbKyoka);
    CbKyoka->setCurrentIndex(subject - 1);
    showSubject(subject);
}

void SettingsWindow::focusThreshold(int subject, int group, int k)
{
    switchToSubject(subject);
    QLineEdit* box = thresholdBox(group, k);
    if (box->isEnabled()) {
        box->setFocus();
        box->selectAll();
    }
}

void SettingsWindow::CbKyoka_Click()
{
    const int subject = CbKyoka->currentIndex() + 1;
    if (subject == shownSubject)
        return;
    if (!storeShownSubject()) {
        // The edited subject stays until its boxes hold sensible numbers.
        const QSignalBlocker blocker(CbKyoka);
        CbKyoka->setCurrentIndex(shownSubject - 1);
        return;
    }
    showSubject(subject);
}

// ---- viewpoint names --------------------------------------------------------------

void SettingsWindow::showViewpointNames(int subject)
{
    viewpointNamesGroup->setTitle(QStringLiteral("%1の観点名").arg(Names::subjects()[subject]));
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        viewpointNameInputs[v - 1]->setText(viewpointNames[subject][v]);
    showViewpointCaptions();
}

void SettingsWindow::showViewpointCaptions()
{
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        Fr_Kanten[v - 1]->setTitle(Names::viewpointHeading(v) + viewpointNameInputs[v - 1]->text().trimmed());
}

void SettingsWindow::focusViewpointName(int subject, int v)
{
    switchToSubject(subject);
    QLineEdit* box = viewpointNameInputs[v - 1];
    box->setFocus();
    box->selectAll();
}

// The names take effect with 終了, like every other setting of the window.
void SettingsWindow::fillViewpointNames(const ViewpointNameTable& names, const QString& question)
{
    if (ctx.ui.message(this, question, Ui::Buttons::OkCancel, Ui::Icon::Question) != Ui::Answer::Ok)
        return;
    viewpointNames = names;
    showViewpointNames(shownSubject);
}

// ---- close and help --------------------------------------------------------------

void SettingsWindow::saveAndClose()
{
    ClassData& data = ctx.data;
    // A folder typed without its full path is taken from the current folder once,
    // so that the stored data folder does not depend on where the program starts.
    const QString typed = dataFolderInput->text().trimmed();
    const QString folder = QDir::cleanPath(QFileInfo(typed).absoluteFilePath());
    if (typed.isEmpty()) {
        ctx.ui.message(this, QStringLiteral("データ保存フォルダを指定してください。"), Ui::Buttons::Ok, Ui::Icon::Information);
        dataFolderInput->setFocus();
        return;
    }
    // Every threshold is checked before anything changes.
    if (!storeShownSubject())
        return;
    if (const auto problem = criteria.firstProblem()) {
        ctx.ui.message(this, problem->message, Ui::Buttons::Ok, Ui::Icon::Warning);
        focusThreshold(problem->subject, problem->group, problem->threshold);
        return;
    }
    if (const auto problem = ViewpointNames::firstProblem(viewpointNames)) {
        ctx.ui.message(this, problem->message, Ui::Buttons::Ok, Ui::Icon::Warning);
        focusViewpointName(problem->subject, problem->viewpoint);
        return;
    }
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir()) {
        ctx.ui.message(this, QStringLiteral("「%1」はフォルダではありません。データ保存フォルダを指定し直してください。").arg(folder),
                       Ui::Buttons::Ok, Ui::Icon::Warning);
        return;
    }
    if (!info.exists()) {
        if (ctx.ui.message(this, QStringLiteral("指定されたホルダ－は存在しません。作成しますか？"), Ui::Buttons::YesNo,
                           Ui::Icon::Question)
            != Ui::Answer::Yes)
            return;
        if (!QDir().mkpath(folder)) {
            ctx.ui.message(this, QStringLiteral("フォルダ「%1」を作成できませんでした。").arg(folder), Ui::Buttons::Ok,
                           Ui::Icon::Warning);
            return;
        }
    }
    const auto chosen = [&](ClassData& into) {
        into.dataFolder = DataFolder::withSlash(folder);
        into.specialistMode = specialistModeOption->isChecked();
        for (int subject = 1; subject <= Limits::Units; ++subject)
            into.subjectInUse[subject] = subjectInUseBoxes[subject - 1]->isChecked() ? 1 : 0;
        criteria.copyTo(into);
        into.viewpointName = viewpointNames;
        into.subject = subjectInCharge;
    };
    // The choices take effect only once they are stored: when the settings cannot
    // be written, the window stays open with everything as typed.
    {
        auto next = std::make_unique<ClassData>(data);
        chosen(*next);
        if (!ctx.check(AppSettings::save(*next, ctx.settings), this, Ui::Icon::Warning))
            return;
    }
    chosen(data);

    // The empty files of the chosen mode are made first, so that the first class of
    // a newly chosen specialist mode opens as an empty roster instead of being
    // reported missing.
    data.setFileStems();
    if (ctx.frame)
        ctx.frame->ensureDataFiles(data.dataFolder);

    if (ctx.frame) {
        ctx.frame->loadSettings();
        // False: another copy holds the folder and the teacher chose to end the program.
        if (!ctx.frame->openDataFolder(data.dataFolder))
            return;
    }
    // Loading the settings makes the first unit current, which the main window
    // shows as selected; in specialist mode the stored subject is the one taught.
    if (data.specialistMode)
        data.subject = subjectInCharge;
    const bool readOnly = ctx.frame && ctx.frame->dataFolderReadOnly();
    if (data.specialistMode || data.pupilCount != 0 || readOnly) {
        closeWindow();
        return;
    }
    // A homeroom class without names: the window stays for the names.
    enteredNames.clear();
    showNames();
    firstStartGuide->show();
    dataFolderInput->setText(data.dataFolder);
    if (ctx.frame)
        ctx.frame->disableAllCommands();
    ctx.ui.message(this, NewClass::namesMissingMessage());
}

void SettingsWindow::showHelp()
{
    ctx.ui.showHelp(this, 4);
}

bool SettingsWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn)
        if (auto* edit = qobject_cast<QLineEdit*>(watched))
            QTimer::singleShot(0, edit, &QLineEdit::selectAll);
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // Esc gives up the correction of a name; Delete in the list removes the
        // selected name.
        if (watched == nameInput && key == Qt::Key_Escape && correctedRow >= 0) {
            endCorrection();
            nameInput->clear();
            return true;
        }
        if (watched == nameList && key == Qt::Key_Delete && nameEntry) {
            removeSelectedName();
            return true;
        }
    }
    return ChildWindow::eventFilter(watched, event);
}
