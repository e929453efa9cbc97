#include "model/SafeFileSystem.h"

#include "model/SafeFile.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {

std::atomic<qint64> syncs = 0;

// File systems that keep no order among the changes of names they write out.
constexpr unsigned long FatMagic = 0x4d44;         // vfat, msdos
constexpr unsigned long ExfatMagic = 0x2011bab0;
constexpr unsigned long FuseMagic = 0x65735546;    // exFAT, NTFS and others through FUSE

}  // namespace

qint64 SafeFile::syncCount()
{
    return syncs.load();
}

QByteArray SafeFile::System::native(const QString& path)
{
    return QFile::encodeName(path);
}

int SafeFile::System::writeAll(int fd, const QByteArray& bytes, bool durable)
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
            error = ENOSPC;
        } else {
            data += n;
            left -= n;
        }
    }
    // The content and what is needed to read it back (its size); the new name is
    // made durable by the folder's sync.
    if (error == 0 && durable) {
        ++syncs;
        if (::fdatasync(fd) != 0 && errno != EINVAL && errno != ENOTSUP)
            error = errno;
    }
    if (::close(fd) != 0 && error == 0 && errno != EINTR)
        error = errno;
    return error;
}

void SafeFile::System::syncFolder(const QString& folder)
{
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ++syncs;
        ::fsync(fd);
        ::close(fd);
    }
}

bool SafeFile::System::keepsOrder(const QString& folder)
{
    struct statfs info {};
    if (::statfs(native(folder).constData(), &info) != 0)
        return false;
    const auto type = static_cast<unsigned long>(info.f_type);
    return type != FatMagic && type != ExfatMagic && type != FuseMagic;
}
