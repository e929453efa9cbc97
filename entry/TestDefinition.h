#pragma once
// What defines a test apart from its scores: its name, its number of score columns
// and each column's viewpoint (0 none, 1..4) and full marks. Score entry shows one
// in its upper half; the other-class picker hands one over.

#include "model/ClassData.h"

#include <QString>
#include <array>

struct TestDefinition {
    QString name;
    int columnCount = 0;
    // Columns 1..4 at indexes 0..3.
    std::array<int, Limits::Columns> viewpoint{};
    std::array<int, Limits::Columns> fullMarks{};

    // Test t of a set.
    static TestDefinition of(const TestSet& set, int t)
    {
        TestDefinition d;
        d.name = set.name[t];
        d.columnCount = set.columnCount[t];
        for (int k = 0; k < Limits::Columns; ++k) {
            d.viewpoint[size_t(k)] = set.viewpoint[t][k + 1];
            d.fullMarks[size_t(k)] = set.fullMarks[t][k + 1];
        }
        return d;
    }

    // Writes the definition into test t of a set; its scores stay as they are.
    void storeInto(TestSet& set, int t) const
    {
        set.name[t] = name;
        set.columnCount[t] = columnCount;
        for (int k = 0; k < Limits::Columns; ++k) {
            set.viewpoint[t][k + 1] = viewpoint[size_t(k)];
            set.fullMarks[t][k + 1] = fullMarks[size_t(k)];
        }
    }
};
