#include "tally/GradeOverrulings.h"

#include "tally/Evaluation.h"

#include <algorithm>

QList<int> GradeOverrulings::testsKey(const QList<int>& chosen, int testCount)
{
    QList<int> tests = chosen;
    std::sort(tests.begin(), tests.end());
    tests.erase(std::unique(tests.begin(), tests.end()), tests.end());
    const int count = qBound(0, testCount, Limits::Tests);
    bool every = tests.size() == count;
    for (int i = 0; every && i < count; ++i)
        every = tests[i] == i + 1;
    return every ? QList<int>{} : tests;
}

int GradeOverrulings::find(const QList<Overruling>& list, int pupil, int group, const QList<int>& tests)
{
    for (qsizetype i = 0; i < list.size(); ++i) {
        const Overruling& overruling = list[i];
        if (overruling.pupil == pupil && overruling.group == group && overruling.tests == tests)
            return int(i);
    }
    return -1;
}

OverallRule GradeOverrulings::overallRule(const SubjectCriteria& criteria)
{
    return {criteria.overall().basis == GradeBasis::Goals, criteria.fromViewpoints};
}

namespace {

// The figure shows its computed grade, or the teacher's where one is kept.
void settle(TallyFigure& figure, const QList<Overruling>& list, int pupil, int group, const QList<int>& tests)
{
    const int found = GradeOverrulings::find(list, pupil, group, tests);
    figure.overruled = found >= 0;
    figure.evaluation = found >= 0 ? list[found].given : figure.computed;
}

}  // namespace

void GradeOverrulings::apply(PupilFigures figures, const QList<Overruling>& list, const QList<int>& tests,
                             const OverallRule& rule)
{
    for (int p = 1; p <= figures.pupils; ++p) {
        std::array<QString, Limits::Viewpoints + 1> viewpointGrades;
        for (int v = 1; v <= Limits::Viewpoints; ++v) {
            TallyFigure& figure = figures.viewpoint[v][p];
            settle(figure, list, p, v, tests);
            if (figure.hasValue() || figure.overruled)
                viewpointGrades[size_t(v)] = figure.evaluation;
        }
        TallyFigure& overall = figures.overall[p];
        if (rule.fromViewpoints && overall.hasValue())
            overall.computed = gradeFromViewpoints(rule.points, viewpointGrades);
        settle(overall, list, p, Overruling::OverallGroup, tests);
    }
}

QString GradeOverrulings::groupName(int group)
{
    return group == Overruling::OverallGroup ? QStringLiteral("評定") : Names::viewpointHeading(group);
}

QStringList GradeOverrulings::gradesOf(int group)
{
    if (group == Overruling::OverallGroup)
        return {QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("1")};
    return {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
}
