#include "tally/AttendanceTally.h"

#include "model/Format.h"

namespace AttendanceTally {

QStringList monthNames()
{
    return {QStringLiteral("４月"), QStringLiteral("５月"), QStringLiteral("６月"), QStringLiteral("７月"),
            QStringLiteral("８月"), QStringLiteral("９月"), QStringLiteral("10月"), QStringLiteral("11月"),
            QStringLiteral("12月"), QStringLiteral("１月"), QStringLiteral("２月"), QStringLiteral("３月")};
}

int monthItem(const QDate& date)
{
    const int calendarMonth = date.isValid() ? date.month() : 4;
    return calendarMonth >= 4 ? calendarMonth - 4 : calendarMonth + 8;
}

QStringList tallyNames()
{
    return {QStringLiteral("１学期集計"), QStringLiteral("２学期集計"), QStringLiteral("３学期集計"),
            QStringLiteral("年度末集計")};
}

QString tallyName(int index)
{
    const QStringList names = tallyNames();
    return index >= 0 && index < names.size() ? names[index] : QString();
}

Range range(int index)
{
    switch (index) {
    case 0: return {1, 4};    // April to July
    case 1: return {5, 9};    // August to December: the summer holidays count to term 2
    case 2: return {10, 12};  // January to March
    case 3: return {1, 12};
    default: return {};
    }
}

QStringList inputHeadings()
{
    return {QStringLiteral("番号"), QStringLiteral("氏名"), QStringLiteral("忌引"), QStringLiteral("出停"),
            QStringLiteral("必要日数"), QStringLiteral("病欠"), QStringLiteral("事欠"), QStringLiteral("遅刻"),
            QStringLiteral("早退")};
}

QStringList tallyHeadings(View view)
{
    if (view == View::RecordBook)
        return {QStringLiteral("番号"), QStringLiteral("氏名"), QStringLiteral("授業日数"), QStringLiteral("忌引出停"),
                QStringLiteral("必要日数"), QStringLiteral("欠席日数"), QStringLiteral("出席日数"), QStringLiteral("遅刻"),
                QStringLiteral("早退"), QStringLiteral("出席日数")};
    return inputHeadings() << QStringLiteral("出席日数");
}

QString numberText(int pupil)
{
    return Format::hashes(pupil);
}

QString countText(int value)
{
    return value < 1 ? QString() : QString::number(value);
}

QString requiredDaysText(int lessonDays, int mourning, int suspension)
{
    return Format::hashes(lessonDays - (mourning + suspension));
}

int cellValue(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

Sums sum(const ClassData& data, Range months)
{
    Sums sums;
    const int pupils = qBound(0, data.pupilCount, Limits::Pupils);
    const int first = qMax(months.StartMonth, 1);
    const int last = qMin(months.EndMonth, Limits::Months);
    for (int m = first; m <= last; ++m) {
        sums.lessonDays += data.lessonDays[m];
        for (int p = 1; p <= pupils; ++p)
            for (int k = 1; k <= Limits::Categories; ++k)
                sums.S[p][k] += data.attendance[m][p][k];
    }
    return sums;
}

QStringList tallyRow(const ClassData& data, const Sums& sums, int pupil, View view)
{
    const auto n = [](int value) { return QString::number(value); };
    const int(&s)[Limits::Categories + 1] = sums.S[pupil];
    QStringList row{numberText(pupil), data.pupilName[pupil]};
    if (view == View::RecordBook) {
        row << n(sums.lessonDays) << n(sums.leaveDays(pupil)) << n(s[3]) << n(sums.absenceDays(pupil))
            << n(sums.attendanceDays(pupil)) << n(s[6]) << n(s[7]) << QString();
    } else {
        for (int k = 1; k <= Limits::Categories; ++k)
            row << n(s[k]);
        row << n(sums.attendanceDays(pupil));
    }
    return row;
}

ReportSheet MakeDB()
{
    ReportSheet sheet;
    sheet.stem = QStringLiteral("Shuseki");
    sheet.titleFields = QStringList{QStringLiteral("Title"), QStringLiteral("Mode"), QStringLiteral("JugyoSu")};
    sheet.dataFields = QStringList{QStringLiteral("Number"), QStringLiteral("Name")};
    for (int i = 1; i <= 8; ++i)
        sheet.dataFields << QStringLiteral("Datas%1").arg(i);
    sheet.dataIndexName = QStringLiteral("Number");
    return sheet;
}

void TitleSet(ReportSheet& sheet, const QString& Title, const QString& Mode, const QString& JugyoSu)
{
    sheet.titleValues = QStringList{Title, Mode, JugyoSu};
}

void Dataset(ReportSheet& sheet, const QStringList& columns)
{
    QStringList values;
    for (int c = 0; c < 10; ++c) {
        QString text = c < columns.size() ? columns[c] : QString();
        if (c == 0)
            text = Format::textPattern(text, QStringLiteral("##"));
        values << (text.isEmpty() ? QStringLiteral(" ") : text);
    }
    sheet.rows.append(values);
}

QString reportTitle()
{
    return QStringLiteral("【出欠集計一覧表】");
}

QString previewTitle(const QString& tallyName)
{
    return QStringLiteral("出欠集計-") + tallyName;
}

Table table(const ClassData& data, int index, View view)
{
    const Sums sums = sum(data, range(index));
    Table result;
    result.name = tallyName(index);
    result.lessonDays = sums.lessonDays;
    result.headings = tallyHeadings(view);
    const int pupils = qBound(0, data.pupilCount, Limits::Pupils);
    for (int p = 1; p <= pupils; ++p)
        result.rows.append(tallyRow(data, sums, p, view));
    return result;
}

ReportSheet sheet(const Table& table)
{
    ReportSheet result = MakeDB();
    TitleSet(result, reportTitle(), table.name, QString::number(table.lessonDays));
    Dataset(result, table.headings);
    for (const QStringList& row : table.rows)
        Dataset(result, row);
    return result;
}

ReportSheet sheet(const ClassData& data, int index, View view)
{
    return sheet(table(data, index, view));
}

}  // namespace AttendanceTally
