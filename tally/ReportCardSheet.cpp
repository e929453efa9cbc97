#include "tally/ReportCardSheet.h"

namespace ReportCardSheet {

namespace {

QString titleOf(int term)
{
    return term == ReportCard::Year ? QStringLiteral("指導要録（様式２）用　年間の記録") : QStringLiteral("通　知　表");
}

QString days(int count)
{
    return QString::number(count);
}

QString safeName(QString text)
{
    static const QString bad = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : text)
        if (bad.contains(c) || c.unicode() < 0x20)
            c = QLatin1Char('_');
    return text;
}

QString stemName(const ReportCard::Card& card)
{
    return card.term == ReportCard::Year ? QStringLiteral("指導要録") : QStringLiteral("通知表_") + card.termName;
}

}  // namespace

QString stem(int term, Paper paper)
{
    if (term == ReportCard::Year)
        return QStringLiteral("yoroku");
    return paper == Paper::A3Folded ? QStringLiteral("tsuchihyo_a3") : QStringLiteral("tsuchihyo");
}

QString schoolYear(const QDate& day)
{
    const int year = day.month() >= 4 ? day.year() : day.year() - 1;
    return QStringLiteral("%1年度").arg(year);
}

ReportSheet sheet(const ReportCard::Card& card, const Heading& heading)
{
    const ReportCard::Texts& texts = heading.texts;
    ReportSheet result;
    result.stem = stem(card.term, heading.paper);
    result.titleFields = {QStringLiteral("Title"),        QStringLiteral("SchoolYear"),   QStringLiteral("Term"),
                          QStringLiteral("School"),       QStringLiteral("ClassName"),    QStringLiteral("Teacher"),
                          QStringLiteral("Number"),       QStringLiteral("Name"),         QStringLiteral("GradeHeading"),
                          QStringLiteral("LessonDays"),   QStringLiteral("LeaveDays"),    QStringLiteral("RequiredDays"),
                          QStringLiteral("AbsenceDays"),  QStringLiteral("AttendanceDays"), QStringLiteral("Comment")};
    const ReportCard::Attendance& a = card.attendance;
    result.titleValues = {titleOf(card.term),
                          heading.schoolYear,
                          card.termName,
                          texts.school,
                          texts.className,
                          texts.teacher,
                          QString::number(card.pupil),
                          card.name,
                          texts.hideGrades ? QString() : QStringLiteral("評定"),
                          days(a.lessonDays),
                          days(a.leaveDays),
                          days(a.requiredDays),
                          days(a.absenceDays),
                          days(a.attendanceDays),
                          card.comment};
    result.dataFields = {QStringLiteral("Subject"), QStringLiteral("Viewpoint"), QStringLiteral("Grade"), QStringLiteral("Hyotei")};
    result.dataIndexName = QStringLiteral("Subject");
    for (const ReportCard::Subject& subject : card.subjects) {
        bool first = true;
        for (const ReportCard::Viewpoint& viewpoint : subject.viewpoints) {
            result.rows.append({first ? subject.name : QString(), viewpoint.name, viewpoint.grade,
                                first ? subject.grade : QString()});
            first = false;
        }
        if (first)  // a subject without a named viewpoint still shows its 評定
            result.rows.append({subject.name, QString(), QString(), subject.grade});
    }
    return result;
}

QList<ReportSheet> sheets(const QList<ReportCard::Card>& cards, const Heading& heading)
{
    QList<ReportSheet> result;
    for (const ReportCard::Card& card : cards)
        result.append(sheet(card, heading));
    return result;
}

ReportSheet classRecord(const QList<ReportCard::Card>& cards, const Heading& heading)
{
    ReportSheet result;
    result.stem = QStringLiteral("yoroku");
    result.titleFields = {QStringLiteral("表題"), QStringLiteral("年度"), QStringLiteral("学校名"), QStringLiteral("学級"),
                          QStringLiteral("担任")};
    const int term = cards.isEmpty() ? ReportCard::Year : cards.first().term;
    const QString title = term == ReportCard::Year ? titleOf(term) : QStringLiteral("通知表　%1の一覧").arg(cards.first().termName);
    result.titleValues = {title, heading.schoolYear, heading.texts.school, heading.texts.className,
                          heading.texts.teacher};
    result.dataFields = {QStringLiteral("番号"), QStringLiteral("氏名")};
    if (!cards.isEmpty())
        for (const ReportCard::Subject& subject : cards.first().subjects) {
            for (const ReportCard::Viewpoint& viewpoint : subject.viewpoints)
                result.dataFields << subject.name + QStringLiteral("：") + viewpoint.name;
            if (!heading.texts.hideGrades)
                result.dataFields << subject.name + QStringLiteral("：評定");
        }
    result.dataFields << QStringLiteral("授業日数") << QStringLiteral("出席停止・忌引等の日数")
                      << QStringLiteral("出席しなければならない日数") << QStringLiteral("欠席日数") << QStringLiteral("出席日数")
                      << (term == ReportCard::Year ? QStringLiteral("総合所見") : QStringLiteral("所見"));
    result.dataIndexName = QStringLiteral("番号");
    for (const ReportCard::Card& card : cards) {
        QStringList row{QString::number(card.pupil), card.name};
        for (const ReportCard::Subject& subject : card.subjects) {
            for (const ReportCard::Viewpoint& viewpoint : subject.viewpoints)
                row << viewpoint.grade;
            if (!heading.texts.hideGrades)
                row << subject.grade;
        }
        const ReportCard::Attendance& a = card.attendance;
        row << days(a.lessonDays) << days(a.leaveDays) << days(a.requiredDays) << days(a.absenceDays)
            << days(a.attendanceDays) << card.comment;
        result.rows.append(row);
    }
    return result;
}

QString pupilFileName(const ReportCard::Card& card)
{
    return safeName(QStringLiteral("%1_%2_%3.pdf").arg(stemName(card)).arg(card.pupil, 2, 10, QLatin1Char('0')).arg(card.name));
}

QString classFileName(const ReportCard::Card& card, const QString& extension)
{
    return stemName(card) + QLatin1Char('.') + extension;
}

}  // namespace ReportCardSheet
