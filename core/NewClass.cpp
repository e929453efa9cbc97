#include "core/NewClass.h"

#include "core/AttendanceFile.h"
#include "core/DataFolder.h"
#include "core/RosterFile.h"
#include "core/SafeFile.h"
#include "core/ScoreFile.h"

#include <QFile>
#include <QFileInfo>
#include <vector>

namespace {

struct Replaced {
    QString path;        // the data file, resolved in the folder
    QString backupPath;  // its backup name, resolved in the folder
    QByteArray emptied;  // the content it is given; empty: the file is removed
    bool existed = false;
    QByteArray original;
};

QString readFailed(const QString& path)
{
    return QStringLiteral("ファイル「%1」を読み込めませんでした。新規クラスは作成されていません。").arg(QFileInfo(path).fileName());
}

// Puts back the first `count` files of the plan as they were.
void restore(const std::vector<Replaced>& plan, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const Replaced& file = plan[i];
        if (file.existed)
            SafeFile::write(file.path, file.original);
        else
            QFile::remove(file.path);
    }
}

}  // namespace

Status NewClass::clearFiles(const ClassData& data)
{
    const QString folder = DataFolder::withSlash(data.DataPath);
    std::vector<Replaced> plan;
    auto add = [&](const QString& name, const QString& backupName, const QByteArray& emptied) {
        Replaced file;
        file.path = DataFolder::resolve(folder, name);
        file.backupPath = DataFolder::resolve(folder, backupName);
        file.emptied = emptied;
        plan.push_back(file);
    };

    add(RosterFile::fileName(data), data.SenkaMode ? RosterFile::backupName(data) : QStringLiteral("Class.NBk"),
        RosterFile::emptyFile());
    if (data.SenkaMode) {
        add(ScoreFile::fileName(data, data.ClassNumber), ScoreFile::backupName(data, data.ClassNumber), ScoreFile::emptyFile());
    } else {
        for (int unit = 1; unit <= Limits::Units; ++unit)
            add(ScoreFile::fileName(data, unit), ScoreFile::backupName(data, unit), ScoreFile::emptyFile());
        add(AttendanceFile::fileName(), QStringLiteral("shuketu.bak"), QByteArray());
    }

    // Read everything first, so that nothing is touched when a file cannot be read.
    for (Replaced& file : plan) {
        file.existed = QFileInfo(file.path).isFile();
        if (file.existed && !SafeFile::read(file.path, file.original))
            return Status::failure(readFailed(file.path));
    }
    // The backups, before any data file changes.
    for (const Replaced& file : plan)
        if (file.existed)
            if (Status saved = SafeFile::write(file.backupPath, file.original); !saved)
                return Status::failure(saved.message + QStringLiteral("新規クラスは作成されていません。"));
    // The emptied files; the attendance file is removed (its copy is in "shuketu.bak").
    for (size_t i = 0; i < plan.size(); ++i) {
        const Replaced& file = plan[i];
        Status done = Status::success();
        if (!file.emptied.isEmpty())
            done = SafeFile::write(file.path, file.emptied);
        else if (file.existed && !QFile::remove(file.path))
            done = Status::failure(SafeFile::writeFailedMessage(file.path));
        if (!done) {
            restore(plan, i);
            return Status::failure(done.message + QStringLiteral("新規クラスは作成されていません。"));
        }
    }
    return Status::success();
}
