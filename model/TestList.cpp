#include "model/TestList.h"

#include "model/ClassFile.h"
#include "model/Cp932.h"
#include "model/DataFolder.h"
#include "model/SafeFile.h"
#include "model/ScoreFile.h"

#include <QFileInfo>
#include <cmath>
#include <functional>
#include <memory>

namespace {

// The score file of the current unit as it is on disk now, with the class file's
// part of it (a class file that cannot be read stops the change: its tests would
// no longer match).
Status readCurrent(const ClassData& data, TestSet& set, ClassFile::Content& classFile)
{
    const int unit = data.currentUnit();
    const QString path = ScoreFile::path(data, unit);
    if (!QFileInfo::exists(path))
        return Status::failure(ScoreFile::missingMessage(data.fileStem[unit]));
    if (Status read = ScoreFile::read(path, ScoreFile::fileName(data, unit), data.pupilCount, set); !read)
        return read;
    if (Status read = ClassFile::read(data, classFile); !read)
        return Status::failure(read.message
                               + QStringLiteral("\n\nテストの一覧は変更していません。このファイルを直してから、もう一度行ってください。"));
    return Status::success();
}

// Backs the files up ("国語.Bak", "assessment.bak"), writes the set and the class
// file's new content in one batch, and takes them into the model.
enum class Scores { Changed, Unchanged };

Status writeCurrent(ClassData& data, TestSet& set, const ClassFile::Content& classFile, const QJsonObject& root,
                    Scores scores = Scores::Changed)
{
    QByteArray bytes;
    if (Status built = ScoreFile::build(set, data.pupilCount, bytes); !built)
        return built;
    const int unit = data.currentUnit();
    const QString path = ScoreFile::path(data, unit);
    SafeFile::Batch batch;
    batch.describe(QStringLiteral("テストのメンテナンス"));
    // A change of the class file alone keeps the score file and its backup as they are.
    if (scores == Scores::Changed) {
        batch.backup(path, DataFolder::resolve(data.dataFolder, ScoreFile::backupName(data, unit)));
        batch.write(path, bytes);
    }
    ClassFile::addTo(batch, data, classFile, root);
    if (Status written = batch.commit(); !written)
        return written;
    ClassFile::apply(root, data.unitName(), data.pupilCount, set, data.overrulings);
    data.tests = set;
    data.currentTest = set.count;
    data.classFileProblem.clear();
    return Status::success();
}

void copyTest(const TestSet& from, int source, TestSet& to, int target)
{
    to.name[target] = from.name[source];
    to.columnCount[target] = from.columnCount[source];
    for (int c = 0; c <= Limits::Columns + 1; ++c) {
        to.viewpoint[target][c] = from.viewpoint[source][c];
        to.fullMarks[target][c] = from.fullMarks[source][c];
        for (int p = 0; p <= Limits::Pupils; ++p)
            to.score[target][c][p] = from.score[source][c][p];
    }
}

Status checkPosition(const TestSet& set, int n)
{
    if (n < 1 || n > set.count)
        return Status::failure(QStringLiteral("テストを選んでください。"));
    return Status::success();
}

}  // namespace

QString TestList::newTestName()
{
    return QStringLiteral("新規挿入テスト");
}

QString TestList::fullMessage()
{
    return QStringLiteral("テストは%1件までです。これ以上挿入することはできません。").arg(Limits::Tests);
}

Status TestList::rename(ClassData& data, int t, const QString& name)
{
    if (const QString problem = StorableText::problem(name); !problem.isEmpty())
        return Status::failure(QStringLiteral("テスト名「%1」は保存できません。%2。").arg(name, problem));
    auto set = std::make_unique<TestSet>();
    ClassFile::Content classFile;
    if (Status read = readCurrent(data, *set, classFile); !read)
        return read;
    if (Status position = checkPosition(*set, t); !position)
        return position;
    set->name[t] = name;
    return writeCurrent(data, *set, classFile, classFile.root);
}

