#include "model/RosterFile.h"

#include "model/Cp932.h"
#include "model/DataFolder.h"
#include "model/SafeFile.h"
#include "model/TextFile.h"

#include <QFileInfo>

QString RosterFile::classFileName(int classNumber)
{
    return Names::classes()[classNumber] + QStringLiteral(".nam");
}

QString RosterFile::createdFileName(const ClassData& data, int classNumber)
{
    return data.fileStem[classNumber] + QStringLiteral(".Nam");
}

QString RosterFile::fileName(const ClassData& data)
{
    return data.specialistMode ? data.fileStem[data.classNumber] + QStringLiteral(".nam") : QStringLiteral("Class.Nam");
}

QString RosterFile::backupName(const ClassData& data)
{
    return data.specialistMode ? data.fileStem[data.classNumber] + QStringLiteral(".NBk") : QStringLiteral("Class.bak");
}

QString RosterFile::path(const ClassData& data)
{
    return DataFolder::resolve(data.dataFolder, fileName(data));
}

QString RosterFile::missingMessage(const ClassData& data)
{
    const QString tail = QStringLiteral(
        ".NAM)が見つかりません。ﾃﾞｰﾀﾌｫﾙﾀﾞの指定が違うか、氏名ﾌｧｲﾙが存在していないので、環境設定を確認するか、編集－氏名ﾒﾝﾃﾅﾝｽで作成してください。");
    if (data.specialistMode)
        return QStringLiteral("氏名ﾃﾞｰﾀﾌｧｲﾙ(") + data.fileStem[data.classNumber] + tail;
    return QStringLiteral("氏名ﾃﾞｰﾀﾌｧｲﾙ(CLASS") + tail;
}

QByteArray RosterFile::emptyFile()
{
    return QByteArrayLiteral("0\r\n");
}

Status RosterFile::parse(const QByteArray& bytes, const QString& displayName, int& count,
                         std::array<QString, Limits::Pupils + 1>& names)
{
    ItemReader reader;
    if (Status opened = reader.openBytes(bytes, displayName); !opened)
        return opened;
    int n = 0;
    std::array<QString, Limits::Pupils + 1> loaded;
    if (reader.readInt(n, 0, Limits::Pupils))
        for (int p = 1; p <= n; ++p)
            if (!reader.readString(loaded[p]))
                break;
    reader.expectEnd();
    if (!reader.error().isEmpty())
        return reader.status();
    count = n;
    names = loaded;
    return Status::success();
}

Status RosterFile::build(int count, const std::array<QString, Limits::Pupils + 1>& names, QByteArray& bytes)
{
    count = qBound(0, count, Limits::Pupils);
    for (int p = 1; p <= count; ++p) {
        const QString problem = StorableText::problem(names[p]);
        if (!problem.isEmpty())
            return Status::failure(QStringLiteral("%1番の氏名「%2」は保存できません。%3。").arg(p).arg(names[p]).arg(problem));
    }
    ItemWriter writer;
    writer.number(count);
    for (int p = 1; p <= count; ++p)
        writer.quoted(names[p]);
    if (!writer.bytes(bytes))
        return Status::failure(QStringLiteral("氏名データを保存できない文字が含まれています。"));
    return Status::success();
}

Status RosterFile::load(ClassData& data)
{
    const QString filePath = RosterFile::path(data);
    if (!QFileInfo::exists(filePath)) {
        for (auto& name : data.pupilName)
            name.clear();
        return Status::failure(RosterFile::missingMessage(data));
    }
    QByteArray bytes;
    if (Status read = SafeFile::read(filePath, bytes); !read)
        return read;
    return RosterFile::parse(bytes, RosterFile::fileName(data), data.pupilCount, data.pupilName);
}

Status RosterFile::save(const ClassData& data)
{
    QByteArray bytes;
    if (Status built = RosterFile::build(data.pupilCount, data.pupilName, bytes); !built)
        return built;
    const QString filePath = RosterFile::path(data);
    return SafeFile::writeWithBackup(filePath, DataFolder::resolve(data.dataFolder, RosterFile::backupName(data)), bytes);
}
