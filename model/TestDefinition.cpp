#include "model/TestDefinition.h"

#include <QtGlobal>

TestDefinition TestDefinition::of(const TestSet& set, int t)
{
    TestDefinition d;
    d.name = set.name[t];
    d.columnCount = set.columnCount[t];
    for (int c = 1; c <= Limits::Columns; ++c)
        d.column(c) = {set.viewpoint[t][c], set.fullMarks[t][c]};
    d.weight = set.weight[t];
    d.kind = set.kind[t];
    d.term = set.term[t];
    return d;
}

void TestDefinition::storeInto(TestSet& set, int t) const
{
    set.name[t] = name;
    set.columnCount[t] = columnCount;
    for (int c = 1; c <= Limits::Columns; ++c) {
        set.viewpoint[t][c] = column(c).viewpoint;
        set.fullMarks[t][c] = column(c).fullMarks;
    }
    set.weight[t] = weight;
    set.kind[t] = kind;
    set.term[t] = term;
}

int TestDefinition::chosenViewpoints() const
{
    int chosen = 0;
    for (const TestColumn& c : columns)
        if (c.viewpoint > 0)
            ++chosen;
    return chosen;
}

void TestDefinition::keepViewpointsOf(int n)
{
    for (int k = qMax(n, 0); k < Limits::Columns; ++k)
        columns[size_t(k)].viewpoint = 0;
}

bool TestDefinition::operator==(const TestDefinition& other) const
{
    return name == other.name && columnCount == other.columnCount && columns == other.columns
        && weight == other.weight && kind == other.kind && term == other.term;
}
