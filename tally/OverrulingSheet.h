#pragma once
// The list of the grades the teacher gave in place of the computed ones (評定の変更
// 一覧): one line per overruling of each unit, with the unit, the pupil, the group,
// the tests it is kept for, the computed and the given grade, the reason and the
// date; the "Hyotei" sheet made from those lines, for the printer, the preview and
// a CSV file.

#include "model/ClassData.h"
#include "tally/ReportSheet.h"

#include <QDate>
#include <QList>
#include <QString>

struct OverrulingLine {
    QString unit;       // "算数" (homeroom) or "４の１" (specialist)
    int pupil = 0;
    QString pupilName;
    QString group;      // "評定" or "観点Ⅰ 知識・技能"
    QString tests;      // "すべて" or the test names
    QString computed;   // "-" when there was none
    QString given;
    QString reason;
    QDate date;
};

namespace OverrulingSheet {
// The lines of the unit loaded in `data` (its tests, viewpoint names and
// overrulings), in order of pupil, then group.
QList<OverrulingLine> lines(const ClassData& data);
// The cells of a line as the list window and the sheet show them: unit, "12",
// name, group, tests, computed, given, reason, "2024/07/12".
QStringList cells(const OverrulingLine& line);
// The column headings of those cells.
QStringList headings();
// The "Hyotei" sheet: the title row (title, the class or subject, the count) and
// one row per line.
ReportSheet sheet(const QList<OverrulingLine>& lines, const QString& className);
}
