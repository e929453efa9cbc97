#include "model/NewClassCopy.h"

#include "model/AttendanceFile.h"
#include "model/ClassFile.h"
#include "model/DataFolder.h"
#include "model/SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

// The names, in lower case, of the files a new class empties or overwrites.
QSet<QString> classFileNames(const ClassData& data)
{
    QSet<QString> names;
    auto addUnit = [&](int unit) {
        const QString stem = data.fileStem[unit].toLower();
        names << stem + QStringLiteral(".dat") << stem + QStringLiteral(".bak");
    };
    if (data.specialistMode) {
        const QString stem = data.fileStem[data.classNumber].toLower();
        names << stem + QStringLiteral(".nam") << stem + QStringLiteral(".nbk");
        addUnit(data.classNumber);
    } else {
        names << QStringLiteral("class.nam") << QStringLiteral("class.nbk") << QStringLiteral("class.bak");
        for (int unit = 1; unit <= Limits::Units; ++unit)
            addUnit(unit);
        names << AttendanceFile::fileName().toLower() << QStringLiteral("shuketu.bak");
    }
    names << ClassFile::fileName().toLower() << ClassFile::backupName().toLower();
    return names;
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(path));
}

Status copyFailed(const QString& folder, const QString& detail)
{
    return Status::failure(QStringLiteral("今のクラスのファイルをフォルダ「%1」にコピーできませんでした。"
                                          "新規クラスは作成されていません。\n%2")
                               .arg(shown(folder), detail));
}

// Writes one copy and reads it back: a copy that the disk cut short is no copy.
Status copyOne(const QString& from, const QString& to)
{
    QByteArray bytes;
    if (!SafeFile::read(from, bytes))
        return Status::failure(QStringLiteral("ファイル「%1」を読み込めませんでした。").arg(QFileInfo(from).fileName()));
    if (Status written = SafeFile::write(to, bytes); !written)
        return written;
    QByteArray back;
    if (!SafeFile::read(to, back) || back != bytes)
        return Status::failure(SafeFile::writeFailedMessage(to));
    return Status::success();
}

}  // namespace

QString NewClass::earlierClassesName()
{
    return QStringLiteral("以前のクラス");
}

QStringList NewClass::classFiles(const ClassData& data)
{
    const QString folder = DataFolder::withSlash(data.dataFolder);
    const QSet<QString> names = classFileNames(data);
    QStringList files;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& entry : entries)
        if (names.contains(entry.fileName().toLower()))
            files << folder + entry.fileName();
    return files;
}

QString NewClass::copyFolder(const ClassData& data, const QDateTime& when)
{
    const QString base = DataFolder::withSlash(data.dataFolder) + earlierClassesName() + QLatin1Char('/')
        + when.toString(QStringLiteral("yyyy-MM-dd_HHmm"));
    QString folder = base;
    for (int n = 2; QFileInfo::exists(folder); ++n)
        folder = base + QStringLiteral("_%1").arg(n);
    return folder + QLatin1Char('/');
}

Status NewClass::copyFiles(const QStringList& files, const QString& folder)
{
    const QString target = DataFolder::withSlash(folder);
    const QString parent = QFileInfo(QDir::cleanPath(target)).absolutePath();
    const bool madeParent = !QFileInfo(parent).isDir();
    bool madeTarget = false;
    auto undo = [&] {
        if (madeTarget)
            QDir(target).removeRecursively();
        if (madeParent)
            QDir().rmdir(parent);
    };
    // A folder that exists already belongs to an earlier copy: it is never written
    // into. Each folder made is synced into its parent before anything depends on
    // it, so that the copies cannot be lost with it in a power cut.
    if (QFileInfo::exists(QDir::cleanPath(target)) || (madeParent && !SafeFile::makeFolder(parent))
        || !(madeTarget = bool(SafeFile::makeFolder(target)))) {
        undo();
        return copyFailed(target, QStringLiteral("フォルダを作成できませんでした。ディスクの空き容量と書き込みの権限を確認してください。"));
    }
    for (const QString& file : files)
        if (Status copied = copyOne(file, target + QFileInfo(file).fileName()); !copied) {
            undo();
            return copyFailed(target, copied.message);
        }
    return Status::success();
}
