#include "model/DataFolderLock.h"

#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>

namespace {

QString canonicalFolder(const QString& folder)
{
    const QFileInfo info(folder);
    return info.isDir() ? info.canonicalFilePath() : QString();
}

}  // namespace

DataFolderLock::DataFolderLock() = default;

DataFolderLock::~DataFolderLock() = default;

QString DataFolderLock::fileName()
{
    return QStringLiteral("kazane.lock");
}

DataFolderLock::Outcome DataFolderLock::take(const QString& folder)
{
    release();
    lastHolder = Holder();
    const QString canonical = canonicalFolder(folder);
    if (canonical.isEmpty())
        return Outcome::NoFolder;
    const QString path = canonical + QLatin1Char('/') + fileName();
    auto candidate = std::make_unique<QLockFile>(path);
    // A program keeps its folder open for hours: age alone never makes a lock
    // stale. QLockFile still takes over a lock whose process is gone from this
    // computer, which is what a crash leaves behind.
    candidate->setStaleLockTime(0);
    if (candidate->tryLock(0)) {
        lock = std::move(candidate);
        lockedFolder = canonical;
        return Outcome::Taken;
    }
    if (candidate->error() != QLockFile::LockFailedError)
        return Outcome::NotWritable;
    QString computer;
    QString application;
    if (candidate->getLockInfo(&lastHolder.pid, &computer, &application)) {
        lastHolder.computer = computer;
        lastHolder.thisComputer = !computer.isEmpty() && computer == QSysInfo::machineHostName();
    }
    const QFileInfo lockFile(path);
    if (lockFile.exists())
        lastHolder.since = lockFile.lastModified();
    return Outcome::HeldByOther;
}

void DataFolderLock::release()
{
    if (lock)
        lock->unlock();
    lock.reset();
    lockedFolder.clear();
}

bool DataFolderLock::holds(const QString& folder) const
{
    return lock && !lockedFolder.isEmpty() && canonicalFolder(folder) == lockedFolder;
}
