// Finishing or undoing a change of several files that a stop left halfway, from
// the intent record it left (SafeFileJournal.h). Each step is looked at as it is on
// the disk: its new content still waiting under its temporary name (ready), already
// in place (done), never moved while its temporary is gone (lost), or waiting but
// damaged. The change is finished when every step is ready or done, otherwise
// undone. Both can be run again after a stop in the middle of either: a step
// finished or undone is seen as such.

#include "model/SafeFileJournal.h"

#include "model/SafeFile.h"
#include "model/SafeFileSystem.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

using SafeFile::System::native;
using SafeFile::Journal::Step;

namespace {

enum class Stage { Ready, Done, Lost, Damaged };

QString pathIn(const QString& folder, const QString& name)
{
    return name.isEmpty() || QDir::isAbsolutePath(name) ? name : QDir(folder).filePath(name);
}

bool isThere(const QString& path)
{
    struct stat info {};
    return !path.isEmpty() && ::lstat(native(path).constData(), &info) == 0;
}

// Whether the file holds the step's new content (as far as the record knows it).
bool holdsNew(const QString& path, const Step& step)
{
    if (step.size < 0)
        return isThere(path);
    QByteArray bytes;
    if (!SafeFile::read(path, bytes, 32 * SafeFile::MaxDataFileSize))
        return false;
    return bytes.size() == step.size && SafeFile::Journal::crc32(bytes) == step.crc;
}

Stage stageOf(const QString& folder, const Step& step)
{
    const QString file = pathIn(folder, step.file);
    if (step.kind == Step::Kind::Remove)
        return isThere(file) ? Stage::Ready : Stage::Done;
    const QString temporary = pathIn(folder, step.temporary);
    if (isThere(temporary))
        return holdsNew(temporary, step) ? Stage::Ready : Stage::Damaged;
    return holdsNew(file, step) ? Stage::Done : Stage::Lost;
}

bool moveOver(const QString& from, const QString& to)
{
    return ::rename(native(from).constData(), native(to).constData()) == 0;
}

bool removeName(const QString& path)
{
    return path.isEmpty() || ::unlink(native(path).constData()) == 0 || errno == ENOENT;
}

bool finish(const QString& folder, const Step& step, Stage stage)
{
    const QString file = pathIn(folder, step.file);
    if (stage != Stage::Ready)
        return true;
    if (step.kind == Step::Kind::Remove)
        return removeName(file);
    // A backup that is already another name of its file keeps the temporary name
    // after the move (a move between two names of one file does nothing).
    const QString temporary = pathIn(folder, step.temporary);
    return moveOver(temporary, file) && removeName(temporary);
}

bool undo(const QString& folder, const Step& step, Stage stage)
{
    const QString file = pathIn(folder, step.file);
    const QString previous = pathIn(folder, step.previous);
    if (step.kind != Step::Kind::Remove && (stage == Stage::Ready || stage == Stage::Damaged))
        return removeName(pathIn(folder, step.temporary));
    if (stage != Stage::Done)
        return true;
    // The step had taken effect: its old content comes back from its second name.
    // Where the old content was the new one, there is nothing to bring back (an
    // undo stopped halfway leaves such a step without its second name).
    if (isThere(previous))
        return moveOver(previous, file);
    if (!step.existed)
        return removeName(file);
    return step.oldSize >= 0 && step.oldSize == step.size && step.oldCrc == step.crc;
}

// Syncs the folders of the change, so that what was moved is durable before the
// record goes.
void syncFolders(const QString& folder, const QList<Step>& steps)
{
    QSet<QString> folders{folder};
    for (const Step& step : steps)
        folders.insert(QFileInfo(pathIn(folder, step.file)).absolutePath());
    for (const QString& each : std::as_const(folders))
        SafeFile::System::syncFolder(each);
}

}  // namespace

SafeFile::Journal::Outcome SafeFile::Journal::recover(const QString& folder)
{
    Outcome outcome;
    if (!exists(folder))
        return outcome;
    QByteArray bytes;
    Record record;
    const QString path = QDir(folder).filePath(fileName());
    if (!SafeFile::read(path, bytes) || !parse(bytes, record)) {
        // Cut short while it was written, which is before anything was moved: the
        // temporaries it may name are left to the start's sweep of leftovers.
        outcome.state = Outcome::State::NotStarted;
        remove(folder);
        SafeFile::System::syncFolder(folder);
        return outcome;
    }
    outcome.title = record.title;
    QList<Stage> stages;
    bool finishable = true;
    for (const Step& step : record.steps) {
        outcome.files << step.file;
        stages << stageOf(folder, step);
        finishable = finishable && (stages.last() == Stage::Ready || stages.last() == Stage::Done);
    }
    bool ok = true;
    for (int i = 0; i < record.steps.size() && ok; ++i)
        ok = finishable ? finish(folder, record.steps[i], stages[i]) : undo(folder, record.steps[i], stages[i]);
    if (!ok) {
        // The record stays: the next start tries again, and nothing is lost meanwhile.
        outcome.state = Outcome::State::Failed;
        return outcome;
    }
    // The old contents' second names (and a removed file moved aside) go last.
    for (const Step& step : record.steps)
        if (finishable || step.kind != Step::Kind::Remove)
            removeName(pathIn(folder, step.previous));
    syncFolders(folder, record.steps);
    remove(folder);
    outcome.state = finishable ? Outcome::State::Finished : Outcome::State::Undone;
    return outcome;
}

QString SafeFile::Journal::Outcome::sentence() const
{
    const QString change = title.isEmpty() ? QStringLiteral("ファイルの変更") : title;
    switch (state) {
    case State::None:
        return {};
    case State::Finished:
        return QStringLiteral("前回途中で止まった%1を、かざねが最後まで済ませました（%2個のファイルはすべて%1のあとの内容です）。")
            .arg(change)
            .arg(files.size());
    case State::Undone:
        return QStringLiteral("前回途中で止まった%1を、かざねが取り消しました（%2個のファイルはすべて%1の前の内容です）。")
            .arg(change)
            .arg(files.size());
    case State::NotStarted:
        return QStringLiteral("前回のファイルの変更はファイルを書き換える前に止まっていたため、ファイルはすべて元のままです。");
    case State::Failed:
        return QStringLiteral("前回途中で止まった%1を済ませることも取り消すこともできなかったため、データフォルダを読み取り専用で開きます（%2）。")
            .arg(change, files.join(QStringLiteral("、")));
    }
    return {};
}
