#include "model/SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QSet>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

QString nameOf(const QString& path)
{
    return QFileInfo(path).fileName();
}

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

// A name beside `path` for a file that is renamed into place or out of the way.
QByteArray sideName(const QString& path)
{
    return native(path) + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 16) + ".tmp";
}

int lastError(const QString& path)
{
    const int error = errno;
    return error != 0 ? error : SafeFile::probableError(path);
}

QString readFailed(const QString& path, const QString& cause)
{
    return QStringLiteral("データファイル「%1」を読み込めませんでした。%2。").arg(nameOf(path), cause);
}

QString notRegularFile(const QString& path)
{
    return QStringLiteral("「%1」は普通のファイルではない（フォルダや特殊なファイルです）ので、読み込みませんでした。このファイルは書き換えていません。")
        .arg(nameOf(path));
}

QString describeReadError(int errnoValue)
{
    switch (errnoValue) {
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("ファイルが見つかりません");
    case EACCES:
    case EPERM:
        return QStringLiteral("読み取りの権限がありません");
    case EIO:
        return QStringLiteral("ディスクの読み取り中にエラーが起きました");
    default:
        return QStringLiteral("ファイルを開けませんでした");
    }
}

void syncFolder(const QString& folder)
{
    // Makes the renames themselves durable; a file system that cannot sync a
    // folder has nothing more to do.
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// Writes every byte through the descriptor; a short write is continued, so that
// the call that cannot go on reports why. 0 or the errno.
int writeAll(int fd, const QByteArray& bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return ENOSPC;
        done += n;
    }
    return 0;
}

}  // namespace

// ---- messages ------------------------------------------------------------------------

QString SafeFile::describeError(int errnoValue)
{
    switch (errnoValue) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QStringLiteral("ディスクの空き容量が足りません");
    case EROFS:
        return QStringLiteral("ディスクが読み取り専用になっています");
    case EACCES:
    case EPERM:
        return QStringLiteral("書き込みの権限がありません");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("フォルダが見つかりません");
    case EISDIR:
        return QStringLiteral("同じ名前のフォルダがあります");
    case EIO:
        return QStringLiteral("ディスクの読み書きでエラーが起きました");
    case ENAMETOOLONG:
        return QStringLiteral("ファイルの名前が長すぎます");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("ファイルがほかのプログラムで使われています");
    default:
        return QStringLiteral("書き込みの途中でエラーが起きました");
    }
}

int SafeFile::probableError(const QString& path)
{
    const QFileInfo info(path);
    const QByteArray folder = native(info.absolutePath());
    struct stat folderInfo {};
    if (::stat(folder.constData(), &folderInfo) != 0)
        return errno == ENOENT || errno == ENOTDIR ? ENOENT : errno;
    if (!S_ISDIR(folderInfo.st_mode))
        return ENOTDIR;
    struct statvfs disk {};
    const bool known = ::statvfs(folder.constData(), &disk) == 0;
    if (known && (disk.f_flag & ST_RDONLY))
        return EROFS;
    if (::access(folder.constData(), W_OK) != 0)
        return errno;
    if (info.isDir())
        return EISDIR;
    if (info.exists() && ::access(native(path).constData(), W_OK) != 0)
        return errno;
    if (known && disk.f_bavail == 0)
        return ENOSPC;
    return EIO;
}

QString SafeFile::writeFailedMessage(const QString& path, int errnoValue)
{
    return writeFailedMessage(path, describeError(errnoValue));
}

QString SafeFile::writeFailedMessage(const QString& path, const QString& detail)
{
    QString text = QStringLiteral("ファイル「%1」に書き込めませんでした。").arg(nameOf(path));
    if (!detail.isEmpty())
        text += detail + QStringLiteral("。");
    return text + QStringLiteral("ディスクがいっぱいになっていないか、読み取り専用になっていないかを確かめてください。");
}

// ---- single files ------------------------------------------------------------------

Status SafeFile::write(const QString& path, const QByteArray& bytes, Sync sync)
{
    Batch batch(sync);
    batch.write(path, bytes);
    return batch.commit();
}

