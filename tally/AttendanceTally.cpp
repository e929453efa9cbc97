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

MonthRange range(int index)
{
    switch (index) {
    case 0: return {1, 4};    // April to July
    case 1: return {5, 9};    // August to December: the summer holidays count to term 2
    case 2: return {10, 12};  // January to March
    case 3: return {1, 12};
    default: return {};
    }
}

QString tallyName(const TermPlan& plan, int index)
{
    if (index == TallyCount - 1)
        return tallyName(index);
    const QString term = Terms::name(plan, index + 1);
    if (term.isEmpty())
        return {};
    return plan.count == 3 ? tallyName(index) : term + QStringLiteral("集計");
}

MonthRange range(const TermPlan& plan, int index)
{
    if (index == TallyCount - 1)
        return {1, Limits::Months};
    if (index < 0 || index >= plan.count)
        return {};
    return {plan.firstMonth(index + 1), plan.lastMonth(index + 1)};
}

QList<int> tallies(const TermPlan& plan)
{
    QList<int> list;
    for (int index = 0; index < TallyCount; ++index)
        if (!range(plan, index).isEmpty())
            list << index;
    return list;
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

int requiredDays(int lessonDays, int mourning, int suspension)
{
    return lessonDays - (mourning + suspension);
}

int PupilSums::leaveDays() const
{
    return (*this)[Category::Mourning] + (*this)[Category::Suspension];
}

int PupilSums::absenceDays() const
{
    return (*this)[Category::AbsentIll] + (*this)[Category::AbsentOther];
}

int PupilSums::attendanceDays() const
{
    return (*this)[Category::RequiredDays] - absenceDays();
}

Sums sum(const ClassData& data, MonthRange months)
{
    Sums sums;
    const int pupils = qBound(0, data.pupilCount, Limits::Pupils);
    const int first = qMax(months.first, 1);
    const int last = qMin(months.last, Limits::Months);
    for (int m = first; m <= last; ++m)
        sums.lessonDays += data.lessonDays[m];
    for (int p = 1; p <= pupils; ++p) {
        PupilSums& pupil = sums.pupils[size_t(p)];
        for (int m = first; m <= last; ++m) {
            if (beforeJoining(data, m, p))
                continue;
            pupil.lessonDays += data.lessonDays[m];
            for (int k = 1; k <= Limits::Categories; ++k)
                pupil.counts[size_t(k)] += data.attendance[m][p][k];
        }
    }
    return sums;
}

Row row(const ClassData& data, const Sums& sums, int pupil, View view)
{
    const PupilSums& s = sums.pupils[size_t(pupil)];
    Row result;
    result.pupil = pupil;
    result.name = data.pupilName[size_t(pupil)];
    if (view == View::RecordBook) {
        result.figures = {s.lessonDays, s.leaveDays(), s[Category::RequiredDays], s.absenceDays(),
                          s.attendanceDays(), s[Category::Late], s[Category::LeftEarly], std::nullopt};
    } else {
        for (Category category : categories)
            result.figures[size_t(categoryNumber(category) - 1)] = s[category];
        result.figures[FigureCount - 1] = s.attendanceDays();
    }
    return result;
}

Table table(const ClassData& data, int index, View view)
{
    const Sums sums = sum(data, range(data.termPlan, index));
    Table result;
    result.name = tallyName(data.termPlan, index);
    result.lessonDays = sums.lessonDays;
    result.headings = tallyHeadings(view);
    const int pupils = qBound(0, data.pupilCount, Limits::Pupils);
    for (int p = 1; p <= pupils; ++p)
        result.rows.append(row(data, sums, p, view));
    return result;
}

// ---- texts --------------------------------------------------------------------------

QString numberText(int pupil)
{
    return Format::hashes(pupil);
}

QString figureText(Figure figure)
{
    return figure ? QString::number(*figure) : QString();
}

QStringList rowTexts(const Row& row)
{
    QStringList texts{numberText(row.pupil), row.name};
    for (const Figure& figure : row.figures)
        texts << figureText(figure);
    return texts;
}

namespace {

// The fields of the "Shuseki" store: the title's, then one data row per grid row.
ReportSheet emptySheet()
{
    ReportSheet sheet;
    sheet.stem = QStringLiteral("Shuseki");
    sheet.titleFields = QStringList{QStringLiteral("Title"), QStringLiteral("Mode"), QStringLiteral("JugyoSu")};
    sheet.dataFields = QStringList{QStringLiteral("Number"), QStringLiteral("Name")};
    for (int i = 1; i <= FigureCount; ++i)
        sheet.dataFields << QStringLiteral("Datas%1").arg(i);
    sheet.dataIndexName = QStringLiteral("Number");
    return sheet;
}

// A data row of ten texts, each empty one stored as " ".
void appendRow(ReportSheet& sheet, const QStringList& texts)
{
    QStringList values;
    for (int c = 0; c < 2 + FigureCount; ++c) {
        const QString text = c < texts.size() ? texts[c] : QString();
        values << (text.isEmpty() ? QStringLiteral(" ") : text);
    }
    sheet.rows.append(values);
}

}  // namespace

QString reportTitle()
{
    return QStringLiteral("【出欠集計一覧表】");
}

QString previewTitle(const QString& tallyName)
{
    return QStringLiteral("出欠集計-") + tallyName;
}

ReportSheet sheet(const Table& table)
{
    ReportSheet result = emptySheet();
    result.titleValues = QStringList{reportTitle(), table.name, QString::number(table.lessonDays)};
    appendRow(result, table.headings);
    for (const Row& row : table.rows)
        appendRow(result, rowTexts(row));
    return result;
}

ReportSheet sheet(const ClassData& data, int index, View view)
{
    return sheet(table(data, index, view));
}

}  // namespace AttendanceTally
