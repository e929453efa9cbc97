#pragma once
// The names of 観点Ⅰ..Ⅳ of each subject. Until the teacher changes them they are the
// older four-viewpoint table; the settings window offers the three viewpoints of
// today's curriculum for every subject, and the older table back.
//
// They are kept in the settings store under keys of their own, "KantenMei" +
// subject + viewpoint ("KantenMei32": 算数, 観点Ⅱ), one key for each name that
// differs from the older table. A store without these keys (every store written
// before the names could be changed) gives the older table, and keeps its bytes
// while the names stay as they were.

#include "model/ClassData.h"

#include <QString>
#include <optional>

namespace ViewpointNames {
// The older four-viewpoint table (生活 has three viewpoints; its fourth name is empty).
const ViewpointNameTable& olderTable();
// 「知識・技能」「思考・判断・表現」「主体的に学習に取り組む態度」 for every subject, the
// fourth name empty.
const ViewpointNameTable& currentCurriculum();

// The longest name: every sheet has room for it beside the viewpoint's heading.
constexpr int MaxLength = 20;

// How a list to choose from shows viewpoint v of subject s: its name, or its
// heading "観点Ⅳ" when it has none (a subject of three viewpoints), so that no line
// of the list is blank. Sheets and CSV files print the name as it is.
QString listName(const ViewpointNameTable& names, int s, int v);

// The settings key of the name of viewpoint v of subject s.
QString key(int s, int v);

// Why `name` cannot be the name of viewpoint v of subject s, as the message for
// the teacher naming both; empty when it can. The first three may not be empty,
// none may be longer than MaxLength, and none may hold what a name of the data
// files may not (a double quote, a line break, a character outside code page 932),
// since the names go onto every sheet and into the CSV files.
QString problem(int s, int v, const QString& name);
// The first name of the table that cannot be used, with its subject and viewpoint.
struct Problem {
    int subject = 0;
    int viewpoint = 0;
    QString message;
};
std::optional<Problem> firstProblem(const ViewpointNameTable& names);

}
