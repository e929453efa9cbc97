#pragma once
// The one place where the tallies' numbers become text: a TallyNumber is written
// by a CellText, which says how its number is patterned and what stands for each
// state. Every grid, label, sheet field and CSV cell of a tally is made here or by
// the text files of the tallies (TestTallyText, PupilTallyText, OverallTallyText,
// StatisticsText), which use it; nothing reads a text back.

#include "tally/TallyFigure.h"
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
// A score never typed yet, wherever a tally shows a score.
const QString NotEntered = QStringLiteral("未");
// The mark of a grade the teacher gave in place of the computed one.
const QString Overruled = QStringLiteral("＊");
// A NotEntered number is "未" whatever the style.
QString cell(const TallyNumber& number, const CellText& style);
// The letter of an observation score: 3 "A", 2 "B", 1 "C"; any other score as its
// number. Absent and NotEntered as cell() writes them.
QString observation(const TallyNumber& number, const CellText& style);
// A group's grade as shown: the grade, followed by "＊" when the teacher gave it;
// `dash` for a group without a value (and without a given grade).
QString grade(const TallyFigure& figure, const QString& dash);
// A test's weight as shown after its name: "（重み2）", "（重み0.5）".
QString weight(double weight);
// A figure with one decimal that is printed in its shortest form: the number
// rounded to a tenth as "###.0" rounds it (90.04 gives 90, 66.66 gives 66.7).
QString shortestTenth(double value);
}
