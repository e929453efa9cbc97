#include "maintenance/MenteSheet.h"

#include "core/Format.h"

ReportSheet MenteSheet::build(const QString& title, const QString& className, const QString& namesHeading,
                              const QStringList& lines)
{
    ReportSheet sheet;
    sheet.stem = QStringLiteral("Mente");
    sheet.titleFields = {QStringLiteral("Title"), QStringLiteral("ClassName"), QStringLiteral("Number"), QStringLiteral("Names")};
    sheet.dataFields = {QStringLiteral("Number"), QStringLiteral("Name")};
    sheet.dataIndexName = QStringLiteral("Number");
    sheet.titleValues = {title, className, QStringLiteral("番号"), namesHeading};
    for (int i = 0; i < lines.size(); ++i)
        sheet.rows.append({Format::hashes(i + 1), lines[i]});
    return sheet;
}

ReportSheet MenteSheet::names(const QString& className, const QStringList& names)
{
    return build(QStringLiteral("【児童氏名一覧表】"), className, QStringLiteral("氏　　名"), names);
}

ReportSheet MenteSheet::tests(const QString& className, const QStringList& tests)
{
    return build(QStringLiteral("【テスト一覧表】"), className, QStringLiteral("テスト名"), tests);
}

ReportSheet MenteSheet::names(const ClassData& data)
{
    QStringList lines;
    for (int p = 1; p <= data.PupilCount; ++p)
        lines.append(data.PupilName[p]);
    return names(data.unitName(), lines);
}

ReportSheet MenteSheet::tests(const ClassData& data)
{
    QStringList lines;
    for (int t = 1; t <= data.TestSet.StoredTestCount; ++t)
        lines.append(data.TestSet.TestName[t]);
    return tests(data.unitName(), lines);
}
