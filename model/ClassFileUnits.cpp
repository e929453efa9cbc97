// One unit's part of the class file: taken into a test set and its overrulings,
// stored from them, and moved with the pupils and tests of the unit's score file.
// Each change leaves the unit tidy (no empty lists, no empty trailing test entries),
// so that a file written twice with the same content is the same bytes.

#include "model/ClassFile.h"

#include "model/ClassFileFields.h"

#include <QJsonArray>

#include <algorithm>
#include <functional>

using namespace ClassFileFields;

namespace {

QJsonObject unitOf(const QJsonObject& root, const QString& stem)
{
    return root.value(Subjects).toObject().value(stem).toObject();
}

void setOrRemove(QJsonObject& object, const QString& name, const QJsonValue& value)
{
    if (value.isUndefined())
        object.remove(name);
    else
        object.insert(name, value);
}

void tidyTest(QJsonObject& entry)
{
    if (!entry.contains(NotEnteredCells))
        return;
    QJsonObject cells = entry.value(NotEnteredCells).toObject();
    for (const QString& column : cells.keys())
        if (cells.value(column).toArray().isEmpty())
            cells.remove(column);
    setOrRemove(entry, NotEnteredCells, cells.isEmpty() ? QJsonValue(QJsonValue::Undefined) : QJsonValue(cells));
}

void tidyUnit(QJsonObject& unit)
{
    if (unit.contains(Tests)) {
        QJsonArray tests = unit.value(Tests).toArray();
        for (qsizetype i = 0; i < tests.size(); ++i) {
            QJsonObject entry = tests[i].toObject();
            tidyTest(entry);
            tests[i] = entry;
        }
        while (!tests.isEmpty() && tests.last().toObject().isEmpty())
            tests.removeLast();
        setOrRemove(unit, Tests, tests.isEmpty() ? QJsonValue(QJsonValue::Undefined) : QJsonValue(tests));
    }
    if (unit.contains(Overrulings) && unit.value(Overrulings).toArray().isEmpty())
        unit.remove(Overrulings);
}

// Puts the unit back, tidied; an empty unit goes.
void putUnit(QJsonObject& root, const QString& stem, QJsonObject unit)
{
    tidyUnit(unit);
    QJsonObject units = root.value(Subjects).toObject();
    if (unit.isEmpty())
        units.remove(stem);
    else
        units.insert(stem, unit);
    if (!units.isEmpty() || root.contains(Subjects))
        root.insert(Subjects, units);
}

QJsonArray wholeNumbers(const QList<int>& numbers)
{
    QJsonArray list;
    for (int n : numbers)
        list.append(n);
    return list;
}

QList<int> numbersOf(const QJsonValue& value)
{
    QList<int> numbers;
    for (const QJsonValue& n : value.toArray())
        numbers.append(n.toInt());
    return numbers;
}

// The numbers renumbered by `map`; a number mapped to 0 goes.
QJsonArray renumbered(const QJsonValue& list, const std::function<int(int)>& map)
{
    QList<int> numbers;
    for (int n : numbersOf(list))
        if (const int moved = map(n); moved > 0)
            numbers.append(moved);
    return wholeNumbers(numbers);
}

// The unit's pupils renumbered: 未入力 cells and overrulings.
void movePupils(QJsonObject& root, const QString& stem, const std::function<int(int)>& map)
{
    QJsonObject unit = unitOf(root, stem);
    QJsonArray tests = unit.value(Tests).toArray();
    for (qsizetype i = 0; i < tests.size(); ++i) {
        QJsonObject entry = tests[i].toObject();
        QJsonObject cells = entry.value(NotEnteredCells).toObject();
        for (const QString& column : cells.keys())
            cells.insert(column, renumbered(cells.value(column), map));
        if (entry.contains(NotEnteredCells))
            entry.insert(NotEnteredCells, cells);
        tests[i] = entry;
    }
    if (unit.contains(Tests))
        unit.insert(Tests, tests);
    QJsonArray overrulings;
    for (const QJsonValue& value : unit.value(Overrulings).toArray()) {
        QJsonObject overruling = value.toObject();
        const int pupil = map(overruling.value(Pupil).toInt());
        if (pupil <= 0)
            continue;
        overruling.insert(Pupil, pupil);
        overrulings.append(overruling);
    }
    if (unit.contains(Overrulings))
        unit.insert(Overrulings, overrulings);
    putUnit(root, stem, unit);
}

// The overrulings' chosen tests renumbered; one whose chosen tests all went, goes.
void moveChosenTests(QJsonObject& unit, const std::function<int(int)>& map)
{
    if (!unit.contains(Overrulings))
        return;
    QJsonArray overrulings;
    for (const QJsonValue& value : unit.value(Overrulings).toArray()) {
        QJsonObject overruling = value.toObject();
        const QJsonArray chosen = overruling.value(Tests).toArray();
        const QJsonArray moved = renumbered(chosen, map);
        if (!chosen.isEmpty() && moved.isEmpty())
            continue;
        if (overruling.contains(Tests))
            overruling.insert(Tests, moved);
        overrulings.append(overruling);
    }
    unit.insert(Overrulings, overrulings);
}

QJsonArray::size_type indexOf(int t)
{
    return QJsonArray::size_type(t - 1);
}

// The key by which a stored overruling keeps its other fields: pupil, group, tests.
bool sameOverruling(const QJsonObject& stored, const Overruling& overruling)
{
    QList<int> chosen = numbersOf(stored.value(Tests));
    std::sort(chosen.begin(), chosen.end());
    return stored.value(Pupil).toInt() == overruling.pupil && stored.value(Group).toInt() == overruling.group
        && chosen == overruling.tests;
}

}  // namespace

