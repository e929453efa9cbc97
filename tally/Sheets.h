#pragma once
// Every printed sheet of the program as a function of ClassData and the choices a
// window offers, built by the same tally code the windows use.

#include "model/ClassData.h"
#include "model/Status.h"
#include "tally/ReportSheet.h"

#include <QList>

struct SheetRequest {
    enum class Kind { TestDisp, Kojin, Aryoiki, Names, Tests, Shuseki };
    Kind kind = Kind::TestDisp;
    int test = 1;              // testdisp: the test
    bool byScore = false;      // testdisp: 成績順 instead of 出席番号順
    int pupil = 1;             // kojin: attendance number
    QList<int> tests;          // aryoiki: chosen tests; empty = every test
    int order = 0;             // aryoiki: 0 number order, 1 overall score order, 2..5 viewpoint 1..4
    bool showAverage = true;   // aryoiki: 平均点を表示
    bool showRank = true;      // aryoiki: 順位を表示
    bool showEvaluation = true;  // aryoiki: 評定を表示
    int term = 3;              // shuseki: 0..2 the terms, 3 the year
    bool recordView = false;   // shuseki: 指導要録用 instead of 詳細表示
};

// The store stem of a sheet kind ("testdisp", "kojin", ...).
QString sheetStem(SheetRequest::Kind kind);
// Builds the sheet from the roster, test set, attendance and criteria already in
// `data`, for its current subject. Fails with a message when the request does not
// fit the data (a test or pupil out of range).
Status buildSheet(const ClassData& data, const SheetRequest& request, ReportSheet& sheet);
