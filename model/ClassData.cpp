#include "model/ClassData.h"

#include "model/ViewpointNames.h"

#include <cstring>

TestSet::TestSet()
{
    weight.fill(1.0);
    kind.fill(TestKind::Scores);
}

void TestSet::clear()
{
    count = 0;
    for (auto& testName : name)
        testName.clear();
    columnCount.fill(0);
    std::memset(viewpoint, 0, sizeof viewpoint);
    std::memset(fullMarks, 0, sizeof fullMarks);
    std::memset(score, 0, sizeof score);
    weight.fill(1.0);
    kind.fill(TestKind::Scores);
    term.fill(0);
}

ClassData::ClassData()
{
    setFileStems();
    setDefaultViewpointNames();
}

const std::array<QString, 10>& Names::subjects()
{
    static const std::array<QString, 10> names{
        QString(), QStringLiteral("国語"), QStringLiteral("社会"), QStringLiteral("算数"),
        QStringLiteral("理科"), QStringLiteral("生活"), QStringLiteral("音楽"),
        QStringLiteral("図工"), QStringLiteral("家庭"), QStringLiteral("体育")};
    return names;
}

const std::array<QString, 10>& Names::classes()
{
    static const std::array<QString, 10> names{
        QString(), QStringLiteral("４の１"), QStringLiteral("４の２"), QStringLiteral("４の３"),
        QStringLiteral("５の１"), QStringLiteral("５の２"), QStringLiteral("５の３"),
        QStringLiteral("６の１"), QStringLiteral("６の２"), QStringLiteral("６の３")};
    return names;
}

QString Names::viewpointHeading(int v)
{
    static const QString headings[] = {QString(), QStringLiteral("観点Ⅰ"), QStringLiteral("観点Ⅱ"),
                                       QStringLiteral("観点Ⅲ"), QStringLiteral("観点Ⅳ")};
    return (v >= 1 && v <= 4) ? headings[v] : QString();
}

QString Names::numberedPupil(int number, const QString& name)
{
    return QStringLiteral("%1番 %2").arg(number).arg(name);
}

QString Names::pupilListLine(int number, const QString& name)
{
    return (number < 10 ? QStringLiteral("  ") : QString()) + numberedPupil(number, name);
}

void ClassData::setFileStems()
{
    fileStem = specialistMode ? Names::classes() : Names::subjects();
}

void ClassData::setDefaultViewpointNames()
{
    viewpointName = ViewpointNames::olderTable();
}
