#include "model/Transfer.h"

#include "model/AttendanceFile.h"
#include "model/ClassFile.h"
#include "model/Cp932.h"
#include "model/DataFolder.h"
#include "model/RosterFile.h"
#include "model/SafeFile.h"
#include "model/ScoreFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstring>

namespace {

// A file as it is before the transfer: whether it exists and its bytes.
Status readOld(const QString& path, bool& existed, QByteArray& bytes)
{
    existed = QFileInfo::exists(path);  // a named pipe or a folder is refused by the read
    bytes.clear();
    if (existed)
        return SafeFile::read(path, bytes);
    return Status::success();
}

// Adds the file's new content, after the copy of its old bytes to its backup name
// when it exists.
void addFile(Transfer::Plan& plan, const QString& path, bool existed, const QByteArray& oldBytes,
             const QString& backupPath, const QByteArray& newBytes)
{
    if (existed)
        plan.writes.push_back({backupPath, oldBytes});
    plan.writes.push_back({path, newBytes});
}

enum class Direction { In, Out };

// The score files of the class: all nine subjects in homeroom mode, whether in use
// or not; the current class's one file in specialist mode.
std::vector<int> classUnits(const ClassData& data)
{
    if (data.specialistMode)
        return {data.classNumber};
    std::vector<int> units;
    for (int unit = 1; unit <= Limits::Units; ++unit)
        units.push_back(unit);
    return units;
}

Status planScores(const ClassData& data, Direction direction, int n, Transfer::Plan& plan)
{
    const int pupils = data.pupilCount;
    const int newPupils = direction == Direction::In ? pupils + 1 : pupils - 1;
    const std::vector<int> units = classUnits(data);
    // Every file must be there before any is read or written.
    for (int unit : units)
        if (!QFileInfo::exists(ScoreFile::path(data, unit)))
            return Status::failure(ScoreFile::missingMessage(data.fileStem[unit]));

    auto set = std::make_unique<TestSet>();
    for (int unit : units) {
        const QString path = ScoreFile::path(data, unit);
        QByteArray oldBytes;
        bool existed = false;
        if (Status read = readOld(path, existed, oldBytes); !read)
            return read;
        if (Status parsed = ScoreFile::parse(oldBytes, ScoreFile::fileName(data, unit), pupils, *set); !parsed)
            return parsed;
        if (direction == Direction::In)
            Transfer::insertAbsentPupil(*set, pupils, n);
        else
            Transfer::removePupil(*set, pupils, n);
        QByteArray newBytes;
        if (Status built = ScoreFile::build(*set, newPupils, newBytes); !built)
            return built;
        const QString backupPath = DataFolder::resolve(data.dataFolder, data.fileStem[unit] + QStringLiteral(".bak"));
        addFile(plan, path, existed, oldBytes, backupPath, newBytes);
        if (unit == data.currentUnit())
            plan.currentSet = std::make_unique<TestSet>(*set);
    }
    return Status::success();
}

// The class file: the 未入力 cells and overrulings of every unit the transfer
// rewrites follow their pupils, in the same batch as the score files. A class file
// that cannot be read stops the transfer: its pupils would no longer match.
Status planClassFile(const ClassData& data, Direction direction, int n, Transfer::Plan& plan)
{
    ClassFile::Content content;
    if (Status read = ClassFile::read(data, content); !read)
        return Status::failure(read.message + QStringLiteral("\n\n") + plan.title
                               + QStringLiteral("は行われませんでした。このファイルを直してから、もう一度行ってください。"));
    QJsonObject root = content.root;
    for (int unit : classUnits(data)) {
        if (direction == Direction::In)
            ClassFile::insertPupil(root, data.fileStem[unit], n);
        else
            ClassFile::removePupil(root, data.fileStem[unit], n);
    }
    if (ClassFile::changes(content, root))
        addFile(plan, ClassFile::path(data), content.existed, content.bytes, ClassFile::backupPath(data),
                ClassFile::build(root));
    const int newPupils = direction == Direction::In ? data.pupilCount + 1 : data.pupilCount - 1;
    if (plan.currentSet)
        ClassFile::apply(root, data.unitName(), newPupils, *plan.currentSet, plan.overrulings);
    return Status::success();
}

Status planAttendance(const ClassData& data, Direction direction, int n, int transferMonth, Transfer::Plan& plan)
{
    plan.withAttendance = true;
    const int pupils = data.pupilCount;
    auto work = std::make_unique<ClassData>();
    const QString path = AttendanceFile::path(data);
    bool existed = false;
    QByteArray oldBytes;
    if (Status read = readOld(path, existed, oldBytes); !read)
        return read;
    if (existed) {
        // The file, not the model, is what the new file must agree with.
        if (Status parsed = AttendanceFile::parse(oldBytes, pupils, *work); !parsed)
            return parsed;
    } else {
        std::memcpy(work->lessonDays, data.lessonDays, sizeof work->lessonDays);
        std::memcpy(work->attendance, data.attendance, sizeof work->attendance);
    }
    if (direction == Direction::In)
        Transfer::insertIntoAttendance(work->attendance, work->lessonDays, pupils, n, transferMonth);
    else
        Transfer::removeFromAttendance(work->attendance, pupils, n);
    const int newPupils = direction == Direction::In ? pupils + 1 : pupils - 1;
    addFile(plan, path, existed, oldBytes, AttendanceFile::backupPath(data), AttendanceFile::build(*work, newPupils));
    std::memcpy(plan.lessonDays, work->lessonDays, sizeof plan.lessonDays);
    std::memcpy(plan.attendance, work->attendance, sizeof plan.attendance);
    return Status::success();
}

Status planRoster(const ClassData& data, Transfer::Plan& plan)
{
    QByteArray newBytes;
    if (Status built = RosterFile::build(plan.pupilCount, plan.names, newBytes); !built)
        return built;
    const QString path = RosterFile::path(data);
    bool existed = false;
    QByteArray oldBytes;
    if (Status read = readOld(path, existed, oldBytes); !read)
        return read;
    addFile(plan, path, existed, oldBytes, DataFolder::resolve(data.dataFolder, RosterFile::backupName(data)), newBytes);
    return Status::success();
}

}  // namespace

