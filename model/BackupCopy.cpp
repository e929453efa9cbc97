#include "model/BackupCopy.h"

#include "model/ClassFile.h"
#include "model/DataFolder.h"
#include "model/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {

QString canonical(const QString& folder)
{
    const QString path = QFileInfo(folder).canonicalFilePath();
    return path.isEmpty() ? QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) : path;
}

}  // namespace

QStringList BackupCopy::matching(const QString& folder, const QString& extension)
{
    QStringList found;
    const QDir dir(folder);
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& entry : entries)
        if (entry.suffix().compare(extension, Qt::CaseInsensitive) == 0 && !entry.completeBaseName().isEmpty())
            found.append(entry.fileName());
    return found;
}

QStringList BackupCopy::classFileNames(const QString& folder)
{
    QStringList found;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& entry : entries)
        if (entry.fileName().compare(ClassFile::fileName(), Qt::CaseInsensitive) == 0)
            found.append(entry.fileName());
    return found;
}

QString BackupCopy::targetProblem(const QString& dataFolder, const QString& target)
{
    const QFileInfo info(target);
    if (!info.isDir())
        return QStringLiteral("「%1」はフォルダではありません。バックアップ先フォルダを指定し直してください。").arg(target);
    if (canonical(target) == canonical(dataFolder))
        return QStringLiteral("バックアップ先に、かざねデータフォルダと同じフォルダは指定できません。別のフォルダを指定してください。");
    QTemporaryFile probe(DataFolder::withSlash(target) + QStringLiteral("kazane_XXXXXX.tmp"));
    if (!probe.open())
        return QStringLiteral("バックアップ先フォルダ「%1」に書き込めません。書き込みのできるフォルダを指定してください。").arg(target);
    return {};
}

QString BackupCopy::proposedFolder(const QString& dataFolder, const QString& storedFolder, const QString& documentsFolder)
{
    if (!storedFolder.trimmed().isEmpty() && canonical(storedFolder.trimmed()) != canonical(dataFolder))
        return storedFolder;
    return QDir(documentsFolder).filePath(QStringLiteral("かざねバックアップ"));
}

Status BackupCopy::copyFiles(const QString& source, const QStringList& names, const QString& target)
{
    SafeFile::Batch batch;
    QStringList copies;
    for (const QString& name : names) {
        QByteArray bytes;
        if (Status read = SafeFile::read(DataFolder::withSlash(source) + name, bytes); !read)
            return read;
        copies.append(DataFolder::resolve(target, name));
        batch.write(copies.last(), bytes);
    }
    if (Status written = batch.commit(); !written) {
        if (batch.unrestored().isEmpty())
            return Status::failure(written.message + QStringLiteral("\nバックアップ先の前回のバックアップは元のままです。"));
        return Status::failure(written.message + QStringLiteral("\nバックアップ先の次のファイルは、前回のバックアップと今回のものが混ざっています。\n")
                               + batch.unrestored().join(QStringLiteral("、")));
    }
    // Each copy keeps the time the data was last changed, as a copy in the file
    // manager would.
    for (int i = 0; i < names.size(); ++i) {
        QFile copy(copies[i]);
        if (copy.open(QIODevice::Append))
            copy.setFileTime(QFileInfo(DataFolder::withSlash(source) + names[i]).lastModified(),
                             QFileDevice::FileModificationTime);
    }
    return Status::success();
}
