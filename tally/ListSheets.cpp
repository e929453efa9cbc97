#include "tally/ListSheets.h"

#include "model/Format.h"

ReportSheet ListSheets::build(const QString& title, const QString& className, const QString& namesHeading,
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

ReportSheet ListSheets::names(const QString& className, const QStringList& names)
{
    return build(QStringLiteral("【児童氏名一覧表】"), className, QStringLiteral("氏　　名"), names);
}

ReportSheet ListSheets::tests(const QString& className, const QStringList& tests)
{
    return build(QStringLiteral("【テスト一覧表】"), className, QStringLiteral("テスト名"), tests);
}

ReportSheet ListSheets::names(const ClassData& data)
{
    QStringList lines;
    for (int p = 1; p <= data.pupilCount; ++p)
        lines.append(data.pupilName[p]);
    return names(data.unitName(), lines);
}

ReportSheet ListSheets::tests(const ClassData& data)
{
    QStringList lines;
    for (int t = 1; t <= data.tests.count; ++t)
        lines.append(data.tests.name[t]);
    return tests(data.unitName(), lines);
}
