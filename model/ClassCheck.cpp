#include "model/ClassCheck.h"

#include "model/AttendanceFile.h"
#include "model/ClassFile.h"
#include "model/ClassFileFields.h"
#include "model/DataFolder.h"
#include "model/RosterFile.h"
#include "model/SafeFile.h"
#include "model/ScoreFile.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QMap>

#include <memory>

namespace {

// The items of a data file as its reader takes them (model/TextFile.h): separated
// by commas and line ends, a double-quoted item may hold commas, a blank line holds
// none. Bytes are enough: no byte of a CP932 character is a comma, a quote or a
// line end.
class Items {
public:
    explicit Items(const QByteArray& bytes) : p(bytes.constData()), end(bytes.constData() + bytes.size()) {}

    bool next(bool* quoted = nullptr, const char** start = nullptr, qsizetype* length = nullptr);
    bool skip(qint64 count);
    bool number(int& value, int minimum, int maximum);
    bool atEnd() { return !next(); }

private:
    const char* p;
    const char* end;
    bool itemOnLine = false;
};

bool Items::next(bool* quoted, const char** start, qsizetype* length)
{
    for (;;) {
        while (p < end && (*p == ' ' || *p == '\t'))
            ++p;
        if (p >= end)
            return false;
        const bool isQuoted = *p == '"';
        const char* first = p;
        const char* last = p;
        if (isQuoted) {
            const char* close = p + 1;
            while (close < end && *close != '"' && *close != '\n')
                ++close;
            if (close >= end || *close != '"')
                return false;  // the reader refuses an open quote
            first = p + 1;
            last = close;
            p = close + 1;
            while (p < end && *p != ',' && *p != '\n')
                ++p;
        } else {
            while (p < end && *p != ',' && *p != '\n')
                ++p;
            last = p;
            while (last > first && (last[-1] == ' ' || last[-1] == '\t' || last[-1] == '\r'))
                --last;
        }
        const bool lineEnded = p < end && *p == '\n';
        const bool blank = !isQuoted && last == first && (p >= end || lineEnded) && !itemOnLine;
        if (p < end)
            ++p;
        if (blank) {
            itemOnLine = false;
            continue;
        }
        itemOnLine = !lineEnded;
        if (quoted)
            *quoted = isQuoted;
        if (start)
            *start = first;
        if (length)
            *length = last - first;
        return true;
    }
}

// next() without the item's place: most items of a data file are numbers, so an
// unquoted item is passed over in one loop (the check runs at every start).
bool Items::skip(qint64 count)
{
    while (count > 0) {
        const char* first = p;
        while (first < end && (*first == ' ' || *first == '\t'))
            ++first;
        if (first >= end)
            return false;
        if (*first == '"') {
            if (!next())
                return false;
            --count;
            continue;
        }
        const char* separator = first;
        bool text = false;  // a character that next() would not trim
        for (; separator < end; ++separator) {
            const char c = *separator;
            if (c == ',' || c == '\n')
                break;
            text |= c != ' ' && c != '\t' && c != '\r';
        }
        const bool found = separator < end;
        const bool endsLine = found && *separator == '\n';
        p = found ? separator + 1 : separator;
        if (!text && (!found || endsLine) && !itemOnLine) {
            itemOnLine = false;  // a blank line holds no item
            continue;
        }
        itemOnLine = !endsLine;
        --count;
    }
    return true;
}

bool Items::number(int& value, int minimum, int maximum)
{
    bool isQuoted = false;
    const char* start = nullptr;
    qsizetype length = 0;
    if (!next(&isQuoted, &start, &length) || isQuoted)
        return false;
    bool ok = false;
    value = QByteArray::fromRawData(start, length).toInt(&ok);
    return ok && value >= minimum && value <= maximum;
}

qint64 itemCount(const QByteArray& bytes)
{
    Items items(bytes);
    qint64 count = 0;
    while (items.next())
        ++count;
    return count;
}

QByteArray bytesOf(const QString& path)
{
    QByteArray bytes;
    if (!QFileInfo(path).isFile() || !SafeFile::read(path, bytes))
        return {};
    return bytes;
}

}  // namespace

bool ClassCheck::scoreFileFits(const QByteArray& bytes, int pupils, int* tests)
{
    Items items(bytes);
    int count = 0;
    if (!items.number(count, 0, Limits::Tests))
        return false;
    for (int t = 1; t <= count; ++t) {
        bool quoted = false;
        int columns = 0;
        if (!items.next(&quoted) || !quoted || !items.number(columns, 0, Limits::Columns)
            || !items.skip(qint64(columns) * (2 + pupils)))
            return false;
    }
    if (tests)
        *tests = count;
    return items.atEnd();
}

