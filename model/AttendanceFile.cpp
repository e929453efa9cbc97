#include "model/AttendanceFile.h"

#include "model/DataFolder.h"
#include "model/SafeFile.h"
#include "model/TextFile.h"

#include <QFileInfo>
#include <cstring>

QString AttendanceFile::fileName()
{
    return QStringLiteral("shuketu.dat");
}

QString AttendanceFile::path(const ClassData& data)
{
    return DataFolder::resolve(data.dataFolder, fileName());
}

bool AttendanceFile::exists(const ClassData& data)
{
    // Anything standing at the name counts: a named pipe or a folder there is
    // refused when read, never replaced by a new file.
    return QFileInfo::exists(path(data));
}

QString AttendanceFile::createNotice()
{
    return QStringLiteral("出席データがないので作成します．いいですか？");
}

Status AttendanceFile::parse(const QByteArray& bytes, int pupils, ClassData& data)
{
    ItemReader reader;
    if (Status opened = reader.openBytes(bytes, fileName()); !opened)
        return opened;
    int lessonDays[Limits::Months + 1]{};
    static int counts[Limits::Months + 1][Limits::Pupils + 1][Limits::Categories + 1];
    std::memset(counts, 0, sizeof counts);
    for (int m = 1; m <= Limits::Months && reader.error().isEmpty(); ++m) {
        reader.readInt(lessonDays[m]);
        for (int p = 1; p <= pupils && reader.error().isEmpty(); ++p)
            for (int k = 1; k <= Limits::Categories; ++k)
                if (!reader.readInt(counts[m][p][k]))
                    break;
    }
    reader.expectEnd();
    if (!reader.error().isEmpty())
        return reader.status();
    std::memcpy(data.lessonDays, lessonDays, sizeof lessonDays);
    for (int m = 1; m <= Limits::Months; ++m)
        for (int p = 1; p <= pupils; ++p)
            for (int k = 1; k <= Limits::Categories; ++k)
                data.attendance[m][p][k] = counts[m][p][k];
    return Status::success();
}

QByteArray AttendanceFile::build(const ClassData& data, int pupils)
{
    pupils = qBound(0, pupils, Limits::Pupils);
    QByteArray out;
    out.reserve(Limits::Months * (pupils + 1) * 24);
    for (int m = 1; m <= Limits::Months; ++m) {
        out += QByteArray::number(data.lessonDays[m]);
        out += "\r\n";
        for (int p = 1; p <= pupils; ++p) {
            for (int k = 1; k <= Limits::Categories; ++k) {
                if (k > 1)
                    out += ',';
                out += QByteArray::number(data.attendance[m][p][k]);
            }
            out += "\r\n";
        }
    }
    return out;
}

QByteArray AttendanceFile::buildZeros(int pupils)
{
    pupils = qBound(0, pupils, Limits::Pupils);
    QByteArray out;
    for (int m = 1; m <= Limits::Months; ++m) {
        out += "\"0\"\r\n";
        for (int p = 1; p <= pupils; ++p)
            out += "\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\"\r\n";
    }
    return out;
}

Status AttendanceFile::load(ClassData& data)
{
    QByteArray bytes;
    if (Status read = SafeFile::read(AttendanceFile::path(data), bytes); !read)
        return read;
    return AttendanceFile::parse(bytes, data.pupilCount, data);
}

QString AttendanceFile::backupName()
{
    return QStringLiteral("shuketu.bak");
}

QString AttendanceFile::backupPath(const ClassData& data)
{
    return DataFolder::resolve(data.dataFolder, backupName());
}

Status AttendanceFile::save(const ClassData& data)
{
    return SafeFile::writeWithBackup(AttendanceFile::path(data), AttendanceFile::backupPath(data),
                                     AttendanceFile::build(data, data.pupilCount));
}

Status AttendanceFile::create(const ClassData& data)
{
    return SafeFile::write(AttendanceFile::path(data), AttendanceFile::buildZeros(data.pupilCount));
}
