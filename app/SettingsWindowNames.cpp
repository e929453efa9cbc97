// The names of a new class in the environment settings window: 新規ｸﾗｽ empties the
// class's files after copying them; the names are typed one by one or pasted as a
// list, shown with their attendance numbers, corrected or removed, and written by
// 入力終了.

#include "app/SettingsWindow.h"

#include "frame/ScrollingBody.h"

#include "model/AttendanceFile.h"
#include "model/DataFolder.h"
#include "model/NameEntry.h"
#include "model/NewClass.h"
#include "model/NewClassCopy.h"
#include "model/RosterFile.h"
#include "model/SafeFile.h"
#include "frame/MainFrame.h"
#include "maintenance/RosterImportWindow.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>

namespace {

const QString NameInputCaption = QStringLiteral("データ入力欄");

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

// The question of 入力終了 when the roster on disk holds a class it would replace
// (a roster copied back into the folder after 新規ｸﾗｽ, or one that cannot be read).
QString replaceQuestion(const ClassData& data, int stored, int typed)
{
    const QString roster = RosterFile::fileName(data);
    QString text = stored > 0
        ? QStringLiteral("氏名データ（%1）には、すでに%2人の氏名が保存されています。").arg(roster).arg(stored)
        : QStringLiteral("氏名データ（%1）には、すでに内容が保存されています。").arg(roster);
    text += QStringLiteral("\n入力した%1人の氏名で置き換えますか？\n\n置き換える前の氏名データは「%2」として残します。")
                .arg(typed)
                .arg(RosterFile::backupName(data));
    if (!data.specialistMode)
        text += QStringLiteral("出欠の記録（%1）は空になります。").arg(AttendanceFile::fileName());
    return text;
}

}  // namespace

void SettingsWindow::setNameEntry(bool entering)
{
    nameEntry = entering;
    endCorrection();
    endNameEntryButton->setEnabled(entering);
    nameInput->setEnabled(entering);
    correctNameButton->setEnabled(entering);
    removeNameButton->setEnabled(entering);
    importNamesButton->setEnabled(entering);
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
    if (entering) {
        nameInput->setFocus();
        showEndOfNameEntry();
    }
}

// On a small screen the body scrolls: while names are typed, the box and 入力終了
// below the list are brought into view (once the layout has settled).
void SettingsWindow::showEndOfNameEntry()
{
    QTimer::singleShot(0, this, [this] {
        if (auto* body = findChild<ScrollingBody*>(); body && nameEntry)
            body->ensureWidgetVisible(endNameEntryButton, 0, 4);
    });
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
    enteredNames.clear();
    showNames();
    ctx.data.pupilCount = 0;
    for (QString& name : ctx.data.pupilName)
        name.clear();
    {
        const QSignalBlocker blocker(nameInput);
        nameInput->clear();
    }
    nameInputText.clear();
    setNameEntry(true);
}

void SettingsWindow::showNames(int selectedRow)
{
    nameList->clear();
    for (int i = 0; i < enteredNames.size(); ++i)
        nameList->addItem(Names::pupilListLine(i + 1, enteredNames[i]));
    pupilCountLabel->setText(QString::number(enteredNames.size()));
    if (selectedRow >= 0 && selectedRow < nameList->count())
        nameList->setCurrentRow(selectedRow);
    else
        nameList->scrollToBottom();
}

// Enter in the name box: the name joins the list at its end, or takes the place of
// the name being corrected.
void SettingsWindow::addTypedName()
{
    const QString name = nameInput->text().trimmed();
    if (name.isEmpty())
        return;
    const bool correcting = correctedRow >= 0;
    // A corrected name does not make the class larger.
    const QString refusal = NameEntry::refusal(name, correcting ? 0 : int(enteredNames.size()));
    if (!refusal.isEmpty()) {
        ctx.ui.message(this, refusal, Ui::Buttons::Ok, Ui::Icon::Warning);
        nameInput->setFocus();
        nameInput->selectAll();
        return;
    }
    if (correcting) {
        const int row = correctedRow;
        enteredNames[row] = name;
        endCorrection();
        showNames(row);
    } else {
        enteredNames.append(name);
        showNames();
    }
    nameInput->clear();
}

// Text with a line end or a tab came into the name box: a list was pasted (by any
// means: keys, the box's menu, the mouse). It is taken once the box has finished
// its change.
void SettingsWindow::nameInputChanged(const QString& text)
{
    if (!NameEntry::isList(text)) {
        nameInputText = text;
        return;
    }
    if (pasteWaiting)
        return;
    pasteWaiting = true;
    QTimer::singleShot(0, this, &SettingsWindow::takePastedList);
}

