#pragma once
// A grade the teacher gave in place of the computed one (an overruling): which
// pupil, which grade (the subject's 評定 or one viewpoint's A/B/C), over which tests,
// what was computed, what the teacher gave, why, and when. Kept in the class file
// with the unit's tests; it follows the pupil through transfers and its test
// numbers follow the tests through inserts and deletes.

#include <QDate>
#include <QList>
#include <QString>

struct Overruling {
    static constexpr int OverallGroup = 0;  // 評定; 1..4 are 観点Ⅰ..Ⅳ

    int pupil = 0;      // attendance number 1..45
    int group = OverallGroup;
    QList<int> tests;   // the chosen tests, ascending; empty = every test of the unit
    QString computed;   // "3" / "2" / "1" or "A" / "B" / "C" as computed when overruled
    QString given;      // the teacher's grade
    QString reason;     // required
    QDate date;

    bool operator==(const Overruling& other) const
    {
        return pupil == other.pupil && group == other.group && tests == other.tests && computed == other.computed &&
               given == other.given && reason == other.reason && date == other.date;
    }
};
