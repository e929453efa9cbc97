#pragma once
// What the report card prints beside the figures, kept in the settings store in
// the group [ReportCard]: the school's name (SchoolName), the class as printed
// (ClassName, 「第２学年１組」), the teacher's name (TeacherName), whether the class
// leaves 評定 out (HideHyotei, "1" for grades 1 and 2) and the paper of the term's
// card (Paper, "A4" or "A3" folded). Missing keys give empty texts, 評定 shown, A4.

#include "model/Status.h"

#include <QString>

class QSettings;

struct ReportCardSettings {
    QString school;
    QString className;
    QString teacher;
    bool hideGrades = false;
    bool a3Folded = false;

    bool operator==(const ReportCardSettings& other) const
    {
        return school == other.school && className == other.className && teacher == other.teacher &&
               hideGrades == other.hideGrades && a3Folded == other.a3Folded;
    }
    bool operator!=(const ReportCardSettings& other) const { return !(*this == other); }

    static ReportCardSettings read(QSettings& store);
    // Writes the five keys through SettingsStore (a full disk never empties the store).
    Status write(QSettings& store) const;
    // Why a text cannot be printed on the card (a line break, longer than 40
    // characters), naming the box; empty when it can.
    static QString problem(const QString& caption, const QString& text);
};