int ClassCheck::scoreFilePupils(const QByteArray& bytes)
{
    int tests = 0;
    if (scoreFileFits(bytes, 0, &tests) && tests == 0)
        return AnyCount;
    for (int pupils = 0; pupils <= Limits::Pupils; ++pupils)
        if (scoreFileFits(bytes, pupils))
            return pupils;
    return NoCount;
}

bool ClassCheck::attendanceFits(const QByteArray& bytes, int pupils)
{
    return itemCount(bytes) == qint64(Limits::Months) * (1 + Limits::Categories * pupils);
}

int ClassCheck::attendancePupils(const QByteArray& bytes)
{
    const qint64 count = itemCount(bytes);
    const qint64 perMonth = count / Limits::Months;
    if (count % Limits::Months != 0 || perMonth < 1 || (perMonth - 1) % Limits::Categories != 0)
        return NoCount;
    const qint64 pupils = (perMonth - 1) / Limits::Categories;
    return pupils <= Limits::Pupils ? int(pupils) : NoCount;
}

namespace {

// A roster and the files that hold one entry per pupil of it.
struct Member {
    QString name;
    QString path;
    bool attendance = false;
    QString stem;  // of a score file: the subject or class
};
struct Group {
    QString rosterName;
    QString rosterPath;
    QList<Member> members;
};

QList<Group> groupsOf(const ClassData& data)
{
    QList<Group> groups;
    const auto scoreMember = [&data](int unit) {
        return Member{ScoreFile::fileName(data, unit), ScoreFile::path(data, unit), false, data.fileStem[unit]};
    };
    if (data.specialistMode) {
        for (int unit = 1; unit <= Limits::Units; ++unit) {
            const QString roster = data.fileStem[unit] + QStringLiteral(".nam");
            groups.append({roster, DataFolder::resolve(data.dataFolder, roster), {scoreMember(unit)}});
        }
        return groups;
    }
    Group group{RosterFile::fileName(data), RosterFile::path(data), {}};
    for (int unit = 1; unit <= Limits::Units; ++unit)
        group.members.append(scoreMember(unit));
    group.members.append({AttendanceFile::fileName(), AttendanceFile::path(data), true, {}});
    groups.append(group);
    return groups;
}

// The roster's pupil count, or NoCount when it is missing or cannot be read.
int rosterCount(const QString& name, const QByteArray& bytes)
{
    int count = 0;
    std::array<QString, Limits::Pupils + 1> names;
    if (bytes.isEmpty() || !RosterFile::parse(bytes, name, count, names))
        return ClassCheck::NoCount;
    return count;
}

int pupilsOf(const Member& member, const QByteArray& bytes)
{
    return member.attendance ? ClassCheck::attendancePupils(bytes) : ClassCheck::scoreFilePupils(bytes);
}

bool memberFits(const Member& member, const QByteArray& bytes, int pupils, int* tests = nullptr)
{
    return member.attendance ? ClassCheck::attendanceFits(bytes, pupils) : ClassCheck::scoreFileFits(bytes, pupils, tests);
}

QString pupilNote(const Member& member, int pupils)
{
    return QStringLiteral("「%1」：%2人分").arg(member.name).arg(pupils);
}

// What a unit's score file holds: its tests, and the pupils of its roster.
struct UnitSize {
    int tests = 0;
    int pupils = 0;
};

// The highest attendance number a unit of the class file names: in the 未入力
// cells of its tests and in its overrulings.
int highestPupil(const QJsonObject& unit)
{
    int highest = 0;
    for (const QJsonValue& test : unit.value(ClassFileFields::Tests).toArray()) {
        const QJsonObject cells = test.toObject().value(ClassFileFields::NotEnteredCells).toObject();
        for (auto column = cells.begin(); column != cells.end(); ++column)
            for (const QJsonValue& pupil : column.value().toArray())
                highest = qMax(highest, pupil.toInt());
    }
    for (const QJsonValue& overruling : unit.value(ClassFileFields::Overrulings).toArray())
        highest = qMax(highest, overruling.toObject().value(ClassFileFields::Pupil).toInt());
    return highest;
}

// The highest test an overruling of the unit was computed over.
int highestChosenTest(const QJsonObject& unit)
{
    int highest = 0;
    for (const QJsonValue& overruling : unit.value(ClassFileFields::Overrulings).toArray())
        for (const QJsonValue& test : overruling.toObject().value(ClassFileFields::Tests).toArray())
            highest = qMax(highest, test.toInt());
    return highest;
}

// The tests and pupils the class file names per unit, against the unit's score
// file and roster. A class file that cannot be read is its loader's to report.
QStringList classFileNotes(const QByteArray& bytes, const QMap<QString, UnitSize>& units)
{
    const QString name = ClassFile::fileName();
    QJsonObject root;
    if (bytes.isEmpty() || !ClassFile::parse(bytes, name, root))
        return {};
    const QJsonObject subjects = root.value(ClassFileFields::Subjects).toObject();
    QStringList notes;
    for (auto it = units.begin(); it != units.end(); ++it) {
        const QJsonObject unit = subjects.value(it.key()).toObject();
        const int tests = int(unit.value(ClassFileFields::Tests).toArray().size());
        const int chosen = highestChosenTest(unit);
        if (tests > it->tests || chosen > it->tests)
            notes << QStringLiteral("「%1」の%2：テスト%3件（%2.dat は%4件）").arg(name, it.key()).arg(qMax(tests, chosen)).arg(it->tests);
        if (const int pupil = highestPupil(unit); pupil > it->pupils)
            notes << QStringLiteral("「%1」の%2：出席番号%3の記録（%2の人数は%4人）").arg(name, it.key()).arg(pupil).arg(it->pupils);
    }
    return notes;
}

// The units whose score file fits its roster, with their sizes.
QMap<QString, UnitSize> unitSizes(const ClassData& data)
{
    QMap<QString, UnitSize> units;
    for (const Group& group : groupsOf(data)) {
        const int pupils = rosterCount(group.rosterName, bytesOf(group.rosterPath));
        int tests = 0;
        for (const Member& member : group.members)
            if (pupils != ClassCheck::NoCount && !member.attendance && memberFits(member, bytesOf(member.path), pupils, &tests))
                units.insert(member.stem, {tests, pupils});
    }
    return units;
}

}  // namespace

