// The main window's part in opening a data folder: the folder's lock, the read-only
// state when another copy of the program holds it, reading the roster and the
// attendance, and keeping the windows that would write over a file that could not
// be read shut until it reads again.

#include "app/MainWindow.h"

#include "app/FolderRepair.h"

#include "model/AttendanceFile.h"
#include "model/DataFolder.h"
#include "model/RosterFile.h"
#include "model/SafeFile.h"
#include "model/ScoreFile.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <cerrno>
#include <cstring>

namespace {

const QString MainTitle = QStringLiteral("小学校成績処理 「かざね」");
const QString ReadOnlyTitle = QStringLiteral("小学校成績処理 「かざね」 [読み取り専用]");

QString computerText(const DataFolderLock::Holder& holder)
{
    if (holder.computer.isEmpty())
        return QStringLiteral("不明");
    if (holder.thisComputer)
        return holder.computer + QStringLiteral("（このコンピュータ）");
    return holder.computer;
}

QString heldQuestion(const QString& folder, const DataFolderLock::Holder& holder)
{
    const QString since = holder.since.isValid() ? holder.since.toString(QStringLiteral("yyyy年M月d日 H:mm"))
                                                 : QStringLiteral("不明");
    // A copy that crashed on this computer is recognised by itself; one on another
    // computer cannot be asked, so the teacher is told how to free the folder.
    const QString stale = holder.thisComputer
        ? QString()
        : QStringLiteral("（そのコンピュータでかざねを終了しているのにこの表示が出る場合は、"
                         "データフォルダの「%1」を削除してください。）\n\n").arg(DataFolderLock::fileName());
    return QStringLiteral("このデータフォルダは、ほかで起動しているかざねが使用中です。\n\n"
                          "フォルダ：%1\nコンピュータ：%2\n使用開始：%3\n\n%4"
                          "二つのかざねで同時に保存すると、一方の変更が失われます。\n"
                          "読み取り専用で開きますか？\n\n"
                          "はい：読み取り専用で開きます（点数・氏名・テスト・出欠は保存できません）。\n"
                          "いいえ：かざねを終了します。")
        .arg(QDir::toNativeSeparators(folder), computerText(holder), since, stale);
}

// Says why as well when the folder or its disk shows it (full, read-only, no permission).
QString notWritableNotice(const QString& folder)
{
    const int cause = SafeFile::probableError(DataFolder::withSlash(folder) + DataFolderLock::fileName());
    const QString why = cause == EIO ? QString() : QStringLiteral("（%1）").arg(SafeFile::describeError(cause));
    return QStringLiteral("データフォルダ「%1」に書き込めないため%2、読み取り専用で開きます。\n"
                          "点数・氏名・テスト・出欠は保存できません。")
        .arg(QDir::toNativeSeparators(folder), why);
}

const QString ReadOnlyRefusal = QStringLiteral(
    "データフォルダを読み取り専用で開いているため、この画面は開けません。\n"
    "ほかのかざねを終了してから、環境設定の「終了」でデータフォルダを開き直してください。");

}  // namespace

// ---- the lock and the read-only state ---------------------------------------------

// Takes the lock of the folder unless this copy holds it already. When another copy
// holds it, the teacher chooses between reading the folder only and ending the
// program (false). A folder that is missing is left without a lock: its files
// cannot be written either, and loadSettings has told the teacher.
bool MainWindow::claimDataFolder(const QString& folder)
{
    if (folderLock.holds(folder))
        return true;
    switch (folderLock.take(folder)) {
    case DataFolderLock::Outcome::Taken:
    case DataFolderLock::Outcome::NoFolder:
        setReadOnly(false);
        return true;
    case DataFolderLock::Outcome::NotWritable:
        setReadOnly(true);
        ctx.ui.message(this, notWritableNotice(folder), Ui::Buttons::Ok, Ui::Icon::Information);
        return true;
    case DataFolderLock::Outcome::HeldByOther:
        break;
    }
    if (ctx.ui.message(this, heldQuestion(folder, folderLock.holder()), Ui::Buttons::YesNo, Ui::Icon::Warning)
        != Ui::Answer::Yes)
        return false;
    setReadOnly(true);
    return true;
}