Status TestList::insertBefore(ClassData& data, int n)
{
    auto old = std::make_unique<TestSet>();
    ClassFile::Content classFile;
    if (Status read = readCurrent(data, *old, classFile); !read)
        return read;
    if (old->count >= Limits::Tests)
        return Status::failure(fullMessage());
    if (Status position = checkPosition(*old, n); !position)
        return position;
    auto set = std::make_unique<TestSet>();
    set->count = old->count + 1;
    for (int t = 1; t < n; ++t)
        copyTest(*old, t, *set, t);
    set->name[n] = newTestName();
    set->columnCount[n] = 1;
    set->viewpoint[n][1] = NewTestKind;
    set->fullMarks[n][1] = NewTestFullMarks;
    for (int t = n; t <= old->count; ++t)
        copyTest(*old, t, *set, t + 1);
    // Nothing of the new test is typed yet: every cell is 未入力.
    QJsonObject root = classFile.root;
    ClassFile::insertTest(root, data.unitName(), n, data.pupilCount, set->columnCount[n]);
    return writeCurrent(data, *set, classFile, root);
}

Status TestList::remove(ClassData& data, int n)
{
    auto old = std::make_unique<TestSet>();
    ClassFile::Content classFile;
    if (Status read = readCurrent(data, *old, classFile); !read)
        return read;
    if (Status position = checkPosition(*old, n); !position)
        return position;
    auto set = std::make_unique<TestSet>();
    set->count = old->count - 1;
    for (int t = 1; t < n; ++t)
        copyTest(*old, t, *set, t);
    for (int t = n + 1; t <= old->count; ++t)
        copyTest(*old, t, *set, t - 1);
    QJsonObject root = classFile.root;
    ClassFile::removeTest(root, data.unitName(), n);
    return writeCurrent(data, *set, classFile, root);
}

namespace {

// Test t with the class file's part, changed by `change` and written back; the
// score file only when `scores` says it changes.
Status changeTest(ClassData& data, int t, Scores scores, const std::function<Status(TestSet&)>& change)
{
    auto set = std::make_unique<TestSet>();
    ClassFile::Content classFile;
    if (Status read = readCurrent(data, *set, classFile); !read)
        return read;
    if (Status position = checkPosition(*set, t); !position)
        return position;
    QList<Overruling> overrulings;
    ClassFile::apply(classFile.root, data.unitName(), data.pupilCount, *set, overrulings);
    if (Status changed = change(*set); !changed)
        return changed;
    QJsonObject root = classFile.root;
    ClassFile::storeTests(root, data.unitName(), *set, data.pupilCount);
    return writeCurrent(data, *set, classFile, root, scores);
}

}  // namespace

bool TestList::isWeight(double weight)
{
    return weight >= 0.5 && weight <= 5.0 && weight * 2 == std::round(weight * 2);
}

Status TestList::setWeight(ClassData& data, int t, double weight)
{
    if (!isWeight(weight))
        return Status::failure(QStringLiteral("重みは0.5から5までの0.5刻みで選んでください。"));
    return changeTest(data, t, Scores::Unchanged, [t, weight](TestSet& set) {
        set.weight[size_t(t)] = weight;
        return Status::success();
    });
}

Status TestList::setKind(ClassData& data, int t, TestKind kind)
{
    const Scores scores = kind == TestKind::Observation ? Scores::Changed : Scores::Unchanged;
    return changeTest(data, t, scores, [t, kind, &data](TestSet& set) {
        set.kind[size_t(t)] = kind;
        if (kind == TestKind::Observation)
            return makeObservation(set, t, data.pupilCount);
        return Status::success();
    });
}

Status TestList::makeObservation(TestSet& set, int t, int pupils)
{
    const int columns = qBound(0, set.columnCount[size_t(t)], Limits::Columns);
    for (int c = 1; c <= columns; ++c)
        for (int p = 1; p <= qBound(0, pupils, Limits::Pupils); ++p)
            if (set.score[t][c][p] > ObservationFullMarks)
                return Status::failure(QStringLiteral("「%1」には%2点より高い点数が入っているので、観察（Ａ・Ｂ・Ｃ）のテストにはできません。")
                                           .arg(set.name[size_t(t)])
                                           .arg(ObservationFullMarks));
    set.kind[size_t(t)] = TestKind::Observation;
    for (int c = 1; c <= columns; ++c)
        set.fullMarks[t][c] = ObservationFullMarks;
    return Status::success();
}