bool ClassFileFields::holdsNothing(const QJsonObject& root)
{
    for (auto it = root.begin(); it != root.end(); ++it)
        if (it.key() != Version && !(it.key() == Subjects && it.value().toObject().isEmpty()))
            return false;
    return true;
}

void ClassFile::apply(const QJsonObject& root, const QString& stem, int pupils, TestSet& set, QList<Overruling>& overrulings)
{
    const QJsonObject unit = unitOf(root, stem);
    const QJsonArray tests = unit.value(Tests).toArray();
    pupils = qBound(0, pupils, Limits::Pupils);
    for (int t = 1; t <= Limits::Tests; ++t) {
        const QJsonObject entry = t <= set.count && indexOf(t) < tests.size() ? tests[indexOf(t)].toObject() : QJsonObject();
        set.weight[size_t(t)] = entry.value(Weight).toDouble(1.0);
        set.kind[size_t(t)] = entry.value(Kind) == KindObservation ? TestKind::Observation : TestKind::Scores;
        set.term[size_t(t)] = entry.value(Term).toInt(0);
        // What the score file holds, and 未入力 where the file lists a cell that is still 0.
        for (int c = 1; c <= Limits::Columns + 1; ++c)
            for (int p = 1; p <= Limits::Pupils; ++p)
                if (set.score[t][c][p] == ::NotEntered)
                    set.score[t][c][p] = 0;
        const QJsonObject cells = entry.value(NotEnteredCells).toObject();
        for (auto it = cells.begin(); it != cells.end(); ++it) {
            const int c = it.key().toInt();
            if (c < 1 || c > qBound(0, set.columnCount[size_t(t)], Limits::Columns))
                continue;
            for (int p : numbersOf(it.value()))
                if (p >= 1 && p <= pupils && set.score[t][c][p] == 0)
                    set.score[t][c][p] = ::NotEntered;
        }
    }
    overrulings.clear();
    for (const QJsonValue& value : unit.value(Overrulings).toArray()) {
        const QJsonObject stored = value.toObject();
        Overruling overruling;
        overruling.pupil = stored.value(Pupil).toInt();
        overruling.group = stored.value(Group).toInt();
        overruling.tests = numbersOf(stored.value(Tests));
        std::sort(overruling.tests.begin(), overruling.tests.end());
        overruling.computed = stored.value(Computed).toString();
        overruling.given = stored.value(Given).toString();
        overruling.reason = stored.value(Reason).toString();
        overruling.date = QDate::fromString(stored.value(Date).toString(), Qt::ISODate);
        overrulings.append(overruling);
    }
}