void SettingsWindow::takePastedList()
{
    pasteWaiting = false;
    const NameEntry::Pasted pasted = NameEntry::readPasted(nameInput->text(), int(enteredNames.size()));
    {
        // A refused list leaves the box as it was before the paste.
        const QSignalBlocker blocker(nameInput);
        nameInput->setText(pasted.refusal.isEmpty() ? QString() : nameInputText);
    }
    if (!pasted.refusal.isEmpty()) {
        ctx.ui.message(this, pasted.refusal, Ui::Buttons::Ok, Ui::Icon::Warning);
        nameInput->setFocus();
        return;
    }
    nameInputText.clear();
    endCorrection();
    enteredNames.append(pasted.names);
    showNames();
    nameInput->setFocus();
}

void SettingsWindow::correctSelectedName()
{
    const int row = nameList->currentRow();
    if (!nameEntry || row < 0 || !nameList->item(row)->isSelected()) {
        ctx.ui.beep();
        return;
    }
    correctedRow = row;
    nameInputCaption->setText(QStringLiteral("%1番を訂正中（Escで取消）").arg(row + 1));
    nameInput->setText(enteredNames[row]);
    nameInput->setFocus();
    nameInput->selectAll();
}

void SettingsWindow::removeSelectedName()
{
    const int row = nameList->currentRow();
    if (!nameEntry || row < 0 || !nameList->item(row)->isSelected()) {
        ctx.ui.beep();
        return;
    }
    if (correctedRow == row) {
        endCorrection();
        nameInput->clear();
    } else if (correctedRow > row) {
        --correctedRow;
        nameInputCaption->setText(QStringLiteral("%1番を訂正中（Escで取消）").arg(correctedRow + 1));
    }
    enteredNames.removeAt(row);
    showNames(qMin(row, int(enteredNames.size()) - 1));
}

void SettingsWindow::importNames()
{
    if (!nameEntry)
        return;
    const std::optional<QStringList> names = RosterImportWindow::run(ctx.ui, this, int(enteredNames.size()));
    if (!names)
        return;
    endCorrection();
    enteredNames.append(*names);
    showNames();
    nameInput->setFocus();
}

void SettingsWindow::endCorrection()
{
    correctedRow = -1;
    nameInputCaption->setText(NameInputCaption);
}

// The roster on disk is empty after 新規ｸﾗｽ. Should it hold a class again (copied
// back by hand meanwhile), writing the names typed would replace it: the teacher
// is asked, and a slip of Enter answers キャンセル.
bool SettingsWindow::mayReplaceStoredNames()
{
    QByteArray bytes;
    if (!DataFolder::exists(ctx.data.dataFolder, RosterFile::fileName(ctx.data))
        || !SafeFile::read(RosterFile::path(ctx.data), bytes) || bytes.isEmpty())
        return true;
    int stored = 0;
    std::array<QString, Limits::Pupils + 1> names;
    if (RosterFile::parse(bytes, RosterFile::fileName(ctx.data), stored, names) && stored == 0)
        return true;
    return ctx.ui.message(this, replaceQuestion(ctx.data, stored, int(enteredNames.size())), Ui::Buttons::OkCancel,
                          Ui::Icon::Warning, QStringLiteral("入力終了"), Ui::Default::Cancel)
        == Ui::Answer::Ok;
}

// Writes the listed names as the roster and, for a homeroom class, a new attendance
// file of zeros for that many pupils.
Status SettingsWindow::saveNames()
{
    ClassData& data = ctx.data;
    const int count = data.pupilCount;
    const auto names = data.pupilName;
    data.pupilCount = int(enteredNames.size());
    for (int p = 1; p <= Limits::Pupils; ++p)
        data.pupilName[p] = p <= data.pupilCount ? enteredNames[p - 1] : QString();
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
    if (!mayReplaceStoredNames())
        return;
    endCorrection();
    nameInput->setEnabled(false);
    nameInputCaption->hide();
    if (!ctx.check(saveNames(), this, Ui::Icon::Warning)) {
        // Nothing is lost: the names stay in the list for another try.
        nameInput->setEnabled(true);
        nameInputCaption->show();
        return;
    }
    setNameEntry(false);
    firstStartGuide->setVisible(ctx.data.pupilCount == 0);
}
