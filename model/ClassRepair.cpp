#include "model/ClassRepair.h"

#include "model/AttendanceFile.h"
#include "model/ClassCheck.h"
#include "model/ClassFile.h"
#include "model/DataFolder.h"
#include "model/RosterFile.h"
#include "model/SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

namespace {

// A data file of the class and the name of its backup (empty when it has none).
struct DataFile {
    QString name;
    QString backupName;
};

QList<DataFile> classFiles(const ClassData& data)
{
    QList<DataFile> files;
    for (int unit = 1; unit <= Limits::Units; ++unit) {
        const QString stem = data.fileStem[unit];
        if (data.specialistMode)
            files.append({stem + QStringLiteral(".nam"), stem + QStringLiteral(".NBk")});
        files.append({stem + QStringLiteral(".dat"), stem + QStringLiteral(".Bak")});
    }
    if (!data.specialistMode) {
        files.append({RosterFile::fileName(data), RosterFile::backupName(data)});
        files.append({AttendanceFile::fileName(), AttendanceFile::backupName()});
    }
    // The class file's backup is not offered: after 新規ｸﾗｽ it holds the class
    // before, while a class without a class file is whole.
    files.append({ClassFile::fileName(), {}});
    return files;
}

const DataFile* findFile(const QList<DataFile>& files, const QString& name)
{
    for (const DataFile& file : files)
        if (file.name.compare(name, Qt::CaseInsensitive) == 0)
            return &file;
    return nullptr;
}

// A score file of a unit the class file keeps something of is saved together with
// the class file: a stop before the class file's new content was begun leaves no
// sign of it, so that the score file's new content alone may not agree with it.
bool savedWithClassFile(const QJsonObject& units, const QString& name)
{
    return name.endsWith(QStringLiteral(".dat"), Qt::CaseInsensitive) && !units.value(QFileInfo(name).completeBaseName()).toObject().isEmpty();
}

// The file whose backup is `name` ("算数.Bak", "assessment.bak").
const DataFile* fileOfBackup(const QList<DataFile>& files, const QString& name)
{
    for (const DataFile& file : files)
        if (file.backupName.isEmpty() ? file.name == ClassFile::fileName() && name.compare(ClassFile::backupName(), Qt::CaseInsensitive) == 0
                                      : file.backupName.compare(name, Qt::CaseInsensitive) == 0)
            return &file;
    return nullptr;
}

QByteArray bytesOf(const QString& path)
{
    QByteArray bytes;
    if (!QFileInfo(path).isFile() || !SafeFile::read(path, bytes))
        return {};
    return bytes;
}

// The pupils of the roster the file belongs to (0 when it has none or cannot be read).
int pupilsOfClassOf(const ClassData& data, const QString& name)
{
    QString roster = RosterFile::fileName(data);
    if (data.specialistMode)
        roster = QFileInfo(name).completeBaseName() + QStringLiteral(".nam");
    int count = 0;
    std::array<QString, Limits::Pupils + 1> names;
    const QByteArray bytes = bytesOf(DataFolder::resolve(data.dataFolder, roster));
    return !bytes.isEmpty() && RosterFile::parse(bytes, roster, count, names) ? count : 0;
}

qint64 writerOf(const QString& temporary)
{
    static const QRegularExpression pid(QStringLiteral("kazane-(\\d+)-\\d+\\.tmp"));
    return pid.match(temporary).captured(1).toLongLong();
}

// A leftover that holds a content of a class file other than the file's own.
struct Leftover {
    const DataFile* file;
    QString path;
};

// Sorts the folder's leftovers: those holding a content of their file that differs
// from it are returned; the rest go to `stale`. Several such leftovers of one
// program belong to a change of several files that never took place: stale too.
QList<Leftover> changedLeftovers(const ClassData& data, const QList<DataFile>& files, QStringList& stale)
{
    const QStringList temporaries = SafeFile::abandonedTemporariesIn(data.dataFolder);
    if (temporaries.isEmpty())
        return {};  // the usual start: nothing to sort, the class file left unread
    // The units the class file keeps something of.
    QJsonObject classFile;
    ClassFile::parse(bytesOf(ClassFile::path(data)), ClassFile::fileName(), classFile);
    const QJsonObject units = classFile.value(QStringLiteral("subjects")).toObject();
    QMap<qint64, QList<Leftover>> byWriter;
    // Every data file a writer left a temporary of (of its new content or its
    // backup), whatever the temporary holds.
    QMap<qint64, QSet<QString>> filesOfWriter;
    for (const QString& path : temporaries) {
        const DataFile* file = findFile(files, SafeFile::temporaryOwner(QFileInfo(path).fileName()));
        const QByteArray bytes = file ? bytesOf(path) : QByteArray();
        const QString filePath = file ? DataFolder::resolve(data.dataFolder, file->name) : QString();
        if (const DataFile* changing = file ? file : fileOfBackup(files, SafeFile::temporaryOwner(QFileInfo(path).fileName())))
            filesOfWriter[writerOf(path)].insert(changing->name);
        if (!file || bytes.isEmpty() || (QFileInfo::exists(filePath) && bytesOf(filePath) == bytes)
            || savedWithClassFile(units, file->name))
            stale << path;
        else
            byWriter[writerOf(path)].append({file, path});
    }
    // A writer that was writing several data files (a score file and the class
    // file, a transfer) stopped before its change began: one of its new contents
    // alone would not agree with the rest.
    QList<Leftover> changed;
    for (auto it = byWriter.begin(); it != byWriter.end(); ++it) {
        if (filesOfWriter.value(it.key()).size() == 1)
            changed << it->first();
        else
            for (const Leftover& leftover : std::as_const(*it))
                stale << leftover.path;
    }
    return changed;
}

ClassRepair::Copy copyOf(const QString& filePath, const QString& copyPath, bool leftover)
{
    ClassRepair::Copy copy;
    copy.file = filePath;
    copy.fileName = QFileInfo(filePath).fileName();
    copy.copy = copyPath;
    copy.modified = QFileInfo(copyPath).lastModified();
    copy.missing = !QFileInfo::exists(filePath);
    copy.leftover = leftover;
    return copy;
}

}  // namespace

