#pragma once
// A class file for the window tests, in memory: installed as the class file's
// loader and saver (model/ClassFileHook.h), it gives the loaded unit its weights,
// kinds of test, cells not entered yet and overrulings, and keeps what is saved.
// The real file and its format are tested with model/ClassFile; here the windows'
// use of it is.

#include "model/ClassFileHook.h"

#include <QList>
#include <QMap>
#include <QString>

struct ClassFileStandIn {
    struct Cell {
        int test, column, pupil;
    };
    // By unit name ("国語").
    QMap<QString, QMap<int, double>> weights;    // test -> weight
    QMap<QString, QList<int>> observationTests;  // tests of A/B/C
    QMap<QString, QList<Cell>> notEntered;
    QMap<QString, QList<Overruling>> overrulings;
    QString refusedRead;   // a message: every load fails with it
    QString refusedWrite;  // a message: every save fails with it
    int loads = 0;
    int saves = 0;

    ClassFileStandIn()
    {
        ClassFileHook::install([this](ClassData& data) { return load(data); },
                               [this](const ClassData& data) { return save(data); });
    }
    ~ClassFileStandIn() { ClassFileHook::install({}, {}); }
    ClassFileStandIn(const ClassFileStandIn&) = delete;
    ClassFileStandIn& operator=(const ClassFileStandIn&) = delete;

    Status load(ClassData& data)
    {
        ++loads;
        if (!refusedRead.isEmpty())
            return Status::failure(refusedRead);
        const QString unit = data.unitName();
        for (auto it = weights[unit].cbegin(); it != weights[unit].cend(); ++it)
            data.tests.weight[size_t(it.key())] = it.value();
        for (int t : observationTests.value(unit))
            data.tests.kind[size_t(t)] = TestKind::Observation;
        for (const Cell& cell : notEntered.value(unit))
            data.tests.score[cell.test][cell.column][cell.pupil] = NotEntered;
        data.overrulings = overrulings.value(unit);
        return Status::success();
    }

    Status save(const ClassData& data)
    {
        if (!refusedWrite.isEmpty())
            return Status::failure(refusedWrite);
        ++saves;
        overrulings[data.unitName()] = data.overrulings;
        return Status::success();
    }
};
