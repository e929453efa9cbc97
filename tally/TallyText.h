#pragma once
// The one place where the tallies' numbers become text: a TallyNumber is written
// by a CellText, which says how its number is patterned and what stands for each
// state. Every grid, label, sheet field and CSV cell of a tally is made here or by
// the text files of the tallies (TestTallyText, PupilTallyText, OverallTallyText,
// StatisticsText), which use it; nothing reads a text back.

#include "tally/TallyNumber.h"

#include <QString>

struct CellText {
    QString pattern;    // of the number (model/Format.h): "###", "##", "###.0", " ###"
    QString zero;       // what 0 shows where the pattern would leave it empty; null: the pattern's text
    QString absent;     // a pupil without an entered score
    QString noValue;    // nothing to reckon from
    QString notInTest;  // a column or viewpoint the test does not have
};

namespace TallyText {
const QString Absent = QStringLiteral("欠");
QString cell(const TallyNumber& number, const CellText& style);
// A figure with one decimal that is printed in its shortest form: the number
// rounded to a tenth as "###.0" rounds it (90.04 gives 90, 66.66 gives 66.7).
QString shortestTenth(double value);
}
