// The months a pupil was in the class, and counts of a month that cannot be.

#include "tally/AttendanceTally.h"

namespace AttendanceTally {

Counts countsOf(const ClassData& data, int month, int pupil)
{
    Counts counts{};
    for (int k = 1; k <= Limits::Categories; ++k)
        counts[size_t(k)] = data.attendance[month][pupil][k];
    return counts;
}

namespace {

int countOf(const Counts& counts, Category category)
{
    return counts[size_t(categoryNumber(category))];
}

bool onlySuspension(const Counts& counts, int days)
{
    for (Category category : categories)
        if (countOf(counts, category) != (category == Category::Suspension ? days : 0))
            return false;
    return true;
}

}  // namespace

bool beforeJoining(const ClassData& data, int month, int pupil)
{
    if (month < 1 || month > Limits::Months || pupil < 1 || pupil > Limits::Pupils)
        return false;
    for (int m = 1; m <= month; ++m) {
        const int days = data.lessonDays[m];
        const Counts counts = countsOf(data, m, pupil);
        const bool absentFromClass = days > 0 && onlySuspension(counts, days);
        const bool empty = days == 0 && onlySuspension(counts, 0);
        if (m == month ? !absentFromClass : !(absentFromClass || empty))
            return false;
    }
    return true;
}

QString countsProblem(int lessonDays, const Counts& counts)
{
    if (lessonDays <= 0)
        return {};
    const int mourning = countOf(counts, Category::Mourning);
    const int suspension = countOf(counts, Category::Suspension);
    const int required = countOf(counts, Category::RequiredDays);
    if (mourning + suspension > lessonDays)
        return QStringLiteral("忌引 %1日と出停 %2日で計 %3日となり、授業日数 %4日を超えます")
            .arg(mourning)
            .arg(suspension)
            .arg(mourning + suspension)
            .arg(lessonDays);
    const QStringList names = inputHeadings().mid(2);  // 忌引 .. 早退
    for (Category category : categories)
        if (countOf(counts, category) < 0)
            return QStringLiteral("%1が %2日です").arg(names[categoryNumber(category) - 1]).arg(countOf(counts, category));
    if (mourning + suspension + required > lessonDays)
        return QStringLiteral("忌引 %1日、出停 %2日、必要日数 %3日で計 %4日となり、授業日数 %5日を超えます")
            .arg(mourning)
            .arg(suspension)
            .arg(required)
            .arg(mourning + suspension + required)
            .arg(lessonDays);
    const int ill = countOf(counts, Category::AbsentIll);
    const int other = countOf(counts, Category::AbsentOther);
    if (ill + other > required) {
        QString text = QStringLiteral("病欠 %1日と事欠 %2日で計 %3日となり、必要日数 %4日を超えます")
                           .arg(ill)
                           .arg(other)
                           .arg(ill + other)
                           .arg(required);
        if (required == 0)
            text += QStringLiteral("（必要日揃えで必要日数を入れてから入力してください）");
        return text;
    }
    return {};
}

QString problemText(int month, int pupil, const QString& name, const QString& problem)
{
    return monthNames().value(month - 1) + QStringLiteral("　") + Names::numberedPupil(pupil, name) + QStringLiteral("：")
        + problem + QStringLiteral("。");
}

std::optional<Problem> firstProblem(const ClassData& data)
{
    const int pupils = qBound(0, data.pupilCount, Limits::Pupils);
    for (int m = 1; m <= Limits::Months; ++m)
        for (int p = 1; p <= pupils; ++p) {
            const QString problem = countsProblem(data.lessonDays[m], countsOf(data, m, p));
            if (!problem.isEmpty())
                return Problem{m, p, problemText(m, p, data.pupilName[size_t(p)], problem)};
        }
    return std::nullopt;
}

}  // namespace AttendanceTally