// Files are written only into the folder this copy holds, or, when a folder was
// missing at the start, into that folder once it exists (its writes then fail
// with their own messages).
bool MainWindow::mayWriteTo(const QString& folder) const
{
    if (readOnly)
        return false;
    if (folderLock.holds(folder))
        return true;
    return !readOnly && !QFileInfo(folder).isDir();
}

void MainWindow::setReadOnly(bool on)
{
    readOnly = on;
    if (!on)
        readOnlyReason.clear();
    // A read-only copy writes nothing, not even the folder last saved in.
    ctx.ui.setSettingsWritable(!on);
    ctx.reports.setChoiceStored(!on);
    setWindowTitle(on ? ReadOnlyTitle : MainTitle);
    keepUnavailableCommandsOff();
    showFolderState();
}

bool MainWindow::mayWriteDataFolder()
{
    const QString folder = ctx.data.dataFolder;
    // A folder that was missing when it was opened (a memory stick put in later)
    // is locked before the first window writes to it.
    if (!readOnly && !folderLock.holds(folder) && QFileInfo(folder).isDir() && !claimDataFolder(folder)) {
        QTimer::singleShot(0, this, [this] { endProgram(); });
        return false;
    }
    if (!readOnly)
        return true;
    ctx.ui.message(this, ReadOnlyRefusal, Ui::Buttons::Ok, Ui::Icon::Information);
    return false;
}

// ---- reading the class --------------------------------------------------------------

bool MainWindow::openDataFolder(const QString& folder)
{
    if (!claimDataFolder(folder)) {
        // From the settings window the program is running: it ends once the window's
        // handler has returned. At start-up the caller ends it.
        if (started)
            QTimer::singleShot(0, this, [this] { endProgram(); });
        return false;
    }
    ClassData& data = ctx.data;
    rosterRefusal.clear();
    attendanceRefusal.clear();
    repairClassFiles(folder);
    // The empty files of a new folder exist before anything is read, so that a
    // specialist's first start reads the empty class roster instead of reporting it
    // missing.
    ensureDataFiles(folder);
    offerUtf8Conversions(true, !data.specialistMode);
    if (data.specialistMode || DataFolder::exists(folder, RosterFile::fileName(data))) {
        readRoster();
    } else {
        data.pupilCount = 0;
        // A class is made in the settings window; not in a folder that is only read.
        if (!readOnly)
            openSettingsWindow();
    }
    // The attendance file belongs to the homeroom class; in specialist mode it is
    // neither read nor created.
    if (!data.specialistMode)
        readAttendance();
    showFolderState();
    return true;
}

void MainWindow::repairClassFiles(const QString& folder)
{
    const FolderRepair::Result repaired = FolderRepair::run(ctx.data, ctx.ui, this, folderLock.holds(folder) && !readOnly);
    if (!repaired.readOnly)
        return;
    setReadOnly(true);
    readOnlyReason = repaired.reason;
    showFolderState();
}

void MainWindow::ensureDataFiles(const QString& folder)
{
    if (!mayWriteTo(folder))
        return;
    const QString base = DataFolder::withSlash(folder);
    for (int unit = 1; unit <= Limits::Units; ++unit) {
        const QString scores = ScoreFile::fileName(ctx.data, unit);
        if (!DataFolder::exists(base, scores) && !ctx.check(SafeFile::write(base + scores, ScoreFile::emptyFile()), this))
            return;
        if (ctx.data.specialistMode) {
            const QString roster = RosterFile::createdFileName(ctx.data, unit);
            if (!DataFolder::exists(base, roster) && !ctx.check(SafeFile::write(base + roster, RosterFile::emptyFile()), this))
                return;
        }
    }
}