Status SafeFile::backup(const QString& path, const QString& backupPath)
{
    Batch batch;
    batch.backup(path, backupPath);
    return batch.commit();
}

Status SafeFile::writeWithBackup(const QString& path, const QString& backupPath, const QByteArray& bytes)
{
    Batch batch;
    batch.backup(path, backupPath);
    batch.write(path, bytes);
    return batch.commit();
}

Status SafeFile::read(const QString& path, QByteArray& bytes, qint64 maxBytes)
{
    // Opened without waiting, so that a named pipe cannot hold the program; what it
    // is, is asked of the open file itself.
    const int fd = ::open(native(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Status::failure(readFailed(path, describeReadError(errno)));
    struct stat info {};
    QString refusal;
    if (::fstat(fd, &info) != 0)
        refusal = readFailed(path, describeReadError(errno));
    else if (!S_ISREG(info.st_mode))
        refusal = notRegularFile(path);
    else if (info.st_size > maxBytes)
        refusal = QStringLiteral("データファイル「%1」は大きすぎます（%2 MB を超えています）。かざねのデータファイルではないおそれがあるので、読み込みませんでした。このファイルは書き換えていません。")
                      .arg(nameOf(path))
                      .arg(maxBytes / (1024 * 1024));
    if (!refusal.isEmpty()) {
        ::close(fd);
        return Status::failure(refusal);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    QByteArray content;
    content.resize(qsizetype(info.st_size));
    qint64 done = 0;
    int error = 0;
    // A file that grows while it is read is not read past the limit.
    while (error == 0) {
        if (done == content.size()) {
            if (done > maxBytes)
                break;
            content.resize(qsizetype(qMin<qint64>(done + 64 * 1024, maxBytes + 1)));
        }
        const ssize_t n = ::read(fd, content.data() + done, size_t(content.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            error = errno;
        else if (n == 0)
            break;
        else
            done += n;
    }
    ::close(fd);
    if (error != 0)
        return Status::failure(readFailed(path, describeReadError(error)));
    if (done > maxBytes)
        return Status::failure(QStringLiteral("データファイル「%1」は大きすぎるので、読み込みませんでした。").arg(nameOf(path)));
    content.resize(qsizetype(done));
    bytes = content;
    return Status::success();
}

// ---- several files together ------------------------------------------------------------

struct SafeFile::Batch::Step {
    enum class Kind { Write, Backup, Remove };
    Kind kind = Kind::Write;
    QString path;    // the file that changes
    QString source;  // Backup: the file copied
    QByteArray bytes;

    // Prepared before anything is replaced.
    bool skip = false;                // Backup or Remove of a missing file
    std::unique_ptr<QSaveFile> file;  // the new content, complete and synced
    QByteArray sideName;              // a hard link waiting for its name; a removed file's name
    // What puts the file back when a later step fails.
    bool existed = false;
    QByteArray oldBytes;
    bool done = false;
};

SafeFile::Batch::Batch(Sync sync) : sync(sync) {}

SafeFile::Batch::~Batch()
{
    discard();
}

void SafeFile::Batch::write(const QString& path, const QByteArray& bytes)
{
    auto step = std::make_unique<Step>();
    step->path = path;
    step->bytes = bytes;
    steps.push_back(std::move(step));
}

void SafeFile::Batch::backup(const QString& path, const QString& backupPath)
{
    auto step = std::make_unique<Step>();
    step->kind = Step::Kind::Backup;
    step->path = backupPath;
    step->source = path;
    steps.push_back(std::move(step));
}

void SafeFile::Batch::remove(const QString& path)
{
    auto step = std::make_unique<Step>();
    step->kind = Step::Kind::Remove;
    step->path = path;
    steps.push_back(std::move(step));
}

Status SafeFile::Batch::commit()
{
    notRestored.clear();
    for (auto& step : steps)
        if (Status ready = prepare(*step); !ready) {
            discard();
            return ready;
        }
    for (size_t i = 0; i < steps.size(); ++i) {
        if (const int error = finish(*steps[i]); error != 0) {
            const QString message = writeFailedMessage(steps[i]->path, error);
            for (size_t j = i; j-- > 0;)
                undo(*steps[j]);
            discard();
            return Status::failure(message);
        }
    }
    QSet<QString> folders;
    for (auto& step : steps) {
        if (step->kind == Step::Kind::Remove && step->done)
            ::unlink(step->sideName.constData());
        folders.insert(QFileInfo(step->path).absolutePath());
    }
    if (sync == Sync::Durable)
        for (const QString& folder : folders)
            syncFolder(folder);
    steps.clear();
    return Status::success();
}

Status SafeFile::Batch::prepare(Step& step)
{
    const QFileInfo target(step.path);
    if (target.isDir())
        return Status::failure(writeFailedMessage(step.path, EISDIR));
    if (target.exists() && !target.isFile())
        return Status::failure(QStringLiteral("「%1」は普通のファイルではない（特殊なファイルです）ので、書き込みませんでした。")
                                   .arg(nameOf(step.path)));
    if (step.kind == Step::Kind::Remove) {
        step.skip = !target.exists();
        return Status::success();
    }
    if (step.kind == Step::Kind::Backup) {
        const QFileInfo source(step.source);
        step.skip = !source.exists();
        if (step.skip)
            return Status::success();
        if (!source.isFile())
            return Status::failure(notRegularFile(step.source));
    }
    // Only a step among several can need putting back.
    step.existed = target.exists();
    if (step.existed && steps.size() > 1)
        if (Status old = read(step.path, step.oldBytes, 32 * MaxDataFileSize); !old)
            return old;
    if (step.kind == Step::Kind::Backup) {
        // The old content is already on disk: a second name for it is the backup.
        // Every write replaces a file by a new one, never in place, so the backup
        // keeps the old content. Where links are not possible (a FAT memory stick,
        // another disk), it is copied.
        const QByteArray link = sideName(step.path);
        if (::link(native(step.source).constData(), link.constData()) == 0) {
            step.sideName = link;
            return Status::success();
        }
        if (Status copied = read(step.source, step.bytes); !copied)
            return copied;
    }
    step.file = std::make_unique<QSaveFile>(step.path);
    errno = 0;
    if (!step.file->open(QIODevice::WriteOnly))
        return Status::failure(writeFailedMessage(step.path, lastError(step.path)));
    // Written through the descriptor, past Qt's buffer, so that every failure is
    // seen here with its cause.
    const int fd = step.file->handle();
    int error = writeAll(fd, step.bytes);
    // The content and what is needed to read it back (its size); the new name is
    // made durable by the folder's sync after the renames.
    if (error == 0 && sync == Sync::Durable && ::fdatasync(fd) != 0)
        error = errno;
    if (error == 0 && !step.file->flush())
        error = lastError(step.path);
    if (error != 0)
        return Status::failure(writeFailedMessage(step.path, error));
    return Status::success();
}

int SafeFile::Batch::finish(Step& step)
{
    if (step.skip)
        return 0;
    errno = 0;
    if (step.file) {
        if (!step.file->commit())
            return lastError(step.path);
    } else if (step.kind == Step::Kind::Backup) {
        if (::rename(step.sideName.constData(), native(step.path).constData()) != 0)
            return errno;
        step.sideName.clear();
    } else {
        step.sideName = sideName(step.path);
        if (::rename(native(step.path).constData(), step.sideName.constData()) != 0)
            return errno;
    }
    step.done = true;
    return 0;
}

void SafeFile::Batch::undo(Step& step)
{
    if (!step.done)
        return;
    bool restored = false;
    if (step.kind == Step::Kind::Remove)
        restored = ::rename(step.sideName.constData(), native(step.path).constData()) == 0;
    else if (step.existed)
        restored = bool(SafeFile::write(step.path, step.oldBytes));
    else
        restored = ::unlink(native(step.path).constData()) == 0 || errno == ENOENT;
    step.done = false;
    if (!restored)
        notRestored.append(nameOf(step.path));
}

void SafeFile::Batch::discard()
{
    for (auto& step : steps) {
        if (step->file)
            step->file->cancelWriting();
        step->file.reset();  // removes the temporary file
        if (!step->done && !step->sideName.isEmpty() && step->kind == Step::Kind::Backup)
            ::unlink(step->sideName.constData());
    }
    steps.clear();
}
