#include "app/CriteriaEditor.h"

void CriteriaEditor::copyFrom(const ClassData& data)
{
    subjects = data.criteria;
    for (int s = 1; s <= Limits::Units; ++s)
        for (GroupCriteria& group : subjects[s].groups) {
            // A stored basis the dialog cannot show is offered as "順位で", the default.
            const int basis = int(group.basis);
            if (basis < 0 || basis > 2)
                group.basis = GradeBasis::Rank;
        }
}

void CriteriaEditor::copyTo(ClassData& data) const
{
    for (int s = 1; s <= Limits::Units; ++s)
        data.criteria[s] = subjects[s];
}

std::optional<CriteriaEditor::Problem> CriteriaEditor::firstProblem() const
{
    for (int s = 1; s <= Limits::Units; ++s)
        for (int group = 0; group <= Limits::Viewpoints; ++group)
            for (int k = 1; k <= GroupCriteria::Thresholds; ++k) {
                const QString problem = CriteriaText::rangeProblem(k, subjects[s].groups[group].threshold(k));
                if (!problem.isEmpty())
                    return Problem{s, group, k,
                                   QStringLiteral("「%1」の評定基準「%2」の「%3」%4")
                                       .arg(Names::subjects()[s], CriteriaText::groupName(group),
                                            CriteriaText::thresholdLabel(group, k), problem)};
            }
    return std::nullopt;
}

QString CriteriaText::groupName(int group)
{
    return group == 0 ? QStringLiteral("総合") : Names::viewpointHeading(group);
}

QString CriteriaText::thresholdLabel(int group, int threshold)
{
    static const char* const overall[7] = {"", "位以内が３", "位以下が１", "点以上が３", "点以下が１", "％が３", "％が１"};
    static const char* const viewpoint[7] = {"", "位以内がＡ", "位以下がＣ", "点以上がＡ", "点以下がＣ", "％がＡ", "％がＣ"};
    if (threshold < 1 || threshold > 6)
        return {};
    return QString::fromUtf8(group == 0 ? overall[threshold] : viewpoint[threshold]);
}

std::optional<int> CriteriaText::parse(const QString& text)
{
    // NFKC turns full-width digits and signs ("３０", "－５") into their plain forms.
    QString plain = text.normalized(QString::NormalizationForm_KC).trimmed();
    plain.replace(QChar(0x2212), QLatin1Char('-'));  // minus sign
    if (plain.isEmpty())
        return std::nullopt;
    for (int i = 0; i < plain.size(); ++i) {
        const QChar c = plain.at(i);
        if (!(c.isDigit() && c.unicode() < 128) && !(i == 0 && (c == QLatin1Char('-') || c == QLatin1Char('+'))))
            return std::nullopt;
    }
    bool ok = false;
    const int value = plain.toInt(&ok);
    if (!ok || value < -32768 || value > 32767)
        return std::nullopt;
    return value;
}

QString CriteriaText::rangeProblem(int threshold, int value)
{
    switch (threshold) {
    case 1:
    case 2:
        if (value < 0)
            return QStringLiteral("には0以上の順位を入力してください。");
        break;
    case 3:
    case 4:
        if (value > 100)
            return QStringLiteral("には100以下の点数を入力してください。");
        break;
    case 5:
    case 6:
        if (value < 0 || value > 100)
            return QStringLiteral("には0から100までの数を入力してください。");
        break;
    default:
        break;
    }
    return {};
}

QString CriteriaText::read(int subject, int group, int threshold, const QString& text, int& value)
{
    const QString where = QStringLiteral("「%1」の評定基準「%2」の「%3」")
                              .arg(Names::subjects()[subject], groupName(group), thresholdLabel(group, threshold));
    const std::optional<int> number = parse(text);
    if (!number)
        return where + QStringLiteral("には整数を入力してください。");
    if (const QString problem = rangeProblem(threshold, *number); !problem.isEmpty())
        return where + problem;
    value = *number;
    return {};
}