QString Transfer::classFullMessage()
{
    return QStringLiteral("クラスの人数は%1人までです。これ以上転入させることはできません。").arg(Limits::Pupils);
}

int Transfer::schoolMonth(const QDate& date)
{
    return (date.month() + 8) % 12 + 1;
}

void Transfer::insertAbsentPupil(TestSet& set, int pupils, int n)
{
    for (int t = 1; t <= set.count; ++t)
        for (int c = 1; c <= Limits::Columns + 1; ++c) {
            int* scores = set.score[t][c];
            for (int p = pupils; p > n; --p)
                scores[p + 1] = scores[p];
            scores[n + 1] = Absent;
        }
}

void Transfer::removePupil(TestSet& set, int pupils, int n)
{
    for (int t = 1; t <= set.count; ++t)
        for (int c = 1; c <= Limits::Columns + 1; ++c) {
            int* scores = set.score[t][c];
            for (int p = n; p < pupils; ++p)
                scores[p] = scores[p + 1];
            scores[pupils] = 0;
        }
}

void Transfer::insertIntoAttendance(AttendanceTable& attendance, const int (&lessonDays)[Limits::Months + 1], int pupils,
                            int n, int transferMonth)
{
    for (int m = 1; m <= Limits::Months; ++m) {
        for (int p = pupils; p > n; --p)
            for (int k = 1; k <= Limits::Categories; ++k)
                attendance[m][p + 1][k] = attendance[m][p][k];
        for (int k = 1; k <= Limits::Categories; ++k)
            attendance[m][n + 1][k] = 0;
        // 出停: the lesson days of the months before the pupil came, with no
        // 必要日数; from the month of the transfer on, 必要日数 is the month's
        // lesson days (the teacher corrects it for a pupil who came mid-month).
        attendance[m][n + 1][2] = m < transferMonth ? lessonDays[m] : 0;
        attendance[m][n + 1][3] = m < transferMonth ? 0 : lessonDays[m];
    }
}

void Transfer::removeFromAttendance(AttendanceTable& attendance, int pupils, int n)
{
    for (int m = 1; m <= Limits::Months; ++m) {
        for (int p = n; p < pupils; ++p)
            for (int k = 1; k <= Limits::Categories; ++k)
                attendance[m][p][k] = attendance[m][p + 1][k];
        for (int k = 1; k <= Limits::Categories; ++k)
            attendance[m][pupils][k] = 0;
    }
}

