#include "entry/SaveChecks.h"

#include "core/Cp932.h"

#include <QtGlobal>

namespace SaveChecks {

QString ValidateTest(const TestSetRecord& set, int t, int pupils)
{
    if (set.TestName[t].isEmpty())
        return QStringLiteral("テスト名を入力してください");
    const QString problem = StorableText::problem(set.TestName[t]);
    if (!problem.isEmpty())
        return QStringLiteral("テスト名「%1」は保存できません。%2。テスト名を直してください。").arg(set.TestName[t], problem);
    const int columns = set.ViewpointCount[t];
    if (columns < 1 || columns > Limits::Columns)
        return QStringLiteral("観点数は１～４の範囲です");
    int kinds = 0;
    for (int c = 1; c <= Limits::Columns; ++c)
        kinds += set.ViewpointKind[t][c];
    if (kinds == 0)
        return QStringLiteral("観点を最低一つは選んでください");
    for (int c = 1; c <= Limits::Columns; ++c)
        if (set.FullMarks[t][c] >= 101)
            return QStringLiteral("各観点の満点は100点以内にしてください");
    pupils = qBound(0, pupils, Limits::Pupils);
    for (int p = 1; p <= pupils; ++p) {
        if (set.Score[t][1][p] < 0)
            continue;
        for (int c = 1; c <= columns; ++c)
            if (set.Score[t][c][p] > set.FullMarks[t][c])
                return QStringLiteral("満点を越える点数が入力されています");
    }
    return {};
}

bool sameTests(const TestSetRecord& a, const TestSetRecord& b, int pupils)
{
    if (a.StoredTestCount != b.StoredTestCount)
        return false;
    pupils = qBound(0, pupils, Limits::Pupils);
    const int tests = qBound(0, a.StoredTestCount, Limits::Tests);
    for (int t = 1; t <= tests; ++t) {
        if (a.TestName[t] != b.TestName[t] || a.ViewpointCount[t] != b.ViewpointCount[t])
            return false;
        const int columns = qBound(0, a.ViewpointCount[t], Limits::Columns);
        for (int c = 1; c <= columns; ++c) {
            if (a.ViewpointKind[t][c] != b.ViewpointKind[t][c] || a.FullMarks[t][c] != b.FullMarks[t][c])
                return false;
            for (int p = 1; p <= pupils; ++p)
                if (a.Score[t][c][p] != b.Score[t][c][p])
                    return false;
        }
    }
    return true;
}

}  // namespace SaveChecks
