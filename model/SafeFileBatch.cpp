// SafeFile::Batch, the one writer of every data file and every output: each step
// writes its new content to a temporary file beside its file; commit() keeps a
// second name for every old file and then moves the new ones into place, putting
// the old ones back when a move fails.

#include "model/SafeFile.h"

#include "model/SafeFileJournal.h"
#include "model/SafeFileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using SafeFile::System::native;
using SafeFile::System::syncFolder;
using SafeFile::System::writeAll;

std::atomic<bool> journalEnabled = true;
// Set while a commit moves its files: a write it makes to put a file back is part
// of its own change, whose record must stay as it is.
thread_local bool moving = false;

QString nameOf(const QString& path)
{
    return QFileInfo(path).fileName();
}

// The file a write of `path` changes: a symbolic link is followed, so that the
// link stays and the file it names gets the new content.
QString targetOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

// The path with its folder resolved through links, for comparing names.
QString resolvedName(const QString& path)
{
    const QFileInfo info(path);
    QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (folder.isEmpty())
        folder = QDir::cleanPath(info.absolutePath());
    return folder + QLatin1Char('/') + info.fileName();
}

// Makes a new name beside `path` with `make(name)` (an open with O_EXCL, a link):
// ".<name>.kazane-<pid>-<n>.tmp", hidden and known by its process
// (abandonedTemporaries); ".kazane-<pid>-<n>.tmp" where the full name is too long.
// Returns what `make` returned, the name in `made`; -1 with errno on failure.
// One count for every name the process makes, whatever makes it.
QString nextTail()
{
    static std::atomic<int> counter = 0;
    return QStringLiteral(".kazane-%1-%2.tmp").arg(::getpid()).arg(++counter);
}

template <typename Make>
int makeBeside(const QString& path, QString& made, Make make)
{
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString tail = nextTail();
        QString candidate = folder + QStringLiteral("/.") + info.fileName() + tail;
        int result = make(candidate);
        if (result < 0 && errno == ENAMETOOLONG) {
            candidate = folder + QLatin1Char('/') + tail;
            result = make(candidate);
        }
        if (result >= 0) {
            made = candidate;
            return result;
        }
        if (errno != EEXIST)
            return -1;
    }
    errno = EEXIST;
    return -1;
}

