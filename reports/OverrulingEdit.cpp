#include "reports/OverrulingEdit.h"

#include "frame/AppContext.h"
#include "frame/MainFrame.h"
#include "model/ClassFileHook.h"
#include "model/ScoreFile.h"
#include "reports/OverrulingDialog.h"
#include "tally/GradeOverrulings.h"

#include <QDate>
#include <memory>

namespace {

OverrulingDialog::Shown shownFor(const OverrulingEdit::Request& request, const Overruling* before)
{
    OverrulingDialog::Shown shown;
    shown.pupil = Names::numberedPupil(request.pupil, request.pupilName);
    shown.group = request.groupText;
    shown.tests = request.testsText;
    shown.computed = request.computed.isEmpty() ? QStringLiteral("-") : request.computed;
    shown.grades = GradeOverrulings::gradesOf(request.group);
    if (before) {
        shown.given = before->given;
        shown.reason = before->reason;
    }
    return shown;
}

}  // namespace

OverrulingEdit::Request OverrulingEdit::requestFor(int subject, int classNumber, int pupil, const QString& pupilName,
                                                   int group, const QString& viewpointName, const QString& computed)
{
    Request request;
    request.subject = subject;
    request.classNumber = classNumber;
    request.pupil = pupil;
    request.pupilName = pupilName;
    request.group = group;
    request.groupText = GradeOverrulings::groupName(group);
    if (group != Overruling::OverallGroup)
        request.groupText += QLatin1Char(' ') + viewpointName;
    request.computed = computed;
    return request;
}

std::optional<QList<Overruling>> OverrulingEdit::edit(AppContext& ctx, QWidget* owner, const Request& request)
{
    if (ctx.frame && ctx.frame->dataFolderReadOnly()) {
        ctx.ui.message(owner,
                       QStringLiteral("データフォルダを読み取り専用で開いているため、評定は変えられません。\n"
                                      "ほかのかざねを終了してから、環境設定の「終了」でデータフォルダを開き直してください。"),
                       Ui::Buttons::Ok, Ui::Icon::Information);
        return std::nullopt;
    }
    // The class as saved, for the unit tallied (a copy: ClassData is large, so on the heap).
    auto saved = std::make_unique<ClassData>(ctx.data);
    saved->subject = request.subject;
    saved->classNumber = request.classNumber;
    saved->overrulings.clear();  // never another unit's
    if (!ctx.check(ScoreFile::load(*saved), owner, Ui::Icon::Warning)
        || !ctx.check(ClassFileHook::load(*saved), owner, Ui::Icon::Warning))
        return std::nullopt;
    QList<Overruling>& list = saved->overrulings;
    const int found = GradeOverrulings::find(list, request.pupil, request.group, request.tests);

    OverrulingDialog dialog(ctx.ui, shownFor(request, found >= 0 ? &list[found] : nullptr), owner);
    ctx.ui.runModal(dialog);
    switch (dialog.choice()) {
    case OverrulingDialog::Choice::Cancelled:
        return std::nullopt;
    case OverrulingDialog::Choice::Cleared:
        if (found < 0)
            return std::nullopt;
        list.removeAt(found);
        break;
    case OverrulingDialog::Choice::Given: {
        const Overruling overruling{request.pupil, request.group,   request.tests,        request.computed,
                                    dialog.grade(), dialog.reason(), ctx.today()};
        if (found >= 0)
            list[found] = overruling;
        else
            list.append(overruling);
        break;
    }
    }
    if (!ctx.check(ClassFileHook::save(*saved), owner, Ui::Icon::Warning))
        return std::nullopt;
    if (ctx.data.subject == request.subject && ctx.data.classNumber == request.classNumber)
        ctx.data.overrulings = list;
    return list;
}
