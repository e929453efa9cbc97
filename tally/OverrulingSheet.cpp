#include "tally/OverrulingSheet.h"

#include "model/Format.h"
#include "tally/GradeOverrulings.h"

#include <algorithm>

namespace {

QString testsText(const TestSet& set, const QList<int>& tests)
{
    if (tests.isEmpty())
        return QStringLiteral("すべて");
    QStringList names;
    for (int t : tests)
        names << ((t >= 1 && t <= qMin(set.count, Limits::Tests)) ? set.name[size_t(t)] : QStringLiteral("（テスト%1）").arg(t));
    return names.join(QStringLiteral("、"));
}

}  // namespace

QList<OverrulingLine> OverrulingSheet::lines(const ClassData& data)
{
    QList<Overruling> sorted = data.overrulings;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Overruling& a, const Overruling& b) {
        return a.pupil != b.pupil ? a.pupil < b.pupil : a.group < b.group;
    });
    const int subject = qBound(1, data.subject, Limits::Units);
    QList<OverrulingLine> lines;
    for (const Overruling& overruling : sorted) {
        OverrulingLine line;
        line.unit = data.unitName();
        line.pupil = overruling.pupil;
        line.pupilName = (overruling.pupil >= 1 && overruling.pupil <= Limits::Pupils) ? data.pupilName[size_t(overruling.pupil)] : QString();
        line.group = GradeOverrulings::groupName(overruling.group);
        if (overruling.group >= 1 && overruling.group <= Limits::Viewpoints)
            line.group += QLatin1Char(' ') + data.viewpointName[size_t(subject)][size_t(overruling.group)];
        line.tests = testsText(data.tests, overruling.tests);
        line.computed = overruling.computed.isEmpty() ? QStringLiteral("-") : overruling.computed;
        line.given = overruling.given;
        line.reason = overruling.reason;
        line.date = overruling.date;
        lines.append(line);
    }
    return lines;
}

QStringList OverrulingSheet::cells(const OverrulingLine& line)
{
    return {line.unit,     QString::number(line.pupil), line.pupilName, line.group,
            line.tests,    line.computed,               line.given,     line.reason,
            line.date.isValid() ? line.date.toString(QStringLiteral("yyyy/MM/dd")) : QStringLiteral("-")};
}

QStringList OverrulingSheet::headings()
{
    return {QStringLiteral("教科"),   QStringLiteral("番号"),   QStringLiteral("氏名"),
            QStringLiteral("評定の欄"), QStringLiteral("テスト"), QStringLiteral("計算"),
            QStringLiteral("変更"),   QStringLiteral("理由"),   QStringLiteral("日付")};
}

ReportSheet OverrulingSheet::sheet(const QList<OverrulingLine>& lines, const QString& className)
{
    ReportSheet sheet;
    sheet.stem = QStringLiteral("Hyotei");
    sheet.titleFields = {QStringLiteral("Title"), QStringLiteral("ClassName"), QStringLiteral("Count")};
    sheet.dataFields = {QStringLiteral("Number"), QStringLiteral("Kyoka"),  QStringLiteral("Bango"),
                        QStringLiteral("Name"),   QStringLiteral("Kanten"), QStringLiteral("Tests"),
                        QStringLiteral("Keisan"), QStringLiteral("Henkou"), QStringLiteral("Riyu"),
                        QStringLiteral("Hiduke")};
    sheet.dataIndexName = QStringLiteral("Number");
    sheet.titleValues = {QStringLiteral("【評定の変更一覧】"), className, QStringLiteral("%1件").arg(lines.size())};
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringList row{Format::hashes(double(i + 1))};
        for (const QString& cell : cells(lines[i]))
            row << (cell.isEmpty() ? QStringLiteral("-") : cell);
        sheet.rows.append(row);
    }
    return sheet;
}
