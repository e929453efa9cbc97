#include "model/SettingsStore.h"

#include "model/SafeFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMap>
#include <QRandomGenerator>
#include <QSettings>
#include <QVariant>

#include <cerrno>
#include <cstdio>

namespace {

using Contents = QMap<QString, QVariant>;

QString failed(const QString& path, int errnoValue)
{
    return QStringLiteral("設定を保存できませんでした。") + SafeFile::writeFailedMessage(path, errnoValue);
}

// A write QSettings reported as failed, or one it cut short without a word: the
// usual cause is a full disk.
int stagingError(const QString& path)
{
    const int error = SafeFile::probableError(path);
    return error == EIO ? ENOSPC : error;
}

// Every key of the store with its value, as the store holds them now.
Contents contentsOf(QSettings& store)
{
    Contents contents;
    const bool fallbacks = store.fallbacksEnabled();
    store.setFallbacksEnabled(false);
    const QStringList keys = store.allKeys();
    for (const QString& key : keys)
        contents.insert(key, store.value(key));
    store.setFallbacksEnabled(fallbacks);
    return contents;
}

bool holds(QSettings& file, const Contents& wanted)
{
    if (file.status() != QSettings::NoError || file.allKeys().size() != wanted.size())
        return false;
    for (auto it = wanted.cbegin(); it != wanted.cend(); ++it)
        if (file.value(it.key()) != it.value())
            return false;
    return true;
}

// The bytes of a settings file holding `wanted`, as QSettings writes it. It is
// written beside the real file and read back from the disk under a name no
// QSettings object has seen (QSettings would answer from its cache); a file that
// was cut short lacks its last line end or a value.
Status produce(const QString& path, QSettings::Format format, const Contents& wanted, QByteArray& bytes)
{
    const QString staging = QFileInfo(path).absolutePath() + QStringLiteral("/.")
        + QFileInfo(path).fileName() + QLatin1Char('.')
        + QString::number(QRandomGenerator::global()->generate(), 16);
    const QString check = staging + QStringLiteral(".check");
    bool complete = false;
    {
        QSettings out(staging, format);
        for (auto it = wanted.cbegin(); it != wanted.cend(); ++it)
            out.setValue(it.key(), it.value());
        out.sync();
        complete = out.status() == QSettings::NoError;
    }
    if (complete)
        complete = QFile::rename(staging, check) && SafeFile::read(check, bytes, 4 * SafeFile::MaxDataFileSize)
            && (wanted.isEmpty() || bytes.endsWith('\n'));
    if (complete) {
        QSettings reread(check, format);
        complete = holds(reread, wanted);
    }
    QFile::remove(staging);
    QFile::remove(check);
    if (!complete)
        return Status::failure(failed(path, stagingError(path)));
    return Status::success();
}

}  // namespace

Status SettingsStore::write(QSettings& store, const Values& values, const QStringList& removed)
{
    Q_ASSERT(store.group().isEmpty());
    const QString path = store.fileName();
    errno = 0;
    if (!SafeFile::makeFolders(QFileInfo(path).absolutePath()))
        return Status::failure(failed(path, errno != 0 ? errno : SafeFile::probableError(path)));

    Contents wanted = contentsOf(store);
    for (const QString& key : removed)
        wanted.remove(key);
    for (const auto& [key, value] : values)
        wanted.insert(key, value);
    QByteArray bytes;
    if (Status produced = produce(path, store.format(), wanted, bytes); !produced)
        return produced;

    // The lock QSettings itself takes while it writes this file.
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(5000))
        return Status::failure(failed(path, stagingError(path)));
    const QDateTime before = QFileInfo(path).lastModified();
    if (Status written = SafeFile::write(path, bytes); !written)
        return Status::failure(QStringLiteral("設定を保存できませんでした。") + written.message);
    // The store reads the file again when its size or time differs from what it
    // read last; a new file written within the same millisecond gets a later time.
    if (before.isValid() && QFileInfo(path).lastModified() == before) {
        QFile file(path);
        if (file.open(QIODevice::Append))
            file.setFileTime(before.addMSecs(1), QFileDevice::FileModificationTime);
    }
    lock.unlock();
    store.sync();
    return Status::success();
}
