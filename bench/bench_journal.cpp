// The start-up check of a full class (45 pupils, nine subjects of 60 tests of four
// columns, a year of attendance, a class file with an entry for every test): the journal looked for, the folder swept for
// leftovers and missing files, and every file's pupil and test counts compared.
// Limit: 2 ms. And the journal's cost: a transfer out of the full class with its
// journal against the same transfer without, in time and in syncs (limit: one
// sync more).

#include "Bench.h"
#include "DataFiles.h"
#include "FullClass.h"
#include "model/ClassCheck.h"
#include "model/ClassFile.h"
#include "model/ClassRepair.h"
#include "model/RosterFile.h"
#include "model/SafeFile.h"
#include "model/SafeFileJournal.h"
#include "model/Transfer.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cstdio>

#include <memory>
#include <vector>

namespace {

// A class file for the full class: every test of every subject with a weight, a
// term and cells never typed, and overrulings of the last pupils.
void writeClassFile(const QString& dataFolder)
{
    QJsonObject subjects;
    for (const QString& stem : DataFiles::subjectStems()) {
        QJsonArray tests;
        for (int t = 1; t <= 60; ++t)
            tests.append(QJsonObject{{QStringLiteral("weight"), 1 + t % 3},
                                     {QStringLiteral("term"), 1 + t % 3},
                                     {QStringLiteral("notEntered"), QJsonObject{{QStringLiteral("1"), QJsonArray{t % 45 + 1}}}}});
        QJsonArray overrulings;
        for (int p = 40; p <= 45; ++p)
            overrulings.append(QJsonObject{{QStringLiteral("pupil"), p}, {QStringLiteral("group"), 0},
                                           {QStringLiteral("tests"), QJsonArray{1, 2, 60}}, {QStringLiteral("given"), QStringLiteral("3")},
                                           {QStringLiteral("reason"), QStringLiteral("提出物")}});
        subjects.insert(stem, QJsonObject{{QStringLiteral("tests"), tests}, {QStringLiteral("overrulings"), overrulings}});
    }
    QFile file(dataFolder + QStringLiteral("assessment.json"));
    if (!file.open(QIODevice::WriteOnly)
        || file.write(ClassFile::build(QJsonObject{{QStringLiteral("version"), 1}, {QStringLiteral("subjects"), subjects}})) < 0)
        Bench::fail(QStringLiteral("cannot write the class file"));
}

std::unique_ptr<ClassData> openClass(const QString& folder)
{
    FullClass::write(folder);
    writeClassFile(folder + QStringLiteral("/data/"));
    auto data = std::make_unique<ClassData>();
    data->dataFolder = folder + QStringLiteral("/data/");
    if (!RosterFile::load(*data).ok || data->pupilCount != 45)
        Bench::fail(QStringLiteral("the full class cannot be read"));
    return data;
}

// Transfers pupil 20 out of a fresh full class per run; the syncs of the last run.
double transferOut(const QString& label, const QString& under, bool journal, qint64& syncs)
{
    constexpr int Runs = 11;
    std::vector<std::unique_ptr<ClassData>> classes;
    for (int i = 0; i <= Runs; ++i)
        classes.push_back(openClass(under + QStringLiteral("/%1-%2").arg(journal).arg(i)));
    size_t next = 0;
    SafeFile::setJournal(journal);
    const double median = Bench::measure(label, 0, [&] {
        const qint64 before = SafeFile::syncCount();
        if (!Transfer::transferOut(*classes[next++], 20).ok)
            Bench::fail(QStringLiteral("the transfer failed"));
        syncs = SafeFile::syncCount() - before;
    }, Runs);
    SafeFile::setJournal(true);
    return median;
}

}  // namespace

KAZANE_BENCH("journal")
{
    QTemporaryDir dir;
    const auto data = openClass(dir.path() + QStringLiteral("/check"));
    Bench::measure(QStringLiteral("start-up check of a full class (journal, leftovers, counts of 12 files)"), 2.0, [&] {
        if (SafeFile::Journal::exists(data->dataFolder) || !ClassRepair::survey(*data).offers.isEmpty()
            || !ClassCheck::disagreement(*data).isEmpty())
            Bench::fail(QStringLiteral("the full class does not agree"));
    });

    qint64 without = 0;
    qint64 with = 0;
    const double before = transferOut(QStringLiteral("transfer out of a full class without the journal (as before)"),
                                      dir.path(), false, without);
    const double after = transferOut(QStringLiteral("transfer out of a full class with the journal"), dir.path(), true, with);
    Bench::printRatio(QStringLiteral("transfer out with / without the journal (time)"), after / before, 0);
    std::printf("%-70s %9lld with, %lld without  (limit: one more)%s\n", "syncs of one transfer out", static_cast<long long>(with),
                static_cast<long long>(without), with - without <= 1 ? "" : "  OVER");
    std::fflush(stdout);
}
