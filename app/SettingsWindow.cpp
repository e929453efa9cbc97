#include "app/SettingsWindow.h"

#include "model/AppSettings.h"
#include "model/DataFolder.h"
#include "model/NewClass.h"
#include "model/SafeFile.h"
#include "app/BrowseFolder.h"
#include "app/CriteriaEditor.h"
#include "app/PathBox.h"
#include "frame/MainFrame.h"

#include <QCheckBox>
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
    criteriaEditor->load(data);
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
    if (!enteredNames.isEmpty() && !mayReplaceStoredNames())
        return false;
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

// Whether the window's choices differ from the settings the program runs on.
bool SettingsWindow::choicesChanged(const ClassData& chosen) const
{
    const ClassData& running = ctx.data;
    return folderChangedSinceOpening() || chosen.specialistMode != running.specialistMode
        || chosen.subjectInUse != running.subjectInUse || !(chosen.criteria == running.criteria)
        || chosen.viewpointName != running.viewpointName || (chosen.specialistMode && chosen.subject != running.subject);
}

int SettingsWindow::editedSubject() const
{
    return criteriaEditor->shownSubject();
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
    // Every threshold and viewpoint name is checked before anything changes.
    if (!criteriaEditor->checkAll())
        return;
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
        if (!SafeFile::makeFolders(folder)) {
            ctx.ui.message(this, QStringLiteral("フォルダ「%1」を作成できませんでした。").arg(folder), Ui::Buttons::Ok,
                           Ui::Icon::Warning);
            return;
        }
    }
    // The class with the choices made becomes the program's only once it is stored:
    // when the settings cannot be written, the window stays open with everything as
    // typed and the program keeps the settings it had.
    auto chosen = std::make_unique<ClassData>(data);
    chosen->dataFolder = DataFolder::withSlash(folder);
    chosen->specialistMode = specialistModeOption->isChecked();
    for (int subject = 1; subject <= Limits::Units; ++subject)
        chosen->subjectInUse[subject] = subjectInUseBoxes[subject - 1]->isChecked() ? 1 : 0;
    chosen->criteria = criteriaEditor->criteria();
    chosen->viewpointName = criteriaEditor->viewpointNames();
    chosen->subject = subjectInCharge;
    // A copy that opened the folder read-only writes nothing, the settings included:
    // they belong to the copy that holds the folder. A change holds until this copy ends.
    if (ctx.frame && ctx.frame->dataFolderReadOnly()) {
        if (choicesChanged(*chosen))
            ctx.ui.message(this,
                           QStringLiteral("データフォルダを読み取り専用で開いているため、設定の変更は保存しません。"
                                          "変更は、このかざねを終了するまで有効です。"),
                           Ui::Buttons::Ok, Ui::Icon::Information);
    } else if (!ctx.check(AppSettings::save(*chosen, ctx.settings), this, Ui::Icon::Warning)) {
        return;
    }
    data = std::move(*chosen);

    // The empty files of the chosen mode are made first, so that the first class of
    // a newly chosen specialist mode opens as an empty roster instead of being
    // reported missing. Then the main window follows the mode (in homeroom mode the
    // first subject in use becomes current) and opens the folder.
    data.setFileStems();
    if (ctx.frame) {
        ctx.frame->ensureDataFiles(data.dataFolder);
        ctx.frame->applySettings();
        // False: another copy holds the folder and the teacher chose to end the program.
        if (!ctx.frame->openDataFolder(data.dataFolder))
            return;
    }
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
