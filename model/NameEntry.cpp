#include "model/NameEntry.h"

#include "model/ClassData.h"
#include "model/Cp932.h"

#include <QRegularExpression>

namespace {

// The refused lines listed in one message; more are counted.
constexpr int ListedRefusals = 10;

QString fullMessage()
{
    return QStringLiteral("１クラスの人数は%1人までです。これ以上の氏名は入力できません。").arg(Limits::Pupils);
}

}  // namespace

QString NameEntry::refusal(const QString& name, int count)
{
    if (count >= Limits::Pupils)
        return fullMessage();
    if (const QString problem = StorableText::problem(name); !problem.isEmpty())
        return QStringLiteral("氏名「%1」は保存できません。%2。").arg(name, problem);
    return {};
}

bool NameEntry::isList(const QString& text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\t'));
}

NameEntry::Pasted NameEntry::readPasted(const QString& text, int count)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineEnd);
    int first = 0;  // the line number of lines[0], 0-based
    while (!lines.isEmpty() && lines.first().trimmed().isEmpty()) {
        lines.removeFirst();
        ++first;
    }
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();

    Pasted pasted;
    QStringList refused;
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNumber = first + i + 1;
        QStringList cells;
        for (const QString& cell : lines[i].split(QLatin1Char('\t')))
            if (!cell.trimmed().isEmpty())
                cells << cell.trimmed();
        if (cells.size() > 1) {
            pasted.refusal = QStringLiteral("貼り付けた内容の%1行目に%2つの欄があります。"
                                            "表計算ソフトからは、氏名の列だけをコピーして貼り付けてください。\n"
                                            "氏名は１人も追加していません。")
                                 .arg(lineNumber)
                                 .arg(cells.size());
            return pasted;
        }
        const QString name = cells.isEmpty() ? QString() : cells.first();
        QString why;
        if (name.isEmpty())
            why = QStringLiteral("空の行です");
        else
            why = StorableText::problem(name);
        if (!why.isEmpty())
            refused << QStringLiteral("%1行目「%2」：%3").arg(lineNumber).arg(name, why);
        pasted.names << name;
    }
    if (!refused.isEmpty()) {
        const qsizetype more = refused.size() - ListedRefusals;
        if (more > 0) {
            refused = refused.mid(0, ListedRefusals);
            refused << QStringLiteral("ほか%1行").arg(more);
        }
        pasted.refusal = QStringLiteral("次の行は氏名として保存できないため、貼り付けませんでした。"
                                        "氏名は１人も追加していません。\n\n")
            + refused.join(QLatin1Char('\n'))
            + QStringLiteral("\n\n直してから、もう一度貼り付けてください。");
    } else if (count + pasted.names.size() > Limits::Pupils) {
        pasted.refusal = QStringLiteral("貼り付けた氏名は%1人分です。今の%2人と合わせると%3人になり、"
                                        "１クラスの人数（%4人まで）を超えるため、貼り付けませんでした。"
                                        "氏名は１人も追加していません。")
                             .arg(pasted.names.size())
                             .arg(count)
                             .arg(count + pasted.names.size())
                             .arg(Limits::Pupils);
    }
    if (!pasted.refusal.isEmpty())
        pasted.names.clear();
    return pasted;
}
