#include "tally/ReportCard.h"

#include "model/Comments.h"
#include "tally/AttendanceTally.h"
#include "tally/OverallTally.h"

#include <memory>

namespace ReportCard {

namespace {

// One subject's grades for every pupil, from the overall tally over its tests of
// the term, computed on a copy of the class holding that subject's tests.
struct SubjectTally {
    Subject heading;  // name and viewpoint names, no grades
    std::unique_ptr<OverallTally> tally;  // none without a test in the term
};

SubjectTally tallySubject(const ClassData& data, const UnitSets::Unit& unit, int term)
{
    SubjectTally result;
    const int subject = data.specialistMode ? data.subject : unit.number;
    result.heading.number = subject;
    result.heading.name = Names::subjects()[size_t(qBound(1, subject, Limits::Units))];
    for (int v = 1; v <= Limits::Viewpoints; ++v) {
        const QString& name = data.viewpointName[size_t(subject)][size_t(v)];
        if (!name.isEmpty())
            result.heading.viewpoints.append(Viewpoint{v, name, QString(), false});
    }
    const QList<int> tests = testsOf(unit.tests, term);
    result.heading.tests = int(tests.size());
    if (tests.isEmpty())
        return result;
    auto copy = std::make_unique<ClassData>(data);
    copy->tests = unit.tests;
    copy->overrulings = unit.overrulings;
    result.tally = std::make_unique<OverallTally>(computeOverallTally(*copy, subject, tests));
    return result;
}

Subject subjectOf(const SubjectTally& tallied, int pupil, bool hideGrades)
{
    Subject subject = tallied.heading;
    if (!tallied.tally || pupil > tallied.tally->pupils)
        return subject;
    const OverallTally& tally = *tallied.tally;
    for (Viewpoint& viewpoint : subject.viewpoints) {
        const TallyFigure& figure = tally.viewpoint[viewpoint.number][pupil];
        if (figure.hasValue() || figure.overruled) {
            viewpoint.grade = figure.evaluation;
            viewpoint.overruled = figure.overruled;
        }
    }
    const TallyFigure& overall = tally.overall[pupil];
    if (!hideGrades && (overall.hasValue() || overall.overruled)) {
        subject.grade = overall.evaluation;
        subject.overruled = overall.overruled;
    }
    return subject;
}

Attendance attendanceOf(const ClassData& data, const AttendanceTally::Sums& sums, int pupil)
{
    const AttendanceTally::Row row = AttendanceTally::row(data, sums, pupil, AttendanceTally::View::RecordBook);
    auto at = [&row](int i) { return row.figures[size_t(i)].value_or(0); };
    return Attendance{at(0), at(1), at(2), at(3), at(4)};
}

QString commentOf(const ClassData& data, int term, int pupil)
{
    if (term != Year)
        return Comments::of(data, term, pupil);
    QStringList paragraphs;
    for (int t = 1; t <= Terms; ++t) {
        const QString text = Comments::of(data, t, pupil).trimmed();
        if (!text.isEmpty())
            paragraphs.append(text);
    }
    return paragraphs.join(QLatin1Char('\n'));
}

}  // namespace

QList<int> testsOf(const TestSet& set, int term)
{
    QList<int> tests;
    for (int t = 1; t <= qBound(0, set.count, Limits::Tests); ++t)
        if (term == Year || set.term[size_t(t)] == term)
            tests.append(t);
    return tests;
}

QList<Card> compute(const ClassData& data, const QList<UnitSets::Unit>& units, int term, const Texts& texts)
{
    std::vector<SubjectTally> subjects;
    for (const UnitSets::Unit& unit : units)
        subjects.push_back(tallySubject(data, unit, term));
    const AttendanceTally::MonthRange months = AttendanceTally::range(term == Year ? AttendanceTally::TallyCount - 1 : term - 1);
    const AttendanceTally::Sums sums = AttendanceTally::sum(data, months);
    QList<Card> cards;
    const int pupils = qBound(0, data.pupilCount, Limits::Pupils);
    for (int p = 1; p <= pupils; ++p) {
        Card card;
        card.pupil = p;
        card.name = data.pupilName[size_t(p)];
        card.term = term;
        card.termName = termName(data, term);
        for (const SubjectTally& subject : subjects)
            card.subjects.append(subjectOf(subject, p, texts.hideGrades));
        card.attendance = attendanceOf(data, sums, p);
        card.comment = commentOf(data, term, p);
        cards.append(card);
    }
    return cards;
}

int termCount(const ClassData& /*data*/)
{
    return Terms;
}

QString termName(const ClassData& /*data*/, int term)
{
    switch (term) {
    case 1: return QStringLiteral("１学期");
    case 2: return QStringLiteral("２学期");
    case 3: return QStringLiteral("３学期");
    default: return QStringLiteral("年間");
    }
}

}  // namespace ReportCard
