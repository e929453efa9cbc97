#include "model/ViewpointNames.h"

#include "model/Cp932.h"

namespace {

ViewpointNameTable tableOf(const char* const rows[Limits::Units + 1][Limits::Viewpoints + 1])
{
    ViewpointNameTable table;
    for (int s = 0; s <= Limits::Units; ++s)
        for (int v = 0; v <= Limits::Viewpoints; ++v)
            table[s][v] = QString::fromUtf8(rows[s][v]);
    return table;
}

}  // namespace

const ViewpointNameTable& ViewpointNames::olderTable()
{
    static const char* const rows[Limits::Units + 1][Limits::Viewpoints + 1] = {
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
    static const ViewpointNameTable table = tableOf(rows);
    return table;
}

const ViewpointNameTable& ViewpointNames::currentCurriculum()
{
    static const ViewpointNameTable table = [] {
        ViewpointNameTable names;
        for (int s = 1; s <= Limits::Units; ++s) {
            names[s][1] = QStringLiteral("知識・技能");
            names[s][2] = QStringLiteral("思考・判断・表現");
            names[s][3] = QStringLiteral("主体的に学習に取り組む態度");
        }
        return names;
    }();
    return table;
}

QString ViewpointNames::listName(const ViewpointNameTable& names, int s, int v)
{
    if (s < 1 || s > Limits::Units || v < 1 || v > Limits::Viewpoints)
        return {};
    return names[s][v].isEmpty() ? Names::viewpointHeading(v) : names[s][v];
}

QString ViewpointNames::key(int s, int v)
{
    return QStringLiteral("KantenMei%1%2").arg(s).arg(v);
}

QString ViewpointNames::problem(int s, int v, const QString& name)
{
    const QString where = QStringLiteral("「%1」の%2").arg(Names::subjects()[s], Names::viewpointHeading(v));
    if (name.isEmpty())
        return v < Limits::Viewpoints ? where + QStringLiteral("の観点名を入力してください（空にできるのは観点Ⅳだけです）。")
                                      : QString();
    if (name.size() > MaxLength)
        return where + QStringLiteral("の観点名「%1」は長すぎます。%2文字以内にしてください。").arg(name).arg(MaxLength);
    if (const QString why = StorableText::problem(name); !why.isEmpty())
        return where + QStringLiteral("の観点名「%1」は保存できません。%2。").arg(name, why);
    return {};
}

std::optional<ViewpointNames::Problem> ViewpointNames::firstProblem(const ViewpointNameTable& names)
{
    for (int s = 1; s <= Limits::Units; ++s)
        for (int v = 1; v <= Limits::Viewpoints; ++v)
            if (QString message = problem(s, v, names[s][v]); !message.isEmpty())
                return Problem{s, v, message};
    return std::nullopt;
}
