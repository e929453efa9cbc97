#include "model/TestChecks.h"

#include "model/Cp932.h"

#include <QtGlobal>

namespace TestChecks {

QString refusalMessage(const TestSet& set, int t, int pupils)
{
    return checkTest(set, t, pupils).message;
}

Refusal checkTest(const TestSet& set, int t, int pupils)
{
    if (set.name[t].isEmpty())
        return {QStringLiteral("テスト名を入力してください")};
    const QString problem = StorableText::problem(set.name[t]);
    if (!problem.isEmpty())
        return {QStringLiteral("テスト名「%1」は保存できません。%2。テスト名を直してください。").arg(set.name[t], problem)};
    const int columns = set.columnCount[t];
    if (columns < 1 || columns > Limits::Columns)
        return {QStringLiteral("観点数は１～４の範囲です")};
    int kinds = 0;
    for (int c = 1; c <= Limits::Columns; ++c)
        kinds += set.viewpoint[t][c];
    if (kinds == 0)
        return {QStringLiteral("観点を最低一つは選んでください")};
    for (int c = 1; c <= Limits::Columns; ++c)
        if (set.fullMarks[t][c] >= 101)
            return {QStringLiteral("各観点の満点は100点以内にしてください")};
    pupils = qBound(0, pupils, Limits::Pupils);
    for (int p = 1; p <= pupils; ++p) {
        if (set.score[t][1][p] == Absent)
            continue;
        for (int c = 1; c <= columns; ++c)
            if (set.score[t][c][p] > set.fullMarks[t][c])
                return {QStringLiteral("満点を越える点数が入力されています"), p, c};
    }
    return {};
}

bool isUnusedNewTest(const TestSet& set, int t, int pupils)
{
    if (set.name[t] != QStringLiteral("新規テスト"))
        return false;
    for (int c = 1; c <= Limits::Columns; ++c)
        if (set.viewpoint[t][c] != 0)
            return false;
    pupils = qBound(0, pupils, Limits::Pupils);
    const int columns = qBound(0, set.columnCount[t], Limits::Columns);
    for (int c = 1; c <= columns; ++c)
        for (int p = 1; p <= pupils; ++p)
            if (set.score[t][c][p] != 0 && set.score[t][c][p] != NotEntered)
                return false;
    return true;
}

bool sameTests(const TestSet& a, const TestSet& b, int pupils)
{
    if (a.count != b.count)
        return false;
    pupils = qBound(0, pupils, Limits::Pupils);
    const int tests = qBound(0, a.count, Limits::Tests);
    for (int t = 1; t <= tests; ++t) {
        if (a.name[t] != b.name[t] || a.columnCount[t] != b.columnCount[t] || a.weight[t] != b.weight[t]
            || a.kind[t] != b.kind[t] || a.term[t] != b.term[t])
            return false;
        const int columns = qBound(0, a.columnCount[t], Limits::Columns);
        for (int c = 1; c <= columns; ++c) {
            if (a.viewpoint[t][c] != b.viewpoint[t][c] || a.fullMarks[t][c] != b.fullMarks[t][c])
                return false;
            for (int p = 1; p <= pupils; ++p)
                if (a.score[t][c][p] != b.score[t][c][p])
                    return false;
        }
    }
    return true;
}

}  // namespace TestChecks
