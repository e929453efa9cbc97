#include "model/ScoreFile.h"

#include "model/ClassFile.h"
#include "model/Cp932.h"
#include "model/DataFolder.h"
#include "model/SafeFile.h"
#include "model/TextFile.h"

#include <QFileInfo>
#include <memory>

QString ScoreFile::fileName(const ClassData& data, int unit)
{
    return data.fileStem[unit] + QStringLiteral(".dat");
}

QString ScoreFile::backupName(const ClassData& data, int unit)
{
    return data.fileStem[unit] + QStringLiteral(".Bak");
}

QString ScoreFile::path(const ClassData& data, int unit)
{
    return DataFolder::resolve(data.dataFolder, fileName(data, unit));
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

Status ScoreFile::read(const QString& filePath, const QString& displayName, int pupils, TestSet& set)
{
    QByteArray bytes;
    if (Status read = SafeFile::read(filePath, bytes); !read)
        return read;
    return parse(bytes, displayName, pupils, set);
}

Status ScoreFile::parse(const QByteArray& bytes, const QString& displayName, int pupils, TestSet& set)
{
    ItemReader reader;
    if (Status opened = reader.openBytes(bytes, displayName); !opened)
        return opened;
    auto loaded = std::make_unique<TestSet>();
    int tests = 0;
    reader.readInt(tests, 0, Limits::Tests);
    loaded->count = tests;
    for (int t = 1; t <= tests && reader.error().isEmpty(); ++t) {
        reader.readString(loaded->name[t]);
        int columns = 0;
        reader.readInt(columns, 0, Limits::Columns);
        loaded->columnCount[t] = columns;
        for (int c = 1; c <= columns && reader.error().isEmpty(); ++c) {
            reader.readInt(loaded->viewpoint[t][c], 0, Limits::Viewpoints);
            reader.readInt(loaded->fullMarks[t][c]);
            for (int p = 1; p <= pupils; ++p)
                if (!reader.readInt(loaded->score[t][c][p]))
                    break;
        }
    }
    reader.expectEnd();
    if (!reader.error().isEmpty())
        return reader.status();
    set = *loaded;
    return Status::success();
}

Status ScoreFile::build(const TestSet& set, int pupils, QByteArray& bytes)
{
    const int tests = qBound(0, set.count, Limits::Tests);
    pupils = qBound(0, pupils, Limits::Pupils);
    for (int t = 1; t <= tests; ++t) {
        const QString problem = StorableText::problem(set.name[t]);
        if (!problem.isEmpty())
            return Status::failure(QStringLiteral("%1番目のテスト名「%2」は保存できません。%3。")
                                       .arg(t)
                                       .arg(set.name[t])
                                       .arg(problem));
    }
    ItemWriter writer;
    writer.reserve(qsizetype(tests) * Limits::Columns * (pupils + 2) * 5 + 64);
    writer.number(tests);
    for (int t = 1; t <= tests; ++t) {
        writer.quoted(set.name[t]);
        const int columns = qBound(0, set.columnCount[t], Limits::Columns);
        writer.number(columns);
        for (int c = 1; c <= columns; ++c) {
            writer.number(set.viewpoint[t][c]);
            writer.number(set.fullMarks[t][c]);
            for (int p = 1; p <= pupils; ++p) {
                // A cell never typed is stored as 0, as the file always held it; the
                // class file says it is not entered.
                const int score = set.score[t][c][p];
                writer.number(score == NotEntered ? 0 : score);
            }
        }
    }
    if (!writer.bytes(bytes))
        return Status::failure(QStringLiteral("成績データを保存できない文字が含まれています。"));
    return Status::success();
}

Status ScoreFile::load(ClassData& data)
{
    const int unit = data.currentUnit();
    const QString filePath = ScoreFile::path(data, unit);
    if (!QFileInfo::exists(filePath))
        return Status::failure(ScoreFile::missingMessage(data.fileStem[unit]));
    Status status = ScoreFile::read(filePath, ScoreFile::fileName(data, unit), data.pupilCount, data.tests);
    if (!status)
        return status;
    data.currentTest = data.tests.count;
    // The weights, kinds and 未入力 cells of the tests, and the overrulings.
    return ClassFile::load(data);
}

Status ScoreFile::save(const ClassData& data)
{
    const int unit = data.currentUnit();
    QByteArray bytes;
    if (Status built = ScoreFile::build(data.tests, data.pupilCount, bytes); !built)
        return built;
    const QString filePath = ScoreFile::path(data, unit);
    SafeFile::Batch batch;
    batch.describe(QStringLiteral("点数の保存"));
    batch.backup(filePath, DataFolder::resolve(data.dataFolder, ScoreFile::backupName(data, unit)));
    batch.write(filePath, bytes);
    // The class file changes with the score file, unless it was refused when the
    // scores were loaded: then it stays as it is, and the scores are saved alone.
    Status notice = Status::success();
    if (data.classFileProblem.isEmpty()) {
        ClassFile::Content content;
        if (Status read = ClassFile::read(data, content); read) {
            QJsonObject root = content.root;
            ClassFile::storeTests(root, data.unitName(), data.tests, data.pupilCount);
            ClassFile::addTo(batch, data, content, root);
        } else {
            notice = Status::notice(read.message + QStringLiteral("\n\n点数は保存しました。このファイルは書き換えていないので、"
                                                                 "重み・観察（Ａ・Ｂ・Ｃ）・未入力は保存されていません。"));
        }
    }
    if (Status written = batch.commit(); !written)
        return written;
    return notice;
}