int createBeside(const QString& path, QString& temporary)
{
    return makeBeside(path, temporary, [](const QString& name) {
        return ::open(native(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    });
}

int linkBeside(const QString& existing, const QString& path, QString& link)
{
    return makeBeside(path, link, [&existing](const QString& name) {
        return ::link(native(existing).constData(), native(name).constData());
    });
}

void removeTemporary(const QString& temporary)
{
    if (temporary.isEmpty())
        return;
    ::unlink(native(temporary).constData());
    // SQLite's journal, should it have been left behind.
    ::unlink(native(temporary + QStringLiteral("-journal")).constData());
}

}  // namespace

bool SafeFile::sameFile(const QString& a, const QString& b)
{
    if (resolvedName(a) == resolvedName(b))
        return true;
    struct stat first {};
    struct stat second {};
    return ::stat(native(a).constData(), &first) == 0 && ::stat(native(b).constData(), &second) == 0
        && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

namespace {

// ".<file>.kazane-<pid>-<n>.tmp" (with "-journal" of SQLite, or ".old"), or
// ".kazane-<pid>-<n>.tmp" for a file whose name was too long.
const QRegularExpression& temporaryPattern()
{
    static const QRegularExpression pattern(QStringLiteral("^\\.(?:(.+)\\.)?kazane-(\\d+)-\\d+\\.tmp(-journal|\\.old)?$"));
    return pattern;
}

bool running(qint64 pid)
{
    return pid > 0 && pid <= INT_MAX && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

}  // namespace

QString SafeFile::temporaryOwner(const QString& temporaryName)
{
    return temporaryPattern().match(temporaryName).captured(1);
}

QStringList SafeFile::abandonedTemporariesIn(const QString& folder)
{
    QStringList found;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const auto match = temporaryPattern().match(name);
        if (match.hasMatch() && !running(match.captured(2).toLongLong()))
            found.append(dir.filePath(name));
    }
    return found;
}

QStringList SafeFile::abandonedTemporaries(const QString& path)
{
    const QFileInfo info(path);
    QStringList found;
    for (const QString& temporary : abandonedTemporariesIn(info.absolutePath()))
        if (temporaryOwner(QFileInfo(temporary).fileName()) == info.fileName())
            found.append(temporary);
    return found;
}

Status SafeFile::makeFolder(const QString& path)
{
    const QString folder = QDir::cleanPath(path);
    if (::mkdir(native(folder).constData(), 0777) != 0)
        return Status::failure(writeFailedMessage(folder, errno));
    syncFolder(QFileInfo(folder).absolutePath());
    return Status::success();
}

Status SafeFile::makeFolders(const QString& path)
{
    const QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (QFileInfo(folder).isDir())
        return Status::success();
    const QString parent = QFileInfo(folder).absolutePath();
    if (parent != folder)
        if (Status made = makeFolders(parent); !made)
            return made;
    if (::mkdir(native(folder).constData(), 0777) != 0 && errno != EEXIST)
        return Status::failure(writeFailedMessage(folder, errno));
    syncFolder(parent);
    return Status::success();
}

void SafeFile::setJournal(bool on)
{
    journalEnabled = on;
}

bool SafeFile::journalOn()
{
    return journalEnabled;
}

struct SafeFile::Batch::Step {
    enum class Kind { Write, Backup, Remove };
    Kind kind = Kind::Write;
    QString path;       // as given: named in messages and by paths()
    QString target;     // the file that changes (a symbolic link followed)
    QString resolved;   // the target with its folder resolved
    bool existed = false;
    dev_t device = 0;   // of the file it replaces, when it existed
    ino_t inode = 0;
    bool skip = false;  // Backup or Remove of a missing file
    QString temporary;  // the new content beside the target, complete; of a Backup
                        // also a second name of the file copied
    qint64 size = -1;   // of the new content, with its CRC-32, when it was written here
    quint32 crc = 0;
    Status filled = Status::success();  // of a reserved step: how fill() went
    // While the batch is moved: the old file under a second name, or its content
    // where no second name could be made (or a Remove's file moved aside).
    QString previous;
    QByteArray oldBytes;
    bool keptBytes = false;
    bool moved = false;
};

SafeFile::Batch::Batch(Sync sync, Kind kind) : sync(sync), kind(kind) {}

SafeFile::Batch::~Batch()
{
    discard();
}

QStringList SafeFile::Batch::paths() const
{
    QStringList list;
    for (const auto& step : steps)
        list.append(step->path);
    return list;
}

Status SafeFile::Batch::failed(const QString& path, int errnoValue) const
{
    return Status::failure(kind == Kind::Output ? outputFailedMessage(path, errnoValue) : writeFailedMessage(path, errnoValue));
}

// Whether the step's file may be changed: a name, not a folder or a special file,
// and not a file another step of the batch changes.
Status SafeFile::Batch::admit(const QString& path, Step& step)
{
    step.path = path;
    if (path.isEmpty())
        return failed(path, ENOENT);
    step.target = targetOf(path);
    const QFileInfo info(step.target);
    if (info.isDir())
        return failed(path, EISDIR);
    struct stat existing {};
    step.existed = ::stat(native(step.target).constData(), &existing) == 0;
    if (step.existed && !S_ISREG(existing.st_mode))
        return Status::failure(QStringLiteral("「%1」は普通のファイルではない（特殊なファイルです）ので、書き込みませんでした。")
                                   .arg(kind == Kind::Output ? QDir::toNativeSeparators(path) : nameOf(path)));
    step.device = existing.st_dev;
    step.inode = existing.st_ino;
    step.resolved = resolvedName(step.target);
    // One file under two spellings (a letter case on FAT, a folder reached twice)
    // is refused. Two names of one file with several names (hard links, as a stop
    // between the moves of a file and its backup leaves them) are two files to
    // the batch: each name gets a file of its own.
    const bool oneName = step.existed && existing.st_nlink <= 1;
    for (const auto& other : steps)
        if (other->resolved == step.resolved
            || (oneName && other->existed && other->device == step.device && other->inode == step.inode))
            return Status::failure(kind == Kind::Output
                                       ? sameOutputMessage(path)
                                       : writeFailedMessage(path, QStringLiteral("同じファイルを一度に二回書き換えようとしました")));
    return Status::success();
}

// Admits the step and makes its new content with `make`; kept in the batch when
// both succeed. A failure of a DataFile batch is kept for its commit.
Status SafeFile::Batch::stage(std::unique_ptr<Step> step, const std::function<Status(Step&)>& make)
{
    if (kind == Kind::DataFile && !firstFailure.ok)
        return firstFailure;
    Status status = admit(step->path, *step);
    if (status)
        status = make(*step);
    if (!status) {
        removeTemporary(step->temporary);
        if (kind == Kind::DataFile)
            firstFailure = status;
        return status;
    }
    steps.push_back(std::move(step));
    return Status::success();
}

namespace {
std::unique_ptr<SafeFile::Batch::Step> stepFor(const QString& path)
{
    auto step = std::make_unique<SafeFile::Batch::Step>();
    step->path = path;
    return step;
}
}  // namespace

// The step's new content in a new temporary file beside its file.
Status SafeFile::Batch::writeTemporary(Step& step, const QByteArray& bytes) const
{
    const int fd = createBeside(step.target, step.temporary);
    if (fd < 0)
        return failed(step.path, errno);
    if (const int error = writeAll(fd, bytes, sync == Sync::Durable); error != 0)
        return failed(step.path, error);
    step.size = bytes.size();
    step.crc = Journal::crc32(bytes);
    return Status::success();
}

Status SafeFile::Batch::write(const QString& path, const QByteArray& bytes)
{
    return stage(stepFor(path), [this, &bytes](Step& step) { return writeTemporary(step, bytes); });
}

Status SafeFile::Batch::backup(const QString& path, const QString& backupPath)
{
    auto step = stepFor(backupPath);
    step->kind = Step::Kind::Backup;
    return stage(std::move(step), [this, &path](Step& step) {
        const QString source = targetOf(path);
        const QFileInfo info(source);
        step.skip = !info.exists();
        if (step.skip)
            return Status::success();
        if (!info.isFile())
            return Status::failure(notRegularFileMessage(path));
        // The old content is already on disk: a second name for it is the backup.
        // Every write replaces a file by a new one, never in place, so the backup
        // keeps the old content. Where links are not possible (a FAT memory stick,
        // another disk), it is copied.
        if (linkBeside(source, step.target, step.temporary) == 0)
            return Status::success();
        QByteArray bytes;
        if (Status copied = read(path, bytes); !copied)
            return copied;
        return writeTemporary(step, bytes);
    });
}

Status SafeFile::Batch::remove(const QString& path)
{
    auto step = stepFor(path);
    step->kind = Step::Kind::Remove;
    return stage(std::move(step), [](Step& step) {
        step.skip = !step.existed;
        return Status::success();
    });
}

Status SafeFile::Batch::writeMade(const QString& path, const std::function<Status(const QString&)>& make)
{
    return stage(stepFor(path), [this, &make](Step& step) {
        const int fd = createBeside(step.target, step.temporary);
        if (fd < 0)
            return failed(step.path, errno);
        ::close(fd);
        return make(step.temporary);
    });
}

Status SafeFile::Batch::reserve(const QString& path, int& number)
{
    const Status reserved = stage(stepFor(path), [this](Step& step) {
        const int fd = createBeside(step.target, step.temporary);
        if (fd < 0)
            return failed(step.path, errno);
        ::close(fd);
        // Not complete before fill(): a commit before it fails.
        step.filled = failed(step.path, ENOENT);
        return Status::success();
    });
    if (reserved)
        number = int(steps.size()) - 1;
    return reserved;
}

Status SafeFile::Batch::fill(int number, const QByteArray& bytes)
{
    Step& step = *steps.at(size_t(number));
    const int fd = ::open(native(step.temporary).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        step.filled = failed(step.path, errno);
    else if (const int error = writeAll(fd, bytes, sync == Sync::Durable); error != 0)
        step.filled = failed(step.path, error);
    else
        step.filled = Status::success();
    step.size = bytes.size();
    step.crc = Journal::crc32(bytes);
    return step.filled;
}

Status SafeFile::Batch::commit()
{
    notRestored.clear();
    Status ready = firstFailure;
    for (const auto& step : steps)
        if (ready && !step->filled)
            ready = step->filled;
    // With more than one file, each old file keeps a second name until all are
    // moved, so that a late failure can put it back.
    if (ready)
        ready = finishEarlierChange();
    if (steps.size() > 1)
        for (size_t i = 0; ready && i < steps.size(); ++i)
            ready = keepOld(*steps[i]);
    if (ready && needsJournal())
        ready = beginJournal();
    if (!ready) {
        discard();
        return ready;
    }
    // Every new content is complete and every old one kept: from here on the files
    // take their names.
    const struct Moving {
        Moving() { moving = true; }
        ~Moving() { moving = false; }
    } whileMoving;
    for (size_t i = 0; i < steps.size(); ++i) {
        if (const int error = move(*steps[i]); error != 0) {
            const Status failure = failed(steps[i]->path, error);
            for (size_t j = i; j-- > 0;)
                undo(*steps[j]);
            // What could not be put back is left to the next start with the record.
            endJournal(!notRestored.isEmpty());
            discard();
            return failure;
        }
    }
    for (const auto& step : steps) {
        if (!step->previous.isEmpty())
            ::unlink(native(step->previous).constData());
        step->previous.clear();
        step->oldBytes.clear();
    }
    // A journalled change is durable once its record is: a stop from here on is
    // finished at the next start. Without a record, the moves are made durable now.
    if (!journalFolder.isEmpty())
        endJournal(false);
    else if (sync == Sync::Durable)
        syncFolders();
    return Status::success();
}

void SafeFile::Batch::syncFolders() const
{
    QSet<QString> folders;
    if (!journalFolder.isEmpty())
        folders.insert(journalFolder);
    for (const auto& step : steps)
        folders.insert(QFileInfo(step->target).absolutePath());
    for (const QString& folder : std::as_const(folders))
        syncFolder(folder);
}

// A data change that gives more than one file a new content (or removes one);
// backups alone do not count: a backup and its file are right in either order.
bool SafeFile::Batch::needsJournal() const
{
    if (!journalEnabled || sync != Sync::Durable || kind != Kind::DataFile)
        return false;
    int changes = 0;
    for (const auto& step : steps)
        if (!step->skip && step->kind != Step::Kind::Backup)
            ++changes;
    return changes > 1;
}

// A record an earlier stop left in the folder of a data change is finished or
// undone before anything of the folder is written, so that no write can come
// between a change and its completion.
Status SafeFile::Batch::finishEarlierChange()
{
    if (moving || kind != Kind::DataFile || sync != Sync::Durable || steps.empty())
        return Status::success();
    const QString folder = QFileInfo(steps.front()->target).absolutePath();
    if (!Journal::exists(folder))
        return Status::success();
    const Journal::Outcome earlier = Journal::recover(folder);
    if (earlier.state != Journal::Outcome::State::Failed)
        return Status::success();
    return Status::failure(QStringLiteral("前回途中で止まった変更（%1）を済ませることも取り消すこともできないため、"
                                          "書き込みませんでした。")
                               .arg(earlier.files.join(QStringLiteral("、"))));
}

// Writes and syncs the record, then syncs the folders, so that the record, every
// new content's temporary and every old content's second name are on the disk
// before the first file is moved. A record left by an earlier stop in the folder
// is finished or undone first.
Status SafeFile::Batch::beginJournal()
{
    const QString folder = QFileInfo(steps.front()->target).absolutePath();
    const auto name = [&folder](const QString& path) {
        const QFileInfo info(path);
        return path.isEmpty() || info.absolutePath() == folder ? info.fileName() : info.absoluteFilePath();
    };
    Journal::Record record;
    record.title = title;
    for (const auto& step : steps) {
        if (step->skip)
            continue;
        Journal::Step entry;
        entry.kind = step->kind == Step::Kind::Write    ? Journal::Step::Kind::Write
                   : step->kind == Step::Kind::Backup ? Journal::Step::Kind::Backup
                                                      : Journal::Step::Kind::Remove;
        entry.file = name(step->target);
        entry.temporary = name(step->temporary);
        entry.previous = name(step->previous);
        entry.existed = step->existed;
        entry.size = step->size;
        entry.crc = step->crc;
        QByteArray old;
        if (step->existed && step->kind != Step::Kind::Remove && read(step->target, old, 32 * MaxDataFileSize)) {
            entry.oldSize = old.size();
            entry.oldCrc = Journal::crc32(old);
        }
        record.steps.append(entry);
    }
    if (Status written = Journal::write(folder, record); !written)
        return written;
    journalFolder = folder;
    syncFolders();
    return Status::success();
}

// Removes the record once the moves are made or undone. Where the file system
// keeps no order among its changes of names, they are synced first, so that the
// record cannot be gone while a move is not.
void SafeFile::Batch::endJournal(bool keepRecord)
{
    if (journalFolder.isEmpty())
        return;
    if (!keepRecord) {
        if (!System::keepsOrder(journalFolder))
            syncFolders();
        Journal::remove(journalFolder);
    }
    journalFolder.clear();
}

Status SafeFile::Batch::keepOld(Step& step)
{
    if (step.skip || !step.existed)
        return Status::success();
    if (step.kind == Step::Kind::Remove) {
        // The name the file is moved aside to, known before the record is written.
        const auto free = [](const QString& name) {
            struct stat taken {};
            if (::lstat(native(name).constData(), &taken) == 0) {
                errno = EEXIST;
                return -1;
            }
            return errno == ENOENT ? 0 : -1;
        };
        return makeBeside(step.target, step.previous, free) == 0 ? Status::success() : failed(step.path, errno);
    }
    if (linkBeside(step.target, step.target, step.previous) == 0)
        return Status::success();
    step.previous.clear();
    if (Status old = read(step.target, step.oldBytes, 32 * MaxDataFileSize); !old)
        return old;
    step.keptBytes = true;
    return Status::success();
}

// 0, or the errno of the rename that failed.
int SafeFile::Batch::move(Step& step)
{
    if (step.skip)
        return 0;
    const QByteArray target = native(step.target);
    if (step.kind == Step::Kind::Remove) {
        // Moved aside, not deleted, until every step is done.
        const auto moveAside = [&target](const QString& name) {
            struct stat taken {};
            if (::lstat(native(name).constData(), &taken) == 0) {
                errno = EEXIST;
                return -1;
            }
            return ::rename(target.constData(), native(name).constData());
        };
        if (step.previous.isEmpty() ? makeBeside(step.target, step.previous, moveAside) != 0
                                    : moveAside(step.previous) != 0)
            return errno;
    } else if (::rename(native(step.temporary).constData(), target.constData()) != 0) {
        return errno;
    } else if (step.kind == Step::Kind::Backup && step.existed) {
        // The backup was another name of its file already (a stop between the
        // moves of a file and its backup leaves them so): the move did nothing
        // and the temporary name stays.
        ::unlink(native(step.temporary).constData());
    }
    step.moved = true;
    return 0;
}

void SafeFile::Batch::undo(Step& step)
{
    if (!step.moved)
        return;
    const QByteArray target = native(step.target);
    bool restored = false;
    if (!step.previous.isEmpty())
        restored = ::rename(native(step.previous).constData(), target.constData()) == 0;
    else if (step.keptBytes)
        restored = bool(SafeFile::write(step.target, step.oldBytes));
    else if (!step.existed)
        restored = ::unlink(target.constData()) == 0 || errno == ENOENT;
    step.moved = false;
    // What could not be put back keeps its second name on the disk.
    step.previous.clear();
    if (!restored)
        notRestored.append(nameOf(step.path));
}

void SafeFile::Batch::discard()
{
    for (const auto& step : steps) {
        if (step->moved)
            continue;
        if (step->kind != Step::Kind::Remove)
            removeTemporary(step->temporary);
        if (!step->previous.isEmpty())
            ::unlink(native(step->previous).constData());
    }
    steps.clear();
}
