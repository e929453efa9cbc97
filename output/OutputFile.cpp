#include "output/OutputFile.h"

#include "model/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <QRegularExpression>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
}

// A new empty file beside `path`, hidden while it is written; the descriptor is
// open for writing. Fails with errno.
int createTemporary(const QString& path, QString& temporary)
{
    static std::atomic<int> counter = 0;
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString tail = QStringLiteral(".kazane-%1-%2.tmp").arg(::getpid()).arg(++counter);
        QString candidate = folder + QStringLiteral("/.") + info.fileName() + tail;
        int fd = ::open(encoded(candidate).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == ENAMETOOLONG) {
            // A name near the limit: the temporary file takes a short one.
            candidate = folder + QStringLiteral("/") + tail;
            fd = ::open(encoded(candidate).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        }
        if (fd >= 0) {
            temporary = candidate;
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    errno = EEXIST;
    return -1;
}

// Writes every byte (a short write goes on with the rest), syncs when asked and
// closes. Returns 0 or the errno of the first failure; the descriptor is closed
// either way.
int writeAll(int fd, const QByteArray& bytes, bool durable)
{
    const char* data = bytes.constData();
    qint64 left = bytes.size();
    int error = 0;
    while (left > 0 && error == 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0) {
            if (errno != EINTR)
                error = errno;
        } else if (n == 0) {
            error = EIO;
        } else {
            data += n;
            left -= n;
        }
    }
    if (error == 0 && durable && ::fsync(fd) != 0 && errno != EINVAL && errno != ENOTSUP)
        error = errno;
    if (::close(fd) != 0 && error == 0 && errno != EINTR)
        error = errno;
    return error;
}

void removeTemporary(const QString& temporary)
{
    if (temporary.isEmpty())
        return;
    ::unlink(encoded(temporary).constData());
    // SQLite's journal, should it have been left behind.
    ::unlink(encoded(temporary + QStringLiteral("-journal")).constData());
}

// Makes the renames in a folder durable.
void syncFolder(const QString& path)
{
    const int fd = ::open(encoded(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
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

}  // namespace

// The same words as for the data files, as a sentence.
QString OutputFile::describeError(int error)
{
    return SafeFile::describeError(error) + QStringLiteral("。");
}

QString OutputFile::failedMessage(const QString& path, int error)
{
    return QStringLiteral("ファイル「%1」に保存できませんでした。%2").arg(QDir::toNativeSeparators(path), describeError(error));
}

QString OutputFile::sameFileMessage(const QString& path)
{
    return QStringLiteral("同じファイル「%1」に二つの出力を保存することはできません。").arg(QDir::toNativeSeparators(path));
}

bool OutputFile::sameFile(const QString& a, const QString& b)
{
    if (resolvedName(a) == resolvedName(b))
        return true;
    struct stat first {};
    struct stat second {};
    return ::stat(encoded(a).constData(), &first) == 0 && ::stat(encoded(b).constData(), &second) == 0
        && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

Status OutputFile::write(const QString& path, const QByteArray& bytes)
{
    OutputBatch batch;
    if (Status added = batch.add(path, bytes); !added)
        return added;
    return batch.commit();
}

QStringList OutputFile::abandonedTemporaries(const QString& path)
{
    const QFileInfo info(path);
    const QString prefix = QStringLiteral(".") + info.fileName() + QStringLiteral(".kazane-");
    static const QRegularExpression tail(QStringLiteral("^(\\d+)-\\d+\\.tmp(-journal|\\.old)?$"));
    QStringList found;
    const QDir folder(info.absolutePath());
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!name.startsWith(prefix))
            continue;
        const auto match = tail.match(name.mid(prefix.size()));
        if (!match.hasMatch())
            continue;
        const qint64 pid = match.captured(1).toLongLong();
        const bool running = pid > 0 && pid <= INT_MAX && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
        if (!running)
            found.append(folder.filePath(name));
    }
    return found;
}

OutputBatch::~OutputBatch()
{
    for (const Entry& entry : std::as_const(entries)) {
        if (!entry.moved)
            removeTemporary(entry.temporary);
        if (!entry.previous.isEmpty())
            ::unlink(encoded(entry.previous).constData());
    }
}

QStringList OutputBatch::paths() const
{
    QStringList list;
    for (const Entry& entry : entries)
        list.append(entry.path);
    return list;
}

Status OutputBatch::reserveEntry(const QString& path, Entry& entry, int& descriptor)
{
    entry.path = path;
    if (path.isEmpty())
        return Status::failure(OutputFile::failedMessage(path, ENOENT));
    if (QFileInfo(path).isDir())
        return Status::failure(OutputFile::failedMessage(path, EISDIR));
    // The same test as OutputFile::sameFile against every file of the batch, with
    // each name resolved once.
    entry.resolved = resolvedName(path);
    struct stat existing {};
    entry.replaces = ::stat(encoded(path).constData(), &existing) == 0;
    entry.replaced = {quint64(existing.st_dev), quint64(existing.st_ino)};
    if (resolvedPaths.contains(entry.resolved) || (entry.replaces && replacedFiles.contains(entry.replaced)))
        return Status::failure(OutputFile::sameFileMessage(path));
    descriptor = createTemporary(path, entry.temporary);
    if (descriptor < 0)
        return Status::failure(OutputFile::failedMessage(path, errno));
    return Status::success();
}

void OutputBatch::keep(const Entry& entry)
{
    entries.push_back(entry);
    resolvedPaths.insert(entry.resolved);
    if (entry.replaces)
        replacedFiles.insert(entry.replaced);
}

Status OutputBatch::add(const QString& path, const QByteArray& bytes)
{
    Entry entry;
    int fd = -1;
    if (Status reserved = reserveEntry(path, entry, fd); !reserved)
        return reserved;
    if (const int error = writeAll(fd, bytes, sync == Sync::Durable); error != 0) {
        removeTemporary(entry.temporary);
        return Status::failure(OutputFile::failedMessage(path, error));
    }
    keep(entry);
    return Status::success();
}

Status OutputBatch::reserve(const QString& path, int& number)
{
    Entry entry;
    int fd = -1;
    if (Status reserved = reserveEntry(path, entry, fd); !reserved)
        return reserved;
    ::close(fd);
    number = int(entries.size());
    keep(entry);
    return Status::success();
}

Status OutputBatch::fill(int number, const QByteArray& bytes)
{
    const Entry& entry = entries.at(size_t(number));
    const int fd = ::open(encoded(entry.temporary).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return Status::failure(OutputFile::failedMessage(entry.path, errno));
    if (const int error = writeAll(fd, bytes, sync == Sync::Durable); error != 0)
        return Status::failure(OutputFile::failedMessage(entry.path, error));
    return Status::success();
}

Status OutputBatch::addMade(const QString& path, const std::function<Status(const QString&)>& make)
{
    Entry entry;
    int fd = -1;
    if (Status reserved = reserveEntry(path, entry, fd); !reserved)
        return reserved;
    ::close(fd);
    if (Status made = make(entry.temporary); !made) {
        removeTemporary(entry.temporary);
        return made;
    }
    keep(entry);
    return Status::success();
}

Status OutputBatch::commit()
{
    // With more than one file, each old file keeps a second name until all are
    // moved, so that a late failure can put it back.
    const bool keepOld = entries.size() > 1;
    for (Entry& entry : entries) {
        const QByteArray target = encoded(entry.path);
        struct stat old {};
        if (keepOld && ::lstat(target.constData(), &old) == 0) {
            const QString previous = entry.temporary + QStringLiteral(".old");
            if (::link(target.constData(), encoded(previous).constData()) == 0
                || ::rename(target.constData(), encoded(previous).constData()) == 0)
                entry.previous = previous;
        }
        if (::rename(encoded(entry.temporary).constData(), target.constData()) != 0) {
            const int error = errno;
            undo();
            return Status::failure(OutputFile::failedMessage(entry.path, error));
        }
        entry.moved = true;
    }
    for (Entry& entry : entries) {
        if (sync == Sync::Durable)
            syncFolder(entry.path);
        if (!entry.previous.isEmpty())
            ::unlink(encoded(entry.previous).constData());
        entry.previous.clear();
    }
    return Status::success();
}

// Puts back what the batch has moved so far: old files get their content again,
// new ones are removed.
void OutputBatch::undo()
{
    for (Entry& entry : entries) {
        const QByteArray target = encoded(entry.path);
        if (!entry.previous.isEmpty()) {
            // Also when the old file still has its name: a rename onto another name
            // of the same file changes nothing.
            ::rename(encoded(entry.previous).constData(), target.constData());
            ::unlink(encoded(entry.previous).constData());
            entry.previous.clear();
        } else if (entry.moved) {
            ::unlink(target.constData());
        }
        entry.moved = false;
    }
}
