#include "app/SettingsWindow.h"

#include "model/AppSettings.h"
#include "model/AttendanceFile.h"
#include "model/Cp932.h"
#include "model/DataFolder.h"
#include "model/NewClass.h"
#include "model/NewClassCopy.h"
#include "model/RosterFile.h"
#include "app/BrowseFolder.h"
#include "frame/MainFrame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
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

const QString EnterNames = QStringLiteral("氏名データを入力してください.");

QString cleanFolder(const QString& folder)
{
    const QString clean = QDir::cleanPath(folder.trimmed());
    const QString canonical = QFileInfo(clean).canonicalFilePath();
    return canonical.isEmpty() ? clean : canonical;
}

// The confirmation of 新規ｸﾗｽ: what will be emptied and where the copy goes.
QString newClassQuestion(const ClassData& data, const QString& copyFolder, bool copied)
{
    QString text = QStringLiteral("新たなクラスを作ります.\n\n");
    if (data.specialistMode) {
        text += QStringLiteral("クラス「%1」の氏名（%2人）と点数をすべて空にします。")
                    .arg(data.unitName())
                    .arg(data.pupilCount);
    } else {
        text += QStringLiteral("今のクラスの氏名（%1人）、全教科の点数、出欠の記録をすべて空にします。").arg(data.pupilCount);
    }
    if (copied)
        text += QStringLiteral("\n\n空にする前に、今のファイルをすべて次のフォルダにコピーして残します。\n「%1」")
                    .arg(QDir::toNativeSeparators(QDir::cleanPath(copyFolder)));
    return text;
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
    nameList->clear();
    for (int p = 1; p <= data.pupilCount; ++p)
        nameList->addItem(data.pupilName[p]);
    pupilCountLabel->setText(QString::number(data.pupilCount));
    criteria.copyFrom(data);
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
    if (nameList->count() > 0)
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
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        Fr_Kanten[v - 1]->setTitle(Names::viewpointHeading(v) + ctx.data.viewpointName[subject][v]);
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
    criteria.subject(shownSubject) = read;
    return true;
}

void SettingsWindow::focusThreshold(int subject, int group, int k)
{
    if (subject != shownSubject) {
        const QSignalBlocker blocker(CbKyoka);
        CbKyoka->setCurrentIndex(subject - 1);
        showSubject(subject);
    }
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

// ---- new class and its names ---------------------------------------------------

void SettingsWindow::setNameEntry(bool entering)
{
    nameEntry = entering;
    endNameEntryButton->setEnabled(entering);
    nameInput->setEnabled(entering);
    if (entering) {
        nameInput->show();
        nameInputCaption->show();
    } else {
        nameInputCaption->hide();
    }
    // No new class in a folder that another copy of the program holds.
    newClassButton->setEnabled(!entering && !(ctx.frame && ctx.frame->dataFolderReadOnly()));
    closeButton->setEnabled(!entering);
    closeAction->setEnabled(!entering);
    dataFolderGroup->setEnabled(!entering);
    modeGroup->setEnabled(!entering);
    if (entering)
        nameInput->setFocus();
}

void SettingsWindow::startNewClass()
{
    if (ctx.frame && ctx.frame->dataFolderReadOnly())
        return;
    // A new class is made in the folder and the mode that are open; a folder or a
    // mode chosen here but not yet saved would leave the new files where the
    // program does not look for them.
    if (folderChangedSinceOpening() || specialistModeOption->isChecked() != ctx.data.specialistMode) {
        ctx.ui.message(this,
                       QStringLiteral("データ保存フォルダまたはプログラム動作の設定が変更されています。"
                                      "先に「終了」で設定を保存してから、新規クラスを作成してください。"),
                       Ui::Buttons::Ok, Ui::Icon::Information);
        return;
    }
    // The question says what is emptied and where the copy of the class goes; a slip
    // of Enter answers キャンセル.
    const QDateTime when = ctx.now();
    const QString planned = NewClass::copyFolder(ctx.data, when);
    if (ctx.ui.ask(this, newClassQuestion(ctx.data, planned, !NewClass::classFiles(ctx.data).isEmpty()),
                   {QStringLiteral("OK"), QStringLiteral("キャンセル")}, 1, 1, Ui::Icon::Question)
        != 0)
        return;
    {
        BusyCursor busy(ctx.ui);
        // Every file of the class is copied first; when the copy fails nothing is emptied.
        const QStringList files = NewClass::classFiles(ctx.data);
        if (!files.isEmpty()
            && !ctx.check(NewClass::copyFiles(files, NewClass::copyFolder(ctx.data, when)), this, Ui::Icon::Warning))
            return;
        if (!ctx.check(NewClass::clearFiles(ctx.data), this, Ui::Icon::Warning))
            return;
    }
    nameList->clear();
    pupilCountLabel->setText(QStringLiteral("0"));
    ctx.data.pupilCount = 0;
    for (QString& name : ctx.data.pupilName)
        name.clear();
    nameInput->clear();
    setNameEntry(true);
}

void SettingsWindow::addTypedName()
{
    const QString name = nameInput->text().trimmed();
    if (name.isEmpty())
        return;
    QString refusal;
    if (nameList->count() >= Limits::Pupils)
        refusal = QStringLiteral("１クラスの人数は%1人までです。これ以上の氏名は入力できません。").arg(Limits::Pupils);
    else if (const QString problem = StorableText::problem(name); !problem.isEmpty())
        refusal = QStringLiteral("氏名「%1」は保存できません。%2。").arg(name, problem);
    if (!refusal.isEmpty()) {
        ctx.ui.message(this, refusal, Ui::Buttons::Ok, Ui::Icon::Warning);
        nameInput->setFocus();
        nameInput->selectAll();
        return;
    }
    nameList->addItem(name);
    nameList->scrollToBottom();
    pupilCountLabel->setText(QString::number(nameList->count()));
    nameInput->clear();
}

// Writes the listed names as the roster and, for a homeroom class, a new attendance
// file of zeros for that many pupils.
Status SettingsWindow::saveNames()
{
    ClassData& data = ctx.data;
    const int count = data.pupilCount;
    const auto names = data.pupilName;
    data.pupilCount = nameList->count();
    for (int p = 1; p <= Limits::Pupils; ++p)
        data.pupilName[p] = p <= data.pupilCount ? nameList->item(p - 1)->text() : QString();
    if (Status stored = NewClass::storeNames(data); !stored) {
        // The class stays as the files hold it; the names stay in the list.
        data.pupilCount = count;
        data.pupilName = names;
        return stored;
    }
    return data.specialistMode ? Status::success() : AttendanceFile::load(data);
}

void SettingsWindow::endNameEntry()
{
    nameInput->setEnabled(false);
    nameInputCaption->hide();
    if (!ctx.check(saveNames(), this, Ui::Icon::Warning)) {
        // Nothing is lost: the names stay in the list for another try.
        nameInput->setEnabled(true);
        nameInputCaption->show();
        return;
    }
    setNameEntry(false);
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
    nameList->clear();
    pupilCountLabel->setText(QStringLiteral("0"));
    dataFolderInput->setText(data.dataFolder);
    if (ctx.frame)
        ctx.frame->disableAllCommands();
    ctx.ui.message(this, EnterNames);
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
    return ChildWindow::eventFilter(watched, event);
}
