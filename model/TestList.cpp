#include "model/TestList.h"

#include "model/Cp932.h"
#include "model/DataFolder.h"
#include "model/SafeFile.h"
#include "model/ScoreFile.h"

#include <QFileInfo>
#include <memory>

namespace {

// The score file of the current unit as it is on disk now.
Status readCurrent(const ClassData& data, TestSet& set)
{
    const int unit = data.currentUnit();
    const QString path = ScoreFile::path(data, unit);
    if (!QFileInfo::exists(path))
        return Status::failure(ScoreFile::missingMessage(data.fileStem[unit]));
    return ScoreFile::read(path, ScoreFile::fileName(data, unit), data.pupilCount, set);
}

// Backs the file up to ".Bak", writes the set, and takes it into the model.
Status writeCurrent(ClassData& data, const TestSet& set)
{
    QByteArray bytes;
    if (Status built = ScoreFile::build(set, data.pupilCount, bytes); !built)
        return built;
    const int unit = data.currentUnit();
    const QString path = ScoreFile::path(data, unit);
    const QString backupPath = DataFolder::resolve(data.dataFolder, ScoreFile::backupName(data, unit));
    if (Status written = SafeFile::writeWithBackup(path, backupPath, bytes); !written)
        return written;
    data.tests = set;
    data.currentTest = set.count;
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
    if (Status read = readCurrent(data, *set); !read)
        return read;
    if (Status position = checkPosition(*set, t); !position)
        return position;
    set->name[t] = name;
    return writeCurrent(data, *set);
}

Status TestList::insertBefore(ClassData& data, int n)
{
    auto old = std::make_unique<TestSet>();
    if (Status read = readCurrent(data, *old); !read)
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
    return writeCurrent(data, *set);
}

Status TestList::remove(ClassData& data, int n)
{
    auto old = std::make_unique<TestSet>();
    if (Status read = readCurrent(data, *old); !read)
        return read;
    if (Status position = checkPosition(*old, n); !position)
        return position;
    auto set = std::make_unique<TestSet>();
    set->count = old->count - 1;
    for (int t = 1; t < n; ++t)
        copyTest(*old, t, *set, t);
    for (int t = n + 1; t <= old->count; ++t)
        copyTest(*old, t, *set, t - 1);
    return writeCurrent(data, *set);
}
