#include "FailingDisk.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>
#include <QUuid>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    previousSoft = limit.rlim_cur;
    limit.rlim_cur = rlim_t(bytes);
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
        qFatal("FileSizeLimit: setrlimit failed");
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(previousSoft);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previousHandler);
}

LinkLimit::LinkLimit(const QString& file)
{
    const QFileInfo info(file);
    folder = info.absolutePath() + QStringLiteral("/links-") + QUuid::createUuid().toString(QUuid::Id128);
    if (!QDir().mkpath(folder))
        return;
    const QByteArray source = QFile::encodeName(info.absoluteFilePath());
    const QByteArray base = QFile::encodeName(folder) + '/';
    // Far past every limit a data disk has; a file system without one is skipped.
    for (int n = 0; n < 70000; ++n) {
        if (::link(source.constData(), (base + QByteArray::number(n)).constData()) != 0) {
            reached = errno == EMLINK;
            return;
        }
    }
}

LinkLimit::~LinkLimit()
{
    if (!folder.isEmpty())
        QDir(folder).removeRecursively();
}

SmallDisk::SmallDisk(qint64 bytes, const QString& parent)
{
    const QString base = parent.isEmpty() ? QDir::tempPath() : parent;
    mountPoint = QDir(base).filePath(QStringLiteral("smalldisk-") + QUuid::createUuid().toString(QUuid::Id128)) + QLatin1Char('/');
    if (!QDir().mkpath(mountPoint))
        return;
    ownsFolder = true;
    if (geteuid() != 0)
        return;
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0777";
    mounted = ::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, options.constData()) == 0;
}

SmallDisk::~SmallDisk()
{
    if (mounted)
        ::umount2(QFile::encodeName(mountPoint).constData(), MNT_DETACH);
    if (ownsFolder)
        QDir(mountPoint).removeRecursively();
}

bool SmallDisk::fill(qint64 leave)
{
    if (!mounted)
        return false;
    const QByteArray filler = QFile::encodeName(mountPoint + QStringLiteral(".filler"));
    const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0)
        return false;
    struct statvfs info{};
    if (::statvfs(QFile::encodeName(mountPoint).constData(), &info) == 0) {
        qint64 toWrite = qint64(info.f_bavail) * qint64(info.f_frsize) - leave;
        const QByteArray block(4096, 'x');
        while (toWrite > 0) {
            const ssize_t n = ::write(fd, block.constData(), size_t(qMin<qint64>(toWrite, block.size())));
            if (n <= 0)
                break;
            toWrite -= n;
        }
    }
    ::close(fd);
    return true;
}

void SmallDisk::release()
{
    QFile::remove(mountPoint + QStringLiteral(".filler"));
}
