#include "model/Terms.h"

int TermPlan::firstMonth(int term) const
{
    if (term < 1 || term > count)
        return 0;
    return count == 2 ? twoStarts[size_t(term - 1)] : threeStarts[size_t(term - 1)];
}

int TermPlan::lastMonth(int term) const
{
    if (term < 1 || term > count)
        return -1;
    return term == count ? 12 : firstMonth(term + 1) - 1;
}

QString Terms::name(const TermPlan& plan, int term)
{
    if (term < 1 || term > plan.count)
        return {};
    if (plan.count == 2)
        return term == 1 ? QStringLiteral("前期") : QStringLiteral("後期");
    return QStringLiteral("%1学期").arg(term);
}

QStringList Terms::names(const TermPlan& plan)
{
    QStringList list;
    for (int t = 1; t <= plan.count; ++t)
        list << name(plan, t);
    return list;
}

QStringList Terms::choices(const TermPlan& plan)
{
    return QStringList{QStringLiteral("（なし）")} + names(plan);
}

int Terms::calendarMonth(int schoolMonth)
{
    return (schoolMonth + 2) % 12 + 1;
}

int Terms::schoolMonth(int calendarMonth)
{
    return (calendarMonth + 8) % 12 + 1;
}

QString Terms::problem(const TermPlan& plan)
{
    if (plan.count != 2 && plan.count != 3)
        return QStringLiteral("学期の数は3か2です");
    for (int t = 2; t <= plan.count; ++t)
        if (plan.firstMonth(t) <= plan.firstMonth(t - 1) || plan.firstMonth(t) > 12)
            return QStringLiteral("%1の始まりは%2より後の月にしてください").arg(name(plan, t), name(plan, t - 1));
    return {};
}

QString Terms::monthsText(const TermPlan& plan, int term)
{
    if (term < 1 || term > plan.count)
        return {};
    return QStringLiteral("%1月～%2月").arg(calendarMonth(plan.firstMonth(term))).arg(calendarMonth(plan.lastMonth(term)));
}
