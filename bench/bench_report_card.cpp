// The report cards of a full homeroom class (45 pupils, nine subjects of 60 tests in
// three terms) made by kazane-export as a whole process, one PDF per pupil and all
// in one file, against the term pack of the same class: the time per page of each,
// median (smallest to largest). A report card page holds every subject; it may take
// no longer per page than a page of the pack; a file of a pupil's card, whose one
// page costs what a file costs, is shown per file beside the pack's files.

#include "Bench.h"
#include "DataFiles.h"
#include "FullClass.h"
#include "PackFloor.h"
#include "model/AppSettings.h"
#include "model/AttendanceFile.h"
#include "model/RosterFile.h"
#include "model/ScoreFile.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QProcess>

namespace {

void runExport(const QStringList& arguments)
{
    QProcess process;
    process.start(Bench::buildFolder() + QStringLiteral("/kazane-export"), arguments);
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        Bench::fail(QStringLiteral("kazane-export %1 failed: %2").arg(arguments.join(QLatin1Char(' ')),
                                                                       QString::fromUtf8(process.readAllStandardError())));
}

// Wall times of `count` runs after a warm-up, in ms.
std::vector<double> wallTimes(int count, const std::function<void()>& body)
{
    body();
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        QElapsedTimer timer;
        timer.start();
        body();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return times;
}

std::vector<double> perPage(std::vector<double> times, int pages)
{
    for (double& time : times)
        time /= pages;
    return times;
}

// The full class (FullClass.h) with its 60 tests of every subject in three terms of
// 20, kept in the class file; returns the settings file.
QString writeTermClass(const QString& folder)
{
    const QString settings = FullClass::write(folder);
    QJsonArray tests;
    for (int t = 1; t <= 60; ++t)
        tests.append(QJsonObject{{QStringLiteral("term"), 1 + (t - 1) / 20}});
    QJsonObject subjects;
    for (const QString& stem : DataFiles::subjectStems())
        subjects.insert(stem, QJsonObject{{QStringLiteral("tests"), tests}});
    QFile file(QDir(folder).filePath(QStringLiteral("data/assessment.json")));
    const QByteArray bytes =
        QJsonDocument(QJsonObject{{QStringLiteral("version"), 1}, {QStringLiteral("subjects"), subjects}}).toJson();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        Bench::fail(QStringLiteral("cannot write the benchmark class"));
    return settings;
}

// The pages of the term pack of the class, as its floor counts them.
int packPages(const QString& settingsFile)
{
    ClassData data;
    QSettings store(settingsFile, QSettings::IniFormat);
    if (!AppSettings::read(data, store, QString()) || !RosterFile::load(data) || !ScoreFile::load(data)
        || !AttendanceFile::load(data))
        Bench::fail(QStringLiteral("cannot read the benchmark class"));
    return PackFloor(data, Bench::buildFolder()).pages();
}

}  // namespace

KAZANE_BENCH("reportcard")
{
    QTemporaryDir dir;
    const QString settings = writeTermClass(dir.path());
    const QString out = dir.path() + QStringLiteral("/out");
    const int count = qEnvironmentVariableIntValue("KAZANE_BENCH_RUNS") > 0 ? qEnvironmentVariableIntValue("KAZANE_BENCH_RUNS") : 5;
    const QStringList common{QStringLiteral("--settings"), settings, QStringLiteral("--term"), QStringLiteral("1")};

    const QString cards = out + QStringLiteral("/cards");
    const std::vector<double> each = wallTimes(count, [&] { runExport(common + QStringList{QStringLiteral("--report-card"), cards}); });
    const int cardFiles = int(QDir(cards).entryList({QStringLiteral("*.pdf")}, QDir::Files).size());
    if (cardFiles != 45)
        Bench::fail(QStringLiteral("the report cards made %1 files, not 45").arg(cardFiles));
    const QString oneFile = out + QStringLiteral("/one");
    const std::vector<double> all = wallTimes(count, [&] {
        runExport(common + QStringList{QStringLiteral("--report-card"), oneFile, QStringLiteral("--one-file")});
    });
    const QString pack = out + QStringLiteral("/pack");
    const std::vector<double> packTimes = wallTimes(count, [&] { runExport(common + QStringList{QStringLiteral("--term-pack"), pack}); });
    const int pages = packPages(settings);
    const int packFiles = int(QDir(pack).entryList({QStringLiteral("*.pdf")}, QDir::Files).size());

    std::printf("report cards: 45 pupils, one page each; term pack: %d pages; %d runs each\n", pages, count);
    const Bench::Spread eachPage = Bench::spread(perPage(each, 45));
    const Bench::Spread allPage = Bench::spread(perPage(all, 45));
    const Bench::Spread packPage = Bench::spread(perPage(packTimes, pages));
    Bench::print(QStringLiteral("report cards, a PDF each: wall"), Bench::spread(each), "ms");
    Bench::print(QStringLiteral("report cards, --one-file: wall"), Bench::spread(all), "ms");
    Bench::print(QStringLiteral("term pack: wall"), Bench::spread(packTimes), "ms");
    Bench::print(QStringLiteral("report cards, a PDF each: per page"), eachPage, "ms");
    Bench::print(QStringLiteral("report cards, --one-file: per page"), allPage, "ms");
    Bench::print(QStringLiteral("term pack: per page"), packPage, "ms");
    Bench::printRatio(QStringLiteral("report cards --one-file per page / term pack per page (medians)"),
                      allPage.median / packPage.median, 1.0);
    Bench::printRatio(QStringLiteral("report cards, a PDF each, per page / term pack per page (medians)"),
                      eachPage.median / packPage.median, 1.0);
    // A PDF file costs the same whatever it holds (its fonts are embedded anew): the
    // pack's files hold two pages each, a pupil's card one.
    Bench::print(QStringLiteral("report cards, a PDF each: per file"), Bench::spread(perPage(each, 45)), "ms");
    Bench::print(QStringLiteral("term pack: per file"), Bench::spread(perPage(packTimes, packFiles)), "ms");
    std::fflush(stdout);
}