Status Transfer::planTransferIn(const ClassData& data, int n, const QString& name, const QDate& today, Plan& plan)
{
    const int pupils = data.pupilCount;
    if (pupils >= Limits::Pupils)
        return Status::failure(classFullMessage());
    if (n < 1 || n > pupils)
        return Status::failure(QStringLiteral("転入する位置の児童を選んでください。"));
    if (const QString problem = StorableText::problem(name); !problem.isEmpty())
        return Status::failure(QStringLiteral("新しい児童名「%1」は保存できません。%2。").arg(name, problem));
    plan = Plan();
    plan.title = QStringLiteral("転入処理");
    if (Status scores = planScores(data, Direction::In, n, plan); !scores)
        return scores;
    if (Status classFile = planClassFile(data, Direction::In, n, plan); !classFile)
        return classFile;
    if (!data.specialistMode)
        if (Status attendance = planAttendance(data, Direction::In, n, schoolMonth(today), plan); !attendance)
            return attendance;
    plan.pupilCount = pupils + 1;
    for (int p = 1; p <= n; ++p)
        plan.names[p] = data.pupilName[p];
    plan.names[n + 1] = name;
    for (int p = n + 1; p <= pupils; ++p)
        plan.names[p + 1] = data.pupilName[p];
    return planRoster(data, plan);
}

Status Transfer::planTransferOut(const ClassData& data, int n, Plan& plan)
{
    const int pupils = data.pupilCount;
    if (n < 1 || n > pupils)
        return Status::failure(QStringLiteral("転出する児童を選んでください。"));
    plan = Plan();
    plan.title = QStringLiteral("転出処理");
    if (Status scores = planScores(data, Direction::Out, n, plan); !scores)
        return scores;
    if (Status classFile = planClassFile(data, Direction::Out, n, plan); !classFile)
        return classFile;
    if (!data.specialistMode)
        if (Status attendance = planAttendance(data, Direction::Out, n, 0, plan); !attendance)
            return attendance;
    plan.pupilCount = pupils - 1;
    for (int p = 1; p < n; ++p)
        plan.names[p] = data.pupilName[p];
    for (int p = n; p < pupils; ++p)
        plan.names[p] = data.pupilName[p + 1];
    return planRoster(data, plan);
}

Status Transfer::apply(const Plan& plan)
{
    SafeFile::Batch batch;
    batch.describe(plan.title);
    for (const FileChange& change : plan.writes)
        batch.write(change.path, change.newBytes);
    const Status written = batch.commit();
    if (written)
        return Status::success();
    QString text = written.message + QStringLiteral("\n\n");
    if (batch.unrestored().isEmpty())
        text += plan.title + QStringLiteral("は行われませんでした。ファイルはすべて元のままです。");
    else
        text += plan.title + QStringLiteral("を取り消そうとしましたが、次のファイルを元に戻せませんでした。\n")
            + batch.unrestored().join(QStringLiteral("、"))
            + QStringLiteral("\nデータフォルダをほかの場所にコピーしてから、バックアップファイルを確かめてください。");
    return Status::failure(text);
}

void Transfer::adopt(ClassData& data, Plan& plan)
{
    data.pupilCount = plan.pupilCount;
    data.pupilName = plan.names;
    if (plan.withAttendance) {
        std::memcpy(data.lessonDays, plan.lessonDays, sizeof data.lessonDays);
        std::memcpy(data.attendance, plan.attendance, sizeof data.attendance);
    }
    if (plan.currentSet) {
        data.tests = *plan.currentSet;
        data.currentTest = data.tests.count;
        data.overrulings = plan.overrulings;
        data.classFileProblem.clear();
    }
}

Status Transfer::transferIn(ClassData& data, int n, const QString& name, const QDate& today)
{
    auto plan = std::make_unique<Plan>();
    if (Status planned = planTransferIn(data, n, name, today, *plan); !planned)
        return planned;
    if (Status applied = Transfer::apply(*plan); !applied)
        return applied;
    adopt(data, *plan);
    return Status::success();
}

Status Transfer::transferOut(ClassData& data, int n)
{
    auto plan = std::make_unique<Plan>();
    if (Status planned = planTransferOut(data, n, *plan); !planned)
        return planned;
    if (Status applied = Transfer::apply(*plan); !applied)
        return applied;
    adopt(data, *plan);
    return Status::success();
}
