#include "core/BackupCopy.h"

#include "core/DataFolder.h"
#include "core/SafeFile.h"

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

Status BackupCopy::copyFiles(const QString& source, const QStringList& names, const QString& target, int& copied)
{
    copied = 0;
    for (const QString& name : names) {
        const QString from = DataFolder::withSlash(source) + name;
        QByteArray bytes;
        if (!SafeFile::read(from, bytes))
            return Status::failure(QStringLiteral("ファイル「%1」を読み込めませんでした。").arg(name));
        const QString to = DataFolder::resolve(target, name);
        if (Status written = SafeFile::write(to, bytes); !written)
            return written;
        // The copy keeps the time the data was last changed, as a copy in the file
        // manager would.
        QFile copy(to);
        if (copy.open(QIODevice::Append))
            copy.setFileTime(QFileInfo(from).lastModified(), QFileDevice::FileModificationTime);
        ++copied;
    }
    return Status::success();
}
