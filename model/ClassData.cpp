#include "model/ClassData.h"

#include <cstring>

void TestSet::clear()
{
    count = 0;
    for (auto& testName : name)
        testName.clear();
    columnCount.fill(0);
    std::memset(viewpoint, 0, sizeof viewpoint);
    std::memset(fullMarks, 0, sizeof fullMarks);
    std::memset(score, 0, sizeof score);
}

ClassData::ClassData()
{
    setFileStems();
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

void ClassData::setFileStems()
{
    fileStem = specialistMode ? Names::classes() : Names::subjects();
}

void ClassData::setDefaultViewpointNames()
{
    static const char* const table[10][5] = {
        {"", "", "", "", ""},
        {"", "関心,意欲,態度", "表現の能力", "理解の能力", "言語の知識"},
        {"", "関心,意欲,態度", "思考・判断", "観察・資料活用", "知識・理解"},
        {"", "関心,意欲,態度", "数学的な考え方", "表現・処理", "知識・理解"},
        {"", "関心,意欲,態度", "科学的思考", "観察・実験", "知識・理解"},
        {"", "関心,意欲,態度", "思考・表現", "気づき", ""},
        {"", "関心,意欲,態度", "感受・表現の工夫", "表現の技能", "鑑賞の能力"},
        {"", "関心,意欲,態度", "発想・構想", "創造的な技能", "鑑賞の能力"},
        {"", "関心,意欲,態度", "創意工夫", "生活の技能", "知識・理解"},
        {"", "関心,意欲,態度", "思考・判断", "運動の技能", "知識・理解"},
    };
    for (int s = 0; s <= 9; ++s)
        for (int v = 0; v <= 4; ++v)
            viewpointName[s][v] = QString::fromUtf8(table[s][v]);
}

