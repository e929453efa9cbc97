#include "app/BackupWindow.h"

#include "model/AppSettings.h"
#include "model/BackupCopy.h"
#include "model/SafeFile.h"
#include "model/DataFolder.h"
#include "app/BrowseFolder.h"
#include "frame/MainFrame.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {
const QString Interrupted = QStringLiteral("データのバックアップは中断されました");
}

BackupWindow::BackupWindow(AppContext& ctx, QWidget* parent) : ChildWindow(ctx, parent)
{
    setObjectName(QStringLiteral("BackupWindow"));
    setWindowTitle(QStringLiteral("データのバックアップ"));

    auto* root = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("かざねデータフォルダ"), this), 0, 0);
    dataFolderLabel = new QLabel(this);
    dataFolderLabel->setObjectName(QStringLiteral("dataFolderLabel"));
    dataFolderLabel->setFrameShape(QFrame::Panel);
    dataFolderLabel->setFrameShadow(QFrame::Sunken);
    dataFolderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    dataFolderLabel->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('M')) * 36);
    grid->addWidget(dataFolderLabel, 0, 1, 1, 2);
    auto* targetLabel = new QLabel(QStringLiteral("バックアップ先フォルダ"), this);
    grid->addWidget(targetLabel, 1, 0);
    backupFolderInput = new QLineEdit(this);
    backupFolderInput->setObjectName(QStringLiteral("backupFolderInput"));
    targetLabel->setBuddy(backupFolderInput);
    grid->addWidget(backupFolderInput, 1, 1);
    browseButton = new QPushButton(QStringLiteral("参照"), this);
    browseButton->setObjectName(QStringLiteral("browseButton"));
    grid->addWidget(browseButton, 1, 2);
    grid->setColumnStretch(1, 1);
    root->addLayout(grid);
    root->addWidget(new QLabel(QStringLiteral("成績及び氏名データを指定されたフォルダにコピーします."), this));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    backupButton = new QPushButton(QStringLiteral("(&B)バックアップ"), this);
    backupButton->setObjectName(QStringLiteral("backupButton"));
    cancelButton = new QPushButton(QStringLiteral("キャンセル"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    buttons->addWidget(backupButton);
    buttons->addWidget(cancelButton);
    root->addLayout(buttons);
    connect(backupButton, &QPushButton::clicked, this, &BackupWindow::runBackup);
    connect(cancelButton, &QPushButton::clicked, this, &ChildWindow::closeWindow);
    connect(browseButton, &QPushButton::clicked, this, &BackupWindow::browseBackupFolder);
}

bool BackupWindow::prepare()
{
    dataFolderLabel->setText(ctx.data.dataFolder);
    backupFolderInput->setText(BackupCopy::proposedFolder(
        ctx.data.dataFolder, ctx.data.backupFolder, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)));
    return true;
}

void BackupWindow::activated()
{
    if (!ctx.frame)
        return;
    ctx.frame->disableAllCommands();
    ctx.frame->disablePrint();
}

void BackupWindow::closed()
{
    if (!ctx.frame)
        return;
    ctx.frame->enableAllCommands();
    ctx.frame->disablePrint();
}

void BackupWindow::browseBackupFolder()
{
    const QString folder = browseFolder(ctx.ui, this, backupFolderInput->text());
    if (!folder.isEmpty())
        backupFolderInput->setText(folder);
}

QString BackupWindow::checkedTarget()
{
    const QString typed = backupFolderInput->text().trimmed();
    if (typed.isEmpty()) {
        ctx.ui.message(this, QStringLiteral("バックアップ先フォルダを指定してください。"), Ui::Buttons::Ok, Ui::Icon::Information);
        return {};
    }
    const QString target = QDir::cleanPath(QFileInfo(typed).absoluteFilePath());
    if (!QFileInfo::exists(target)) {
        if (ctx.ui.message(this, QStringLiteral("指定されたホルダ－は存在しません。作成しますか？"), Ui::Buttons::YesNo,
                           Ui::Icon::Question)
            != Ui::Answer::Yes)
            return {};
        if (!SafeFile::makeFolders(target)) {
            ctx.ui.message(this, QStringLiteral("フォルダ「%1」を作成できませんでした。").arg(target), Ui::Buttons::Ok,
                           Ui::Icon::Warning);
            return {};
        }
    }
    if (const QString problem = BackupCopy::targetProblem(ctx.data.dataFolder, target); !problem.isEmpty()) {
        ctx.ui.message(this, problem, Ui::Buttons::Ok, Ui::Icon::Warning);
        return {};
    }
    return target;
}

void BackupWindow::runBackup()
{
    // A folder that cannot take the backup is refused before anything is stored or
    // copied; the window stays open for another choice.
    const QString target = checkedTarget();
    if (target.isEmpty()) {
        backupFolderInput->setFocus();
        return;
    }
    // The folder is remembered even when it cannot be stored in the settings; the
    // copy is made all the same, and the window stays open after any failure.
    // A copy that opened the data folder read-only keeps it in memory only: the
    // settings belong to the copy that holds the folder.
    ctx.data.backupFolder = backupFolderInput->text().trimmed();
    const bool readOnly = ctx.frame && ctx.frame->dataFolderReadOnly();
    const bool stored = readOnly || ctx.check(AppSettings::save(ctx.data, ctx.settings), this, Ui::Icon::Warning);
    if (copyDataFiles(ctx.data.dataFolder, target) && stored)
        closeWindow();
}

bool BackupWindow::copyDataFiles(const QString& source, const QString& target)
{
    const QString folder = DataFolder::withSlash(source);
    const QStringList rosterNames = BackupCopy::matching(folder, QStringLiteral("nam"));
    const QStringList dataNames = BackupCopy::matching(folder, QStringLiteral("dat"));
    // The class file (weights, 未入力, overrulings) goes with the data files.
    const QStringList classNames = BackupCopy::classFileNames(folder);
    Status status = Status::success();
    if (rosterNames.isEmpty()) {
        status = Status::failure(QStringLiteral("氏名データファイル（*.nam）が見つかりません。"));
    } else if (dataNames.isEmpty()) {
        status = Status::failure(QStringLiteral("成績データファイル（*.dat）が見つかりません。"));
    } else {
        // The rosters and the data files are copied together: the backup folder never
        // holds a roster of one day with the scores of another.
        BusyCursor busy(ctx.ui);
        status = BackupCopy::copyFiles(folder, rosterNames + dataNames + classNames, target);
    }
    if (!status) {
        ctx.ui.message(this, Interrupted + QLatin1Char('\n') + status.message, Ui::Buttons::Ok, Ui::Icon::Warning);
        return false;
    }
    ctx.ui.message(this,
                   QStringLiteral("データのバックアップが終わりました。\n%1 に %2 個のファイルをコピーしました。")
                       .arg(QDir::toNativeSeparators(target))
                       .arg(rosterNames.size() + dataNames.size() + classNames.size()),
                   Ui::Buttons::Ok, Ui::Icon::Information);
    return true;
}
