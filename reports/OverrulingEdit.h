#pragma once
// Giving or clearing a grade of the teacher's own from a tally window: the dialog
// asks (reports/OverrulingDialog.h), and the change is kept in the class file.
//
// The change is made on the class as it is saved, read afresh for the unit the
// window tallied (the teacher may have chosen another subject since): only its
// overrulings change, and nothing the other windows hold in memory is written with
// them. When the class file cannot be read or written nothing changes, and the
// teacher is told why.

#include "model/Overruling.h"

#include <QList>
#include <QString>
#include <optional>

struct AppContext;
class QWidget;

namespace OverrulingEdit {
struct Request {
    int subject = 1;       // the unit the window tallied: subject (homeroom) ...
    int classNumber = 1;   // ... or class (specialist mode)
    int pupil = 0;
    QString pupilName;
    int group = Overruling::OverallGroup;
    QString groupText;     // "評定", "観点Ⅰ 知識・技能"
    QList<int> tests;      // GradeOverrulings::testsKey of the tally
    QString testsText = QStringLiteral("すべてのテスト");  // or the tests counted
    QString computed;      // the computed grade; empty without one
};

// The request for a pupil's group of a tally of the unit (subject, class): its
// texts and the computed grade; the tests are every test until set.
Request requestFor(int subject, int classNumber, int pupil, const QString& pupilName, int group,
                   const QString& viewpointName, const QString& computed);

// Runs the dialog; the unit's overrulings after the change when one was made and
// kept, nothing when the teacher cancelled or it could not be kept.
std::optional<QList<Overruling>> edit(AppContext& ctx, QWidget* owner, const Request& request);
}