ClassRepair::Survey ClassRepair::survey(const ClassData& data)
{
    Survey found;
    const QList<DataFile> files = classFiles(data);
    const QList<Leftover> leftovers = changedLeftovers(data, files, found.stale);
    for (const DataFile& file : files) {
        const QString filePath = DataFolder::resolve(data.dataFolder, file.name);
        const bool missing = !QFileInfo::exists(filePath);
        QList<Copy> candidates;
        bool signs = false;  // a copy shows that the file existed
        for (const Leftover& leftover : leftovers) {
            if (leftover.file != &file)
                continue;
            signs = true;
            const Copy copy = copyOf(filePath, leftover.path, true);
            const bool newer = missing || copy.modified > QFileInfo(filePath).lastModified();
            if (newer && ClassCheck::fitsClass(data, file.name, bytesOf(leftover.path)))
                candidates << copy;
            else
                found.stale << leftover.path;
        }
        if (missing && !file.backupName.isEmpty() && DataFolder::exists(data.dataFolder, file.backupName)) {
            signs = true;
            const QString backup = DataFolder::resolve(data.dataFolder, file.backupName);
            if (ClassCheck::fitsClass(data, file.name, bytesOf(backup)))
                candidates << copyOf(filePath, backup, false);
        }
        if (!candidates.isEmpty()) {
            std::sort(candidates.begin(), candidates.end(),
                      [](const Copy& a, const Copy& b) { return a.modified > b.modified; });
            found.offers << candidates.first();
            for (int i = 1; i < candidates.size(); ++i)
                if (candidates[i].leftover)
                    found.stale << candidates[i].copy;
        } else if (missing && signs && !file.backupName.isEmpty()) {
            // A copy that belongs to another class (the one before 新規ｸﾗｽ) shows
            // nothing of a class without pupils. A class without its class file is
            // whole (every weight 1, nothing overruled): it is not lost.
            const bool isRoster = file.name.endsWith(QStringLiteral(".nam"), Qt::CaseInsensitive);
            if (isRoster || pupilsOfClassOf(data, file.name) > 0)
                found.lost << file.name;
        }
    }
    return found;
}

Status ClassRepair::bringBack(const ClassData& data, const Copy& copy)
{
    QByteArray bytes;
    if (Status read = SafeFile::read(copy.copy, bytes); !read)
        return read;
    const QList<DataFile> files = classFiles(data);
    const DataFile* file = findFile(files, copy.fileName);
    Status written;
    if (!copy.missing && file && !file->backupName.isEmpty())
        written = SafeFile::writeWithBackup(copy.file, DataFolder::resolve(data.dataFolder, file->backupName), bytes);
    else
        written = SafeFile::write(copy.file, bytes);
    if (written && copy.leftover)
        QFile::remove(copy.copy);
    return written;
}

void ClassRepair::dismiss(const Copy& copy)
{
    if (copy.leftover)
        QFile::remove(copy.copy);
}

void ClassRepair::removeStale(const Survey& survey)
{
    for (const QString& path : survey.stale)
        QFile::remove(path);
}
