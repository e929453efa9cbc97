#include "core/TestList.h"

#include "core/Cp932.h"
#include "core/DataFolder.h"
#include "core/SafeFile.h"
#include "core/ScoreFile.h"

#include <QFileInfo>
#include <memory>

namespace {

// The score file of the current unit as it is on disk now.
Status readCurrent(const ClassData& data, TestSetRecord& set)
{
    const int unit = data.currentUnit();
    const QString path = ScoreFile::path(data, unit);
    if (!QFileInfo::exists(path))
        return Status::failure(ScoreFile::missingMessage(data.FileStem[unit]));
    return ScoreFile::read(path, ScoreFile::fileName(data, unit), data.PupilCount, set);
}

// Backs the file up to ".Bak", writes the set, and takes it into the model.
Status writeCurrent(ClassData& data, const TestSetRecord& set)
{
    QByteArray bytes;
    if (Status built = ScoreFile::build(set, data.PupilCount, bytes); !built)
        return built;
    const int unit = data.currentUnit();
    const QString path = ScoreFile::path(data, unit);
    const QString backupPath = DataFolder::resolve(data.DataPath, ScoreFile::backupName(data, unit));
    if (Status written = SafeFile::writeWithBackup(path, backupPath, bytes); !written)
        return written;
    data.TestSet = set;
    data.CurrentTest = set.StoredTestCount;
    return Status::success();
}

void copyTest(const TestSetRecord& from, int source, TestSetRecord& to, int target)
{
    to.TestName[target] = from.TestName[source];
    to.ViewpointCount[target] = from.ViewpointCount[source];
    for (int c = 0; c <= Limits::Columns + 1; ++c) {
        to.ViewpointKind[target][c] = from.ViewpointKind[source][c];
        to.FullMarks[target][c] = from.FullMarks[source][c];
        for (int p = 0; p <= Limits::Pupils; ++p)
            to.Score[target][c][p] = from.Score[source][c][p];
    }
}

Status checkPosition(const TestSetRecord& set, int n)
{
    if (n < 1 || n > set.StoredTestCount)
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
    auto set = std::make_unique<TestSetRecord>();
    if (Status read = readCurrent(data, *set); !read)
        return read;
    if (Status position = checkPosition(*set, t); !position)
        return position;
    set->TestName[t] = name;
    return writeCurrent(data, *set);
}

Status TestList::insertBefore(ClassData& data, int n)
{
    auto old = std::make_unique<TestSetRecord>();
    if (Status read = readCurrent(data, *old); !read)
        return read;
    if (old->StoredTestCount >= Limits::Tests)
        return Status::failure(fullMessage());
    if (Status position = checkPosition(*old, n); !position)
        return position;
    auto set = std::make_unique<TestSetRecord>();
    set->StoredTestCount = old->StoredTestCount + 1;
    for (int t = 1; t < n; ++t)
        copyTest(*old, t, *set, t);
    set->TestName[n] = newTestName();
    set->ViewpointCount[n] = 1;
    set->ViewpointKind[n][1] = NewTestKind;
    set->FullMarks[n][1] = NewTestFullMarks;
    for (int t = n; t <= old->StoredTestCount; ++t)
        copyTest(*old, t, *set, t + 1);
    return writeCurrent(data, *set);
}

Status TestList::remove(ClassData& data, int n)
{
    auto old = std::make_unique<TestSetRecord>();
    if (Status read = readCurrent(data, *old); !read)
        return read;
    if (Status position = checkPosition(*old, n); !position)
        return position;
    auto set = std::make_unique<TestSetRecord>();
    set->StoredTestCount = old->StoredTestCount - 1;
    for (int t = 1; t < n; ++t)
        copyTest(*old, t, *set, t);
    for (int t = n + 1; t <= old->StoredTestCount; ++t)
        copyTest(*old, t, *set, t - 1);
    return writeCurrent(data, *set);
}
