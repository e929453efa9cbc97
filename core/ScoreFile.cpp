#include "core/ScoreFile.h"

#include "core/Cp932.h"
#include "core/DataFolder.h"
#include "core/SafeFile.h"
#include "core/TextFile.h"

#include <QFileInfo>
#include <memory>

QString ScoreFile::fileName(const ClassData& data, int unit)
{
    return data.FileStem[unit] + QStringLiteral(".dat");
}

QString ScoreFile::backupName(const ClassData& data, int unit)
{
    return data.FileStem[unit] + QStringLiteral(".Bak");
}

QString ScoreFile::path(const ClassData& data, int unit)
{
    return DataFolder::resolve(data.DataPath, fileName(data, unit));
}

QString ScoreFile::missingMessage(const QString& stem)
{
    return QStringLiteral("成績ﾃﾞｰﾀﾌｧｲﾙ(") + stem
        + QStringLiteral(".Dat)が見つかりません。ﾃﾞｰﾀﾌｫﾙﾀﾞの指定が違うか、成績ﾃﾞｰﾀﾌｧｲﾙが存在していないので、環境設定を確認してください。");
}

QByteArray ScoreFile::emptyFile()
{
    return QByteArrayLiteral("0\r\n");
}

Status ScoreFile::read(const QString& filePath, const QString& displayName, int pupils, TestSetRecord& set)
{
    QByteArray bytes;
    if (Status read = SafeFile::read(filePath, bytes); !read)
        return read;
    return parse(bytes, displayName, pupils, set);
}

Status ScoreFile::parse(const QByteArray& bytes, const QString& displayName, int pupils, TestSetRecord& set)
{
    ItemReader reader;
    if (Status opened = reader.openBytes(bytes, displayName); !opened)
        return opened;
    auto loaded = std::make_unique<TestSetRecord>();
    int tests = 0;
    reader.readInt(tests, 0, Limits::Tests);
    loaded->StoredTestCount = tests;
    for (int t = 1; t <= tests && reader.error().isEmpty(); ++t) {
        reader.readString(loaded->TestName[t]);
        int columns = 0;
        reader.readInt(columns, 0, Limits::Columns);
        loaded->ViewpointCount[t] = columns;
        for (int c = 1; c <= columns && reader.error().isEmpty(); ++c) {
            reader.readInt(loaded->ViewpointKind[t][c], 0, Limits::Viewpoints);
            reader.readInt(loaded->FullMarks[t][c]);
            for (int p = 1; p <= pupils; ++p)
                if (!reader.readInt(loaded->Score[t][c][p]))
                    break;
        }
    }
    reader.expectEnd();
    if (!reader.error().isEmpty())
        return reader.status();
    set = *loaded;
    return Status::success();
}

Status ScoreFile::build(const TestSetRecord& set, int pupils, QByteArray& bytes)
{
    const int tests = qBound(0, set.StoredTestCount, Limits::Tests);
    pupils = qBound(0, pupils, Limits::Pupils);
    for (int t = 1; t <= tests; ++t) {
        const QString problem = StorableText::problem(set.TestName[t]);
        if (!problem.isEmpty())
            return Status::failure(QStringLiteral("%1番目のテスト名「%2」は保存できません。%3。")
                                       .arg(t)
                                       .arg(set.TestName[t])
                                       .arg(problem));
    }
    ItemWriter writer;
    writer.number(tests);
    for (int t = 1; t <= tests; ++t) {
        writer.quoted(set.TestName[t]);
        const int columns = qBound(0, set.ViewpointCount[t], Limits::Columns);
        writer.number(columns);
        for (int c = 1; c <= columns; ++c) {
            writer.number(set.ViewpointKind[t][c]);
            writer.number(set.FullMarks[t][c]);
            for (int p = 1; p <= pupils; ++p)
                writer.number(set.Score[t][c][p]);
        }
    }
    if (!writer.bytes(bytes))
        return Status::failure(QStringLiteral("成績データを保存できない文字が含まれています。"));
    return Status::success();
}

Status LoadScores(ClassData& data)
{
    const int unit = data.currentUnit();
    const QString filePath = ScoreFile::path(data, unit);
    if (!QFileInfo::exists(filePath))
        return Status::failure(ScoreFile::missingMessage(data.FileStem[unit]));
    Status status = ScoreFile::read(filePath, ScoreFile::fileName(data, unit), data.PupilCount, data.TestSet);
    if (status)
        data.CurrentTest = data.TestSet.StoredTestCount;
    return status;
}

Status SaveScores(const ClassData& data)
{
    const int unit = data.currentUnit();
    QByteArray bytes;
    if (Status built = ScoreFile::build(data.TestSet, data.PupilCount, bytes); !built)
        return built;
    const QString filePath = ScoreFile::path(data, unit);
    return SafeFile::writeWithBackup(filePath, DataFolder::resolve(data.DataPath, ScoreFile::backupName(data, unit)), bytes);
}