QString ClassCheck::disagreement(const ClassData& data)
{
    QStringList notes;
    QMap<QString, UnitSize> units;
    for (const Group& group : groupsOf(data)) {
        const int pupils = rosterCount(group.rosterName, bytesOf(group.rosterPath));
        if (pupils == NoCount)
            continue;
        QStringList groupNotes;
        for (const Member& member : group.members) {
            const QByteArray bytes = bytesOf(member.path);
            int tests = 0;
            if (bytes.isEmpty())
                continue;
            if (memberFits(member, bytes, pupils, &tests)) {
                if (!member.attendance)
                    units.insert(member.stem, {tests, pupils});
                continue;
            }
            // A file that fits no class size is malformed: its reader names the line
            // when it is opened.
            if (const int other = pupilsOf(member, bytes); other >= 0)
                groupNotes << pupilNote(member, other);
        }
        if (!groupNotes.isEmpty())
            notes << QStringLiteral("氏名「%1」：%2人").arg(group.rosterName).arg(pupils) << groupNotes;
    }
    notes << classFileNotes(bytesOf(ClassFile::path(data)), units);
    if (notes.isEmpty())
        return {};
    return QStringLiteral("クラスのファイルどうしで、人数またはテストの数が合っていません。\n\n%1\n\n"
                          "途中で止まった変更のあとかもしれないため、どのファイルも書き換えずに、読み取り専用で開きます。"
                          "ヘルプの「データを守る」の手順で、そろったファイル（.Bak や以前のクラスのコピー）に戻してください。")
        .arg(notes.join(QLatin1Char('\n')));
}

bool ClassCheck::fitsClass(const ClassData& data, const QString& fileName, const QByteArray& bytes)
{
    const auto same = [&fileName](const QString& name) { return name.compare(fileName, Qt::CaseInsensitive) == 0; };
    if (same(ClassFile::fileName())) {
        QJsonObject root;
        return ClassFile::parse(bytes, fileName, root) && classFileNotes(bytes, unitSizes(data)).isEmpty();
    }
    for (const Group& group : groupsOf(data)) {
        if (same(group.rosterName)) {
            const int pupils = rosterCount(group.rosterName, bytes);
            if (pupils == NoCount)
                return false;
            for (const Member& member : group.members) {
                const QByteArray other = bytesOf(member.path);
                if (!other.isEmpty() && !memberFits(member, other, pupils))
                    return false;
            }
            return true;
        }
        for (const Member& member : group.members) {
            if (!same(member.name))
                continue;
            const int pupils = rosterCount(group.rosterName, bytesOf(group.rosterPath));
            if (pupils == NoCount || !memberFits(member, bytes, pupils))
                return false;
            if (member.attendance) {
                auto scratch = std::make_unique<ClassData>();
                return bool(AttendanceFile::parse(bytes, pupils, *scratch));
            }
            auto set = std::make_unique<TestSet>();
            return bool(ScoreFile::parse(bytes, member.name, pupils, *set));
        }
    }
    return false;
}
