#include "model/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

QString readFailed(const QString& path, const QString& cause)
{
    return QStringLiteral("データファイル「%1」を読み込めませんでした。%2。").arg(nameOf(path), cause);
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

QString SafeFile::notRegularFileMessage(const QString& path)
{
    return QStringLiteral("「%1」は普通のファイルではない（フォルダや特殊なファイルです）ので、読み込みませんでした。このファイルは書き換えていません。")
        .arg(nameOf(path));
}

QString SafeFile::outputFailedMessage(const QString& path, int errnoValue)
{
    return QStringLiteral("ファイル「%1」に保存できませんでした。%2。").arg(QDir::toNativeSeparators(path), describeError(errnoValue));
}

QString SafeFile::sameOutputMessage(const QString& path)
{
    return QStringLiteral("同じファイル「%1」に二つの出力を保存することはできません。").arg(QDir::toNativeSeparators(path));
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
        refusal = SafeFile::notRegularFileMessage(path);
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
