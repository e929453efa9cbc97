#pragma once
// The field names of the class file and what its two source files share. The
// format is described in docs/DATA.md.

#include <QJsonObject>
#include <QString>

namespace ClassFileFields {

inline const QString Version = QStringLiteral("version");
inline const QString Subjects = QStringLiteral("subjects");
// A unit's lists.
inline const QString Tests = QStringLiteral("tests");
inline const QString Overrulings = QStringLiteral("overrulings");
// A test entry.
inline const QString Weight = QStringLiteral("weight");
inline const QString Kind = QStringLiteral("kind");
inline const QString Term = QStringLiteral("term");
inline const QString NotEnteredCells = QStringLiteral("notEntered");
inline const QString KindScores = QStringLiteral("scores");
inline const QString KindObservation = QStringLiteral("observation");
// An overruling (its chosen tests are under Tests).
inline const QString Pupil = QStringLiteral("pupil");
inline const QString Group = QStringLiteral("group");
inline const QString Computed = QStringLiteral("computed");
inline const QString Given = QStringLiteral("given");
inline const QString Reason = QStringLiteral("reason");
inline const QString Date = QStringLiteral("date");
// The pupils' comments (所見): at the root in homeroom mode, in a class's unit in
// specialist mode; "1".."3" per term, each a list of texts by attendance number.
inline const QString CommentsField = QStringLiteral("comments");

constexpr double MinimumWeight = 0.5;
constexpr double MaximumWeight = 5.0;

// Whether the root keeps nothing but its version and empty units: such a file need
// not be made.
bool holdsNothing(const QJsonObject& root);

}  // namespace ClassFileFields
