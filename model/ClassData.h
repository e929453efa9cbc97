#pragma once
// The one in-memory model of what the teacher works on: mode, current subject and
// class, the roster, the test set of the current unit, attendance and the
// evaluation criteria. Owned by the main window and handed by reference to every
// window; the tallies only read it. Every array is 1-based; index 0 holds nothing.

#include "model/Criteria.h"
#include "model/Overruling.h"
#include "model/Terms.h"

#include <QList>
#include <QString>
#include <array>

namespace Limits {
constexpr int Pupils = 45;     // attendance numbers 1..45
constexpr int Tests = 60;      // tests 1..60
constexpr int Columns = 4;     // score columns 1..4 (slot 5 exists but is unused)
constexpr int Units = 9;       // subjects or classes 1..9
constexpr int Months = 12;     // 1 = April .. 12 = March
constexpr int Categories = 7;  // attendance categories 1..7
constexpr int Viewpoints = 4;  // 観点Ⅰ..Ⅳ
constexpr int Terms = 3;       // 学期 1..3 (前期・後期: 1..2)
}

// What a test is graded on: scores out of full marks, or a teacher's observation
// typed straight in as A/B/C (stored as 3/2/1 out of 3, so every reader of the
// score file keeps working).
enum class TestKind { Scores = 0, Observation = 1 };

// One test set: the tests of one unit with their columns and scores.
struct TestSet {
    int count = 0;
    std::array<QString, Limits::Tests + 1> name;
    std::array<int, Limits::Tests + 1> columnCount{};
    int viewpoint[Limits::Tests + 1][Limits::Columns + 2]{};  // 0 none, 1..4
    int fullMarks[Limits::Tests + 1][Limits::Columns + 2]{};
    int score[Limits::Tests + 1][Limits::Columns + 2][Limits::Pupils + 1]{};  // -1 absent, -2 not entered
    // Kept in the class file (assessment.json), not in the score file: each test's
    // weight in averages over several tests (0.5..5 in steps of 0.5), its kind and
    // its term (0 none, 1..3).
    std::array<double, Limits::Tests + 1> weight;
    std::array<TestKind, Limits::Tests + 1> kind;
    std::array<int, Limits::Tests + 1> term{};

    TestSet();
    void clear();
};

// A score cell: a whole number, absent (欠席), or never typed (未入力). Both
// negative values are "no score" to every tally; the score file stores a cell
// never typed as 0 and the class file lists it.
constexpr int Absent = -1;
constexpr int NotEntered = -2;

// Names of 観点Ⅰ..Ⅳ per subject: [subject 1..9][viewpoint 1..4] (row 0 and column 0
// hold nothing).
using ViewpointNameTable = std::array<std::array<QString, Limits::Viewpoints + 1>, Limits::Units + 1>;

struct ClassData {
    // Mode and selection.
    bool specialistMode = false;  // false: homeroom (学級担任用), true: specialist (専科担当用)
    int subject = 1;         // current subject 1..9 (the subject taught in specialist mode)
    int classNumber = 1;     // current class 1..9 (specialist mode)
    std::array<int, Limits::Units + 1> subjectInUse{0, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    std::array<QString, Limits::Units + 1> fileStem;
    QString dataFolder;    // always ends in '/'
    QString backupFolder;
    std::array<int, 4> fixedValues{0, 60, 80, 100};  // fixed-input values for keys 1, 2, 3

    // Roster.
    int pupilCount = 0;
    std::array<QString, Limits::Pupils + 1> pupilName;

    // Tests of the current unit.
    TestSet tests;
    int currentTest = 0;
    // The teacher's own grades in place of computed ones, for the current unit
    // (kept in the class file).
    QList<Overruling> overrulings;
    // Why the class file (assessment.json) was refused when the scores were last
    // loaded; empty when it was read or is absent. While it is set, nothing writes
    // the class file: it waits, as it is, for the teacher to mend it.
    QString classFileProblem;

    // The terms of the school year and their months (a setting).
    TermPlan termPlan;
    // The 所見 of each pupil, per term: [term 1..3][pupil 1..45] (kept in the class
    // file; model/Comments.h reads and writes them).
    std::array<std::array<QString, Limits::Pupils + 1>, Limits::Terms + 1> comments;

    // Names of 観点Ⅰ..Ⅳ per subject (model/ViewpointNames.h): the older table until
    // the settings are read.
    ViewpointNameTable viewpointName;

    // Attendance: count of category k for pupil p in month m, and lesson days.
    int attendance[Limits::Months + 1][Limits::Pupils + 1][Limits::Categories + 1]{};
    int lessonDays[Limits::Months + 1]{};

    // Evaluation criteria of subjects 1..9 (index 0 unused); the defaults until the
    // settings are read.
    std::array<SubjectCriteria, Limits::Units + 1> criteria;

    ClassData();

    // The selectable unit: the subject in homeroom mode, the class in specialist mode.
    int currentUnit() const { return specialistMode ? classNumber : subject; }
    QString unitName() const { return fileStem[currentUnit()]; }

    // The older table of viewpoint names, before the settings are read.
    void setDefaultViewpointNames();
    // fileStem 1..9 for the mode: subject names or class names.
    void setFileStems();
};

namespace Names {
// 国語 .. 体育, index 1..9 (index 0 empty).
const std::array<QString, 10>& subjects();
// ４の１ .. ６の３, index 1..9.
const std::array<QString, 10>& classes();
// 観点Ⅰ .. 観点Ⅳ, index 1..4.
QString viewpointHeading(int v);
// A pupil named with the attendance number: "12番 佐藤　蓮".
QString numberedPupil(int number, const QString& name);
// The same as a line of a list: a number below 10 is padded with two half-width
// blanks (the width of a digit), so that the names line up.
QString pupilListLine(int number, const QString& name);
}