void ClassFile::storeTests(QJsonObject& root, const QString& stem, const TestSet& set, int pupils)
{
    QJsonObject unit = unitOf(root, stem);
    const QJsonArray old = unit.value(Tests).toArray();
    pupils = qBound(0, pupils, Limits::Pupils);
    QJsonArray tests;
    for (int t = 1; t <= qBound(0, set.count, Limits::Tests); ++t) {
        QJsonObject entry = indexOf(t) < old.size() ? old[indexOf(t)].toObject() : QJsonObject();
        const double weight = set.weight[size_t(t)];
        setOrRemove(entry, Weight, weight != 1.0 ? QJsonValue(weight) : QJsonValue(QJsonValue::Undefined));
        setOrRemove(entry, Kind, set.kind[size_t(t)] == TestKind::Observation ? QJsonValue(KindObservation) : QJsonValue(QJsonValue::Undefined));
        const int term = set.term[size_t(t)];
        setOrRemove(entry, Term, term != 0 ? QJsonValue(term) : QJsonValue(QJsonValue::Undefined));
        QJsonObject cells;
        for (int c = 1; c <= qBound(0, set.columnCount[size_t(t)], Limits::Columns); ++c) {
            QList<int> notEntered;
            for (int p = 1; p <= pupils; ++p)
                if (set.score[t][c][p] == ::NotEntered)
                    notEntered.append(p);
            if (!notEntered.isEmpty())
                cells.insert(QString::number(c), wholeNumbers(notEntered));
        }
        setOrRemove(entry, NotEnteredCells, cells.isEmpty() ? QJsonValue(QJsonValue::Undefined) : QJsonValue(cells));
        tests.append(entry);
    }
    unit.insert(Tests, tests);
    putUnit(root, stem, unit);
}

void ClassFile::storeOverrulings(QJsonObject& root, const QString& stem, const QList<Overruling>& overrulings)
{
    QJsonObject unit = unitOf(root, stem);
    QJsonArray old = unit.value(Overrulings).toArray();
    QJsonArray stored;
    for (const Overruling& overruling : overrulings) {
        QJsonObject entry;
        for (qsizetype i = 0; i < old.size(); ++i)
            if (sameOverruling(old[i].toObject(), overruling)) {
                entry = old[i].toObject();
                old.removeAt(i);
                break;
            }
        entry.insert(Pupil, overruling.pupil);
        entry.insert(Group, overruling.group);
        setOrRemove(entry, Tests, overruling.tests.isEmpty() ? QJsonValue(QJsonValue::Undefined) : QJsonValue(wholeNumbers(overruling.tests)));
        entry.insert(Computed, overruling.computed);
        entry.insert(Given, overruling.given);
        entry.insert(Reason, overruling.reason);
        setOrRemove(entry, Date, overruling.date.isValid() ? QJsonValue(overruling.date.toString(Qt::ISODate)) : QJsonValue(QJsonValue::Undefined));
        stored.append(entry);
    }
    unit.insert(Overrulings, stored);
    putUnit(root, stem, unit);
}

void ClassFile::insertPupil(QJsonObject& root, const QString& stem, int n)
{
    movePupils(root, stem, [n](int p) { return p > n ? p + 1 : p; });
}

void ClassFile::removePupil(QJsonObject& root, const QString& stem, int n)
{
    movePupils(root, stem, [n](int p) { return p == n ? 0 : p > n ? p - 1 : p; });
}

void ClassFile::insertTest(QJsonObject& root, const QString& stem, int n, int pupils, int columns)
{
    QJsonObject unit = unitOf(root, stem);
    QJsonArray tests = unit.value(Tests).toArray();
    while (tests.size() < indexOf(n))
        tests.append(QJsonObject());
    QList<int> everyone;
    for (int p = 1; p <= qBound(0, pupils, Limits::Pupils); ++p)
        everyone.append(p);
    QJsonObject cells;
    for (int c = 1; c <= qBound(0, columns, Limits::Columns); ++c)
        cells.insert(QString::number(c), wholeNumbers(everyone));
    QJsonObject entry;
    setOrRemove(entry, NotEnteredCells, cells.isEmpty() || everyone.isEmpty() ? QJsonValue(QJsonValue::Undefined) : QJsonValue(cells));
    tests.insert(indexOf(n), entry);
    unit.insert(Tests, tests);
    moveChosenTests(unit, [n](int t) { return t >= n ? t + 1 : t; });
    putUnit(root, stem, unit);
}

void ClassFile::removeTest(QJsonObject& root, const QString& stem, int n)
{
    QJsonObject unit = unitOf(root, stem);
    QJsonArray tests = unit.value(Tests).toArray();
    if (n >= 1 && indexOf(n) < tests.size()) {
        tests.removeAt(indexOf(n));
        unit.insert(Tests, tests);
    }
    moveChosenTests(unit, [n](int t) { return t == n ? 0 : t > n ? t - 1 : t; });
    putUnit(root, stem, unit);
}

void ClassFile::removeUnit(QJsonObject& root, const QString& stem)
{
    putUnit(root, stem, QJsonObject());
}
