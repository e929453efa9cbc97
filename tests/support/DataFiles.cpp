#include "DataFiles.h"

namespace DataFiles {

namespace {

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

}  // namespace

QStringList pupilNames(int count, NameStyle style)
{
    static const char* const family[] = {"青木", "石田", "上野", "江藤", "大川", "加藤", "木村", "工藤", "小林",
                                         "斎藤", "島田", "鈴木", "関口", "高橋", "田中", "千葉", "土屋", "中村",
                                         "西川", "野口", "橋本", "林", "藤田", "堀", "松本", "三浦", "村上",
                                         "森", "山田", "吉田", "和田", "安藤", "井上", "内田", "遠藤", "岡田",
                                         "川口", "北村", "久保", "近藤", "佐野", "清水", "菅原", "武田", "谷口"};
    static const char* const given[] = {"一郎", "花子", "健太", "さくら", "翔", "美咲", "大輝", "陽菜", "蓮"};
    QStringList names;
    for (int i = 0; i < count; ++i) {
        if (style == NameStyle::Full)
            names << QString::fromUtf8(family[i % 45]) + QString::fromUtf8(given[i % 9]);
        else
            names << QStringLiteral("児童%1").arg(i + 1, 2, 10, QLatin1Char('0'));
    }
    return names;
}

QStringList rosterLines(const QStringList& names)
{
    QStringList lines{QString::number(names.size())};
    for (const QString& name : names)
        lines << quoted(name);
    return lines;
}

QStringList scoreLines(const Tests& tests)
{
    QStringList lines{QString::number(tests.size())};
    for (const Test& test : tests) {
        lines << quoted(test.name) << QString::number(test.columns.size());
        for (const Column& column : test.columns) {
            lines << QString::number(column.kind) << QString::number(column.fullMarks);
            for (int score : column.scores)
                lines << QString::number(score);
        }
    }
    return lines;
}

Attendance attendanceYear(int pupils, const std::function<int(int)>& lessonDays,
                          const std::function<QList<int>(int, int)>& counts)
{
    Attendance year;
    for (int m = 1; m <= 12; ++m) {
        year.lessonDays << (lessonDays ? lessonDays(m) : 0);
        QList<QList<int>> month;
        for (int p = 1; p <= pupils; ++p)
            month << (counts ? counts(m, p) : QList<int>(7, 0));
        year.counts << month;
    }
    return year;
}

QStringList attendanceLines(const Attendance& attendance, Quoting quoting)
{
    const auto number = [quoting](int value) {
        return quoting == Quoting::Quoted ? quoted(QString::number(value)) : QString::number(value);
    };
    QStringList lines;
    for (int m = 0; m < attendance.lessonDays.size(); ++m) {
        lines << number(attendance.lessonDays[m]);
        for (const QList<int>& counts : attendance.counts[m]) {
            QStringList items;
            for (int value : counts)
                items << number(value);
            lines << items.join(QLatin1Char(','));
        }
    }
    return lines;
}

const QStringList& subjectStems()
{
    static const QStringList stems{QStringLiteral("国語"), QStringLiteral("社会"), QStringLiteral("算数"),
                                   QStringLiteral("理科"), QStringLiteral("生活"), QStringLiteral("音楽"),
                                   QStringLiteral("図工"), QStringLiteral("家庭"), QStringLiteral("体育")};
    return stems;
}

const QStringList& classStems()
{
    static const QStringList stems{QStringLiteral("４の１"), QStringLiteral("４の２"), QStringLiteral("４の３"),
                                   QStringLiteral("５の１"), QStringLiteral("５の２"), QStringLiteral("５の３"),
                                   QStringLiteral("６の１"), QStringLiteral("６の２"), QStringLiteral("６の３")};
    return stems;
}

}  // namespace DataFiles