void MainWindow::selectClass(int classNumber)
{
    ctx.data.classNumber = classNumber;
    showCurrentClass();
    if (!ctx.data.specialistMode)
        return;
    offerUtf8Conversions(false, false);
    readRoster();
    showFolderState();
}

// Reads the roster of the current class. When it cannot be read, no pupil of the
// class or folder open before stays in the model, and a file that exists is
// remembered as refused: nothing may write the roster until it reads again.
bool MainWindow::readRoster()
{
    ClassData& data = ctx.data;
    const Status read = RosterFile::load(data);
    if (read.ok) {
        rosterRefusal.clear();
        return true;
    }
    data.pupilCount = 0;
    for (QString& name : data.pupilName)
        name.clear();
    rosterRefusal = QFileInfo::exists(RosterFile::path(data)) ? read.message : QString();
    // In homeroom mode the attendance is read with the roster's class size: while the
    // roster is refused, so is the attendance.
    if (!data.specialistMode && !rosterRefusal.isEmpty())
        attendanceRefusal = rosterRefusal;
    ctx.check(read, this);
    return false;
}

// Reads the attendance file (creating it, empty, when it is missing). A file that
// cannot be read is remembered as refused, and the model keeps no attendance.
bool MainWindow::readAttendance()
{
    ClassData& data = ctx.data;
    if (!rosterRefusal.isEmpty())
        return false;
    if (!AttendanceFile::exists(data)) {
        attendanceRefusal.clear();
        if (mayWriteTo(data.dataFolder))
            ctx.check(AttendanceFile::create(data), this);
        return true;
    }
    const Status read = AttendanceFile::load(data);
    if (read.ok) {
        attendanceRefusal.clear();
        return true;
    }
    std::memset(data.attendance, 0, sizeof data.attendance);
    std::memset(data.lessonDays, 0, sizeof data.lessonDays);
    attendanceRefusal = read.message;
    ctx.check(read, this);
    return false;
}

// A file refused earlier is read once more when a window needs it: a file the
// teacher has repaired is taken at once; one that still cannot be read keeps the
// window shut, with the message of the refusal.
bool MainWindow::refusedFilesReadAgain(bool needsAttendance)
{
    const bool attendancePending = !ctx.data.specialistMode && !attendanceRefusal.isEmpty();
    bool readable = true;
    if (!rosterRefusal.isEmpty()) {
        readable = readRoster();
        // A homeroom class's attendance is read right after its roster, as when the
        // folder is opened.
        if (readable && attendancePending)
            readable = readAttendance() || !needsAttendance;
    } else if (needsAttendance && attendancePending) {
        readable = readAttendance();
    }
    showFolderState();
    return readable;
}

bool MainWindow::mayOpen(bool writes, bool needsAttendance)
{
    if (writes && !mayWriteDataFolder())
        return false;
    offerUtf8Conversions(false, needsAttendance && !ctx.data.specialistMode);
    return refusedFilesReadAgain(needsAttendance);
}

// The status bar says what keeps commands off or windows shut.
void MainWindow::showFolderState()
{
    if (!folderState)
        return;
    QStringList notes;
    if (readOnly)
        notes << (readOnlyReason.isEmpty() ? QStringLiteral("読み取り専用で開いています（保存はできません）。") : readOnlyReason);
    if (!rosterRefusal.isEmpty())
        notes << QStringLiteral("%1の氏名データ（%2）を読み込めないため、このクラスの画面は開けません。")
                     .arg(ctx.data.specialistMode ? ctx.data.unitName() : QStringLiteral("クラス"), RosterFile::fileName(ctx.data));
    else if (!attendanceRefusal.isEmpty())
        notes << QStringLiteral("出欠データ（%1）を読み込めないため、出欠管理と氏名のメンテナンスは開けません。")
                     .arg(AttendanceFile::fileName());
    folderState->setText(notes.join(QStringLiteral("　")));
    statusBar()->setVisible(!notes.isEmpty());
}
