#include "model/NewClass.h"

#include "model/AttendanceFile.h"
#include "model/ClassFile.h"
#include "model/DataFolder.h"
#include "model/RosterFile.h"
#include "model/SafeFile.h"
#include "model/ScoreFile.h"

#include <vector>

namespace {

struct Replaced {
    QString path;        // the data file, resolved in the folder
    QString backupPath;  // its backup name, resolved in the folder
    QByteArray emptied;  // the content it is given; empty: the file is removed
};

}  // namespace

Status NewClass::storeNames(const ClassData& data)
{
    QByteArray roster;
    if (Status built = RosterFile::build(data.pupilCount, data.pupilName, roster); !built)
        return built;
    SafeFile::Batch batch;
    batch.describe(QStringLiteral("氏名の保存（入力終了）"));
    const QString rosterPath = RosterFile::path(data);
    batch.backup(rosterPath, DataFolder::resolve(data.dataFolder, RosterFile::backupName(data)));
    batch.write(rosterPath, roster);
    if (!data.specialistMode)
        batch.write(AttendanceFile::path(data), AttendanceFile::buildZeros(data.pupilCount));
    const Status done = batch.commit();
    if (done || !batch.unrestored().isEmpty())
        return done;
    return Status::failure(done.message + QStringLiteral("\n\n氏名は保存されていません。ファイルはすべて元のままです。"));
}

Status NewClass::clearFiles(const ClassData& data)
{
    const QString folder = DataFolder::withSlash(data.dataFolder);
    std::vector<Replaced> plan;
    auto add = [&](const QString& name, const QString& backupName, const QByteArray& emptied) {
        plan.push_back({DataFolder::resolve(folder, name), DataFolder::resolve(folder, backupName), emptied});
    };

    add(RosterFile::fileName(data), data.specialistMode ? RosterFile::backupName(data) : QStringLiteral("Class.NBk"),
        RosterFile::emptyFile());
    if (data.specialistMode) {
        add(ScoreFile::fileName(data, data.classNumber), ScoreFile::backupName(data, data.classNumber), ScoreFile::emptyFile());
    } else {
        for (int unit = 1; unit <= Limits::Units; ++unit)
            add(ScoreFile::fileName(data, unit), ScoreFile::backupName(data, unit), ScoreFile::emptyFile());
        add(AttendanceFile::fileName(), AttendanceFile::backupName(), QByteArray());
    }

    // The class file starts empty: in homeroom mode it goes (its copy is in
    // "assessment.bak"); a specialist's keeps the other classes. One that cannot be
    // read cannot lose one class alone.
    ClassFile::Content classFile;
    if (Status read = ClassFile::read(data, classFile); !read && data.specialistMode)
        return Status::failure(read.message + QStringLiteral("\n\nファイルはすべて元のままです。新規クラスは作成されていません。"));
    QJsonObject root = classFile.root;
    ClassFile::removeUnit(root, data.fileStem[data.classNumber]);

    // One batch: the backups before any data file changes, then the emptied files;
    // the attendance file is removed (its copy is in "shuketu.bak"). Nothing changes
    // unless every step can be made.
    SafeFile::Batch batch;
    batch.describe(QStringLiteral("新規クラスの作成"));
    for (const Replaced& file : plan)
        batch.backup(file.path, file.backupPath);
    for (const Replaced& file : plan) {
        if (file.emptied.isEmpty())
            batch.remove(file.path);
        else
            batch.write(file.path, file.emptied);
    }
    if (!data.specialistMode) {
        batch.backup(ClassFile::path(data), ClassFile::backupPath(data));
        batch.remove(ClassFile::path(data));
    } else {
        ClassFile::addTo(batch, data, classFile, root);
    }
    const Status done = batch.commit();
    if (done)
        return done;
    if (!batch.unrestored().isEmpty())
        return Status::failure(done.message + QStringLiteral("\n\n次のファイルを元に戻せませんでした。\n")
                               + batch.unrestored().join(QStringLiteral("、"))
                               + QStringLiteral("\nデータフォルダをほかの場所にコピーしてから、バックアップファイルを確かめてください。"));
    return Status::failure(done.message + QStringLiteral("\n\nファイルはすべて元のままです。新規クラスは作成されていません。"));
}

QString NewClass::noPupilsMessage()
{
    return QStringLiteral("クラス人数が0のままです.「ﾌｧｲﾙ」の「かざね使用環境の設定」（ツールバーの「設定」）を開き、"
                          "「新規ｸﾗｽ」を押して氏名を入力してください.");
}

QString NewClass::namesMissingMessage()
{
    return QStringLiteral("氏名データを入力してください.「新規ｸﾗｽ」を押して氏名を入力し、「入力終了」を押してください.");
}
