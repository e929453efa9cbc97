#pragma once
// The data files of a class as the tests write and expect them, built from plain
// lists so that expected contents never come from the program's own writers:
// pupil names, roster lines, score-file lines (a list of tests, each a list of
// columns with their scores) and attendance lines (twelve months of lesson days
// and seven counts per pupil). TestEnv::writeFile and crlf() turn the lines into
// the CP932 CR LF bytes the program reads and writes.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace DataFiles {

enum class NameStyle {
    Numbered,  // "児童01", "児童02", ...
    Full,      // up to 45 distinct family names with given names: "青木一郎", "石田花子", ...
};

// Names of a class of `count` pupils.
QStringList pupilNames(int count, NameStyle style = NameStyle::Numbered);

// The lines of a roster file: the count, then each name in double quotes.
QStringList rosterLines(const QStringList& names);

struct Column {
    int kind = 1;        // viewpoint 1..4, 0 = none
    int fullMarks = 100;
    QList<int> scores;   // pupil 1 first, -1 = absent
};
struct Test {
    QString name;
    QList<Column> columns;
};
using Tests = QList<Test>;

// The lines of a score file holding the tests.
QStringList scoreLines(const Tests& tests);

struct Attendance {
    QList<int> lessonDays;            // month 1..12 at index 0..11
    QList<QList<QList<int>>> counts;  // [month][pupil][category 1..7 at 0..6]
};

// A year of attendance for `pupils` pupils: lesson days and the seven counts of
// each month (1..12) and pupil (1..n); left out, they are zero.
Attendance attendanceYear(int pupils, const std::function<int(int month)>& lessonDays = {},
                          const std::function<QList<int>(int month, int pupil)>& counts = {});

// Plain numbers as attendance entry saves them; quoted numbers as a new class
// is first written.
enum class Quoting { Plain, Quoted };

// The lines of an attendance file.
QStringList attendanceLines(const Attendance& attendance, Quoting quoting = Quoting::Plain);

// The file stems of the nine units: the subjects of a homeroom class, the classes
// of a specialist.
const QStringList& subjectStems();
const QStringList& classStems();

}  // namespace DataFiles
