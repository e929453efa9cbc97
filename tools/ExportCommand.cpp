#include "tools/ExportCommand.h"

#include "tools/ExportArguments.h"

#include "model/AppSettings.h"
#include "model/AttendanceFile.h"
#include "model/ClassFile.h"
#include "model/ClassFileHook.h"
#include "model/ReportCardSettings.h"
#include "model/UnitSets.h"
#include "model/RosterFile.h"
#include "model/ScoreFile.h"
#include "output/CsvWriter.h"
#include "output/OutputFile.h"
#include "output/PdfBatch.h"
#include "output/PdfWriter.h"
#include "output/ReportCardFiles.h"
#include "output/ReportLayout.h"
#include "output/ReportStore.h"
#include "output/XlsxWriter.h"
#include "platform/ProgramFolder.h"
#include "tally/PupilTallyText.h"
#include "tally/Sheets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTextStream>

#include <cerrno>
#include <functional>
#include <memory>

namespace {

enum Exit { Done = 0, DataError = 1, UsageError = 2 };

struct Failure {
    int code;
    QString message;
};

QString nfkc(const QString& text)
{
    return text.normalized(QString::NormalizationForm_KC).trimmed();
}

// "3", "３", "算数" → 3; "5", "５の２", "5の2" → 5; 0 when it names nothing.
int unitNumber(const QString& text, const std::array<QString, 10>& names)
{
    const QString wanted = nfkc(text);
    bool ok = false;
    const int number = wanted.toInt(&ok);
    if (ok)
        return number >= 1 && number <= 9 ? number : 0;
    for (int i = 1; i <= 9; ++i)
        if (nfkc(names[i]) == wanted)
            return i;
    return 0;
}

int positiveNumber(const QString& option, const QString& text)
{
    bool ok = false;
    const int value = nfkc(text).toInt(&ok);
    if (!ok || value < 1)
        throw Failure{UsageError, QStringLiteral("%1 には1以上の数を指定してください（「%2」）。").arg(option, text)};
    return value;
}

// --threads: 0 (one worker per core) when not given.
int threadCount(const QString& text)
{
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const int count = nfkc(text).toInt(&ok);
    if (!ok || count < 1 || count > 256)
        throw Failure{UsageError, QStringLiteral("--threads には1から256までの数を指定してください（「%1」）。").arg(text)};
    return count;
}

int termNumber(const QString& text)
{
    const QString t = nfkc(text);
    if (t == QLatin1String("1") || t == QLatin1String("2") || t == QLatin1String("3"))
        return t.toInt() - 1;
    if (t == QLatin1String("year"))
        return 3;
    throw Failure{UsageError, QStringLiteral("--term には 1、2、3、year のどれかを指定してください（「%1」）。").arg(text)};
}

QString termName(int term)
{
    static const char* const names[] = {"１学期集計", "２学期集計", "３学期集計", "年度末集計"};
    return QString::fromUtf8(names[term]);
}

void check(const Status& status, int code = DataError)
{
    if (!status.ok)
        throw Failure{code, status.message};
}

struct Outputs {
    QString pdf;
    QString csv;
    QString store;
    QString xlsx;
};

QByteArray workbookOf(const ReportSheet& sheet, const QString& path)
{
    QByteArray bytes;
    check(XlsxWriter::build(sheet, path, bytes));
    return bytes;
}

// Writes the outputs of one sheet as temporary files of the batch; nothing has its
// real name before the batch is committed.
void stageOutputs(const ReportSheet& sheet, const QString& layoutFolder, const Outputs& outputs, OutputBatch& batch)
{
    if (!outputs.pdf.isEmpty()) {
        QByteArray pdf;
        // The exported sheets carry no document title, as they always have.
        check(PdfWriter::render(sheet, QDir(layoutFolder).filePath(sheet.stem + QStringLiteral(".rpt")), QString(), pdf));
        check(batch.write(outputs.pdf, pdf));
    }
    if (!outputs.csv.isEmpty())
        check(batch.write(outputs.csv, CsvWriter::build(sheet)));
    if (!outputs.xlsx.isEmpty())
        check(batch.write(outputs.xlsx, workbookOf(sheet, outputs.xlsx)));
    if (!outputs.store.isEmpty())
        check(batch.writeMade(outputs.store, [&](const QString& file) { return ReportStore::fill(file, sheet, outputs.store); }));
}

// Refuses outputs that would overwrite each other, the settings or a data file:
// the tool only reads the data folder and the settings.
void checkOutputs(const QStringList& outputs, const QString& settingsFile, const QString& dataFolder)
{
    static const QStringList dataSuffixes{QStringLiteral("dat"), QStringLiteral("nam"), QStringLiteral("bak"), QStringLiteral("nbk")};
    const QString data = QFileInfo(dataFolder).canonicalFilePath();
    for (int i = 0; i < outputs.size(); ++i) {
        const QString& output = outputs[i];
        for (int j = 0; j < i; ++j)
            if (SafeFile::sameFile(outputs[j], output))
                throw Failure{UsageError, QStringLiteral("出力先に同じファイル「%1」が二度指定されています。").arg(QDir::toNativeSeparators(output))};
        const QFileInfo info(output);
        if (SafeFile::sameFile(output, settingsFile)
            || (QFileInfo(info.absolutePath()).canonicalFilePath() == data
                && dataSuffixes.contains(info.suffix(), Qt::CaseInsensitive)))
            throw Failure{UsageError, QStringLiteral("出力先「%1」はかざねのデータまたは設定のファイルです。別のファイル名を指定してください。")
                                          .arg(QDir::toNativeSeparators(output))};
    }
}

struct Session {
    ClassData data;
    QString layoutFolder;
    // Each layout is read once per run, and shared by every sheet printed with it.
    QHash<QString, std::shared_ptr<const ReportLayout>> layouts;
};

std::shared_ptr<const ReportLayout> layoutFor(Session& session, const QString& stem)
{
    auto found = session.layouts.constFind(stem);
    if (found != session.layouts.constEnd())
        return *found;
    auto layout = std::make_shared<ReportLayout>();
    check(ReportLayout::read(QDir(session.layoutFolder).filePath(stem + QStringLiteral(".rpt")), *layout));
    session.layouts.insert(stem, layout);
    return layout;
}

void loadUnit(Session& session, int unit, bool needScores, bool needAttendance)
{
    ClassData& data = session.data;
    if (data.specialistMode)
        data.classNumber = unit;
    else
        data.subject = unit;
    if (!QFileInfo(RosterFile::path(data)).isFile())
        throw Failure{DataError, RosterFile::missingMessage(data)};
    check(RosterFile::load(data));
    if (needScores) {
        check(ScoreFile::load(data));
        // Weights, kinds of test, cells not entered yet and the teacher's own grades.
        check(ClassFileHook::load(data));
        // Sheets made without the class file would count every test once and every
        // cell never typed as 0: an export refuses rather than write such figures.
        if (!data.classFileProblem.isEmpty())
            throw Failure{DataError, ClassFile::refusedNotice(data.classFileProblem)};
    }
    if (needAttendance) {
        if (data.specialistMode)
            throw Failure{DataError, QStringLiteral("専科担当用のデータフォルダには出欠の一覧表はありません。")};
        if (!AttendanceFile::exists(data))
            throw Failure{DataError, QStringLiteral("出席データファイル(%1)が見つかりません。").arg(AttendanceFile::fileName())};
        check(AttendanceFile::load(data));
    }
}

QString safeFileName(QString text)
{
    static const QString bad = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : text)
        if (bad.contains(c) || c.unicode() < 0x20)
            c = QLatin1Char('_');
    return text;
}

// One PDF of a term pack of a sheet built now, from the unit loaded now.
PdfJob packSheet(Session& session, const SheetRequest& request, const QString& path)
{
    ReportSheet sheet;
    check(buildSheet(session.data, request, sheet));
    return PdfJob{path, layoutFor(session, sheet.stem), [sheet] { return QList<ReportSheet>{sheet}; }};
}

// The pupils' sheets of the unit loaded now: one PDF per pupil, or every pupil in
// one PDF. The unit is tallied once here; the workers build each pupil's sheet.
void packPupils(Session& session, const QDir& dir, const QString& stem, bool oneFile, QList<PdfJob>& jobs)
{
    const ClassData& data = session.data;
    const auto tally = std::make_shared<const PupilTally>(computePupilTally(data, data.subject));
    const QString caption = kojinCaption(data);
    const auto layout = layoutFor(session, sheetStem(SheetRequest::Kind::Kojin));
    if (oneFile) {
        const int pupils = data.pupilCount;
        jobs.append({dir.filePath(stem + QStringLiteral("_個人.pdf")), layout, [tally, caption, pupils] {
                         QList<ReportSheet> sheets;
                         for (int p = 1; p <= pupils; ++p)
                             sheets.append(kojinSheet(*tally, p, caption));
                         return sheets;
                     }});
        return;
    }
    for (int p = 1; p <= data.pupilCount; ++p)
        jobs.append({dir.filePath(QStringLiteral("%1_個人_%2.pdf").arg(stem).arg(p, 2, 10, QLatin1Char('0'))), layout,
                     [tally, caption, p] { return QList<ReportSheet>{kojinSheet(*tally, p, caption)}; }});
}

// The folders that making `folder` would create, outermost first.
QStringList missingFolders(const QString& folder)
{
    QStringList missing;
    QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    while (!path.isEmpty() && !QFileInfo::exists(path)) {
        missing.prepend(path);
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            break;
        path = parent;
    }
    return missing;
}

// Every file of the pack, in the order they are listed. A unit without tests has
// nothing to tally: its sheets are left out and its name goes to `withoutTests`.
QList<PdfJob> packJobs(Session& session, const QDir& dir, int term, bool oneFilePerSubject, QStringList& withoutTests)
{
    ClassData& data = session.data;
    QList<PdfJob> jobs;
    int units = 0;
    for (int unit = 1; unit <= Limits::Units; ++unit) {
        if (!data.specialistMode && data.subjectInUse[unit] != 1)
            continue;
        loadUnit(session, unit, true, false);
        if (data.pupilCount == 0)
            continue;
        ++units;
        if (data.tests.count <= 0) {
            withoutTests << data.unitName();
            continue;
        }
        const QString stem = safeFileName(data.unitName());
        SheetRequest overall;
        overall.kind = SheetRequest::Kind::Aryoiki;
        jobs.append(packSheet(session, overall, dir.filePath(stem + QStringLiteral("_総合集計.pdf"))));
        packPupils(session, dir, stem, oneFilePerSubject, jobs);
    }
    if (!data.specialistMode) {
        loadUnit(session, 1, false, true);
        for (bool record : {false, true}) {
            SheetRequest attendance;
            attendance.kind = SheetRequest::Kind::Shuseki;
            attendance.term = term;
            attendance.recordView = record;
            jobs.append(packSheet(session, attendance,
                                  dir.filePath(QStringLiteral("出欠_%1_%2.pdf")
                                                   .arg(termName(term), record ? QStringLiteral("指導要録用") : QStringLiteral("詳細")))));
        }
    }
    if (units == 0 && data.specialistMode)
        throw Failure{DataError, QStringLiteral("児童のいるクラスがありません。")};
    return jobs;
}

struct PackFormats {
    bool pdf = true;
    bool csv = false;
    bool xlsx = false;
};

// --format: "pdf", "csv", "xlsx" joined by commas; PDF only when not given.
PackFormats packFormats(const QString& text)
{
    if (text.isEmpty())
        return {};
    PackFormats formats{false, false, false};
    for (const QString& part : text.split(QLatin1Char(','))) {
        const QString kind = nfkc(part).toLower();
        if (kind == QLatin1String("pdf"))
            formats.pdf = true;
        else if (kind == QLatin1String("csv"))
            formats.csv = true;
        else if (kind == QLatin1String("xlsx"))
            formats.xlsx = true;
        else
            throw Failure{UsageError, QStringLiteral("--format には pdf、csv、xlsx をコンマで並べてください（「%1」）。").arg(part)};
    }
    return formats;
}

// The pack's CSV files and workbooks: each sheet of the jobs (made one pupil a
// file) beside its PDF's name.
void stageTables(const QList<PdfJob>& jobs, const PackFormats& formats, OutputBatch& batch)
{
    for (const PdfJob& job : jobs) {
        const QList<ReportSheet> sheets = job.sheets();
        if (sheets.isEmpty())
            continue;
        const QString base = job.path.chopped(4);  // ".pdf"
        if (formats.csv)
            check(batch.write(base + QStringLiteral(".csv"), CsvWriter::build(sheets.first())));
        if (formats.xlsx)
            check(batch.write(base + QStringLiteral(".xlsx"), workbookOf(sheets.first(), base + QStringLiteral(".xlsx"))));
    }
}

// Makes the files of `stage` in `folder`, all or none: the folder (and any folder
// above it) is made first when missing, and taken away again when the files fail.
void intoFolder(const QString& folder, QTextStream& err, const std::function<void(OutputBatch&)>& stage)
{
    const QStringList created = missingFolders(folder);
    if (!created.isEmpty() && !QDir().mkpath(folder)) {
        const int error = errno;
        throw Failure{DataError, QStringLiteral("フォルダ「%1」を作れませんでした。%2")
                                     .arg(QDir::toNativeSeparators(folder), OutputFile::describeError(error))};
    }
    try {
        OutputBatch batch(SafeFile::Sync::Skip);
        stage(batch);
        check(batch.commit());
        for (const QString& path : batch.paths())
            err << QStringLiteral("作成しました: %1").arg(QDir::toNativeSeparators(path)) << Qt::endl;
    } catch (const Failure&) {
        for (auto it = created.crbegin(); it != created.crend(); ++it)
            QDir().rmdir(*it);
        throw;
    }
}

// Every PDF of the pack is made first, on every core; only when all are complete do
// they take their names. A failure leaves the folder as it was (a folder this run
// made is removed again). The files can be made again at any time, so they are
// not synced to the disk one by one.
void termPack(Session& session, const QString& folder, int term, bool oneFilePerSubject, int threads,
              const PackFormats& formats, QTextStream& err)
{
    // A unit without tests has nothing to tally: it is left out and named once.
    QStringList withoutTests;
    const QList<PdfJob> jobs = packJobs(session, QDir(folder), term, oneFilePerSubject, withoutTests);
    if (jobs.isEmpty())
        throw Failure{DataError, QStringLiteral("テストのあるクラスがありません。")};
    intoFolder(folder, err, [&](OutputBatch& batch) {
        if (formats.pdf)
            check(PdfBatch::stage(jobs, batch, threads));
        if (formats.csv || formats.xlsx) {
            QStringList named;
            stageTables(oneFilePerSubject ? packJobs(session, QDir(folder), term, false, named) : jobs, formats, batch);
        }
    });
    if (!withoutTests.isEmpty())
        err << QStringLiteral("テストがないので作りませんでした: %1").arg(withoutTests.join(QStringLiteral("、"))) << Qt::endl;
}

// The report cards of a term (or the year's record) of every pupil into a folder,
// all files or none, as the report card window makes them.
void reportCards(Session& session, QSettings& settings, const ExportOptions& options, QTextStream& err)
{
    ClassData& data = session.data;
    if (data.specialistMode)
        throw Failure{DataError, QStringLiteral("通知表は学級担任用のデータフォルダから作ります。")};
    const int termIndex = termNumber(options.term);
    const int term = termIndex == 3 ? ReportCard::Year : termIndex + 1;
    const int threads = threadCount(options.threads);
    // The current subject's scores are loaded with the class file, as every window
    // has them: the class's comments come with it.
    loadUnit(session, data.subject, true, true);
    if (data.pupilCount == 0)
        throw Failure{DataError, QStringLiteral("児童がいないので、通知表を作れません。")};
    QList<UnitSets::Unit> units;
    check(UnitSets::load(data, units));
    const ReportCardSettings chosen = ReportCardSettings::read(settings);
    ReportCardSheet::Heading heading;
    heading.texts = {chosen.school, chosen.className, chosen.teacher, chosen.hideGrades};
    heading.schoolYear = ReportCardSheet::schoolYear(QDate::currentDate());
    heading.paper = chosen.a3Folded ? ReportCardSheet::Paper::A3Folded : ReportCardSheet::Paper::A4;
    const QList<ReportCard::Card> cards = ReportCard::compute(data, units, term, heading.texts);

    const ReportCardFiles::Request request{options.reportCard, session.layoutFolder, options.oneFile, threads};
    intoFolder(options.reportCard, err, [&](OutputBatch& batch) { check(ReportCardFiles::stage(cards, heading, request, batch)); });
}

// The unit the options name: the subject in homeroom mode, the class in specialist
// mode, 1 when none is named.
int chosenUnit(const ClassData& data, const ExportOptions& options)
{
    int unit = 1;
    if (!options.subject.isEmpty()) {
        if (data.specialistMode)
            throw Failure{UsageError, QStringLiteral("専科担当用では --subject ではなく --class でクラスを指定してください。")};
        unit = unitNumber(options.subject, Names::subjects());
        if (unit == 0)
            throw Failure{UsageError, QStringLiteral("「%1」という教科はありません（1～9 か 国語～体育）。").arg(options.subject)};
    }
    if (!options.className.isEmpty()) {
        if (!data.specialistMode)
            throw Failure{UsageError, QStringLiteral("学級担任用では --class ではなく --subject で教科を指定してください。")};
        unit = unitNumber(options.className, Names::classes());
        if (unit == 0)
            throw Failure{UsageError, QStringLiteral("「%1」というクラスはありません（1～9 か ４の１～６の３）。").arg(options.className)};
    }
    return unit;
}

// The settings store named by the options, or the user's own; read, never written.
std::unique_ptr<QSettings> openSettings(const ExportOptions& options)
{
    if (options.settingsFile.isEmpty())
        return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Mevra"),
                                           QStringLiteral("Kazane"));
    return std::make_unique<QSettings>(options.settingsFile, QSettings::IniFormat);
}

// The settings, then the mode and the data folder as the options change them; a
// first run takes the defaults.
void readSettings(ClassData& data, QSettings& settings, const ExportOptions& options)
{
    data.setDefaultViewpointNames();
    const Status settingsStatus = AppSettings::read(data, settings, ProgramFolder::programFolder());
    if (!options.mode.isEmpty()) {
        if (options.mode != QLatin1String("homeroom") && options.mode != QLatin1String("specialist"))
            throw Failure{UsageError, QStringLiteral("--mode には homeroom か specialist を指定してください。")};
        data.specialistMode = options.mode == QLatin1String("specialist");
        data.setFileStems();
    }
    if (!options.dataFolder.isEmpty())
        data.dataFolder = QDir(options.dataFolder).absolutePath() + QLatin1Char('/');
    else if (!settingsStatus.ok)
        throw Failure{DataError, settingsStatus.message};
    if (!QFileInfo(data.dataFolder).isDir())
        throw Failure{DataError, QStringLiteral("データフォルダ「%1」がありません。").arg(data.dataFolder)};
}

void readAryoikiChoices(const ExportOptions& options, SheetRequest& request)
{
    const QString& order = options.order;
    if (!options.tests.isEmpty() && options.tests != QLatin1String("all"))
        for (const QString& part : options.tests.split(QLatin1Char(',')))
            request.tests.append(positiveNumber(QStringLiteral("--tests"), part));
    if (order.isEmpty() || order == QLatin1String("number"))
        request.order = 0;
    else if (order == QLatin1String("overall"))
        request.order = 1;
    else if (order.startsWith(QLatin1String("viewpoint:")) && order.size() == 11 && order[10] >= QLatin1Char('1')
             && order[10] <= QLatin1Char('4'))
        request.order = 1 + order[10].digitValue();
    else
        throw Failure{UsageError, QStringLiteral("aryoiki の --order は number、overall、viewpoint:1～4 のどれかです。")};
    if (options.show.isEmpty())
        return;
    request.showAverage = request.showRank = request.showEvaluation = false;
    for (const QString& part : options.show.split(QLatin1Char(','))) {
        if (part == QLatin1String("avg"))
            request.showAverage = true;
        else if (part == QLatin1String("rank"))
            request.showRank = true;
        else if (part == QLatin1String("eval"))
            request.showEvaluation = true;
        else
            throw Failure{UsageError, QStringLiteral("--show には avg、rank、eval を並べてください（「%1」）。").arg(part)};
    }
}

struct SheetChoice {
    SheetRequest request;
    bool needScores = true;
    bool needAttendance = false;
};

// The sheet named by the word `kind` with the options that choose its content.
SheetChoice sheetChoice(const QString& kind, const ExportOptions& options)
{
    SheetChoice choice;
    SheetRequest& request = choice.request;
    if (kind == QLatin1String("testdisp")) {
        request.kind = SheetRequest::Kind::TestDisp;
        if (options.test.isEmpty())
            throw Failure{UsageError, QStringLiteral("testdisp には --test でテスト番号を指定してください。")};
        request.test = positiveNumber(QStringLiteral("--test"), options.test);
        if (!options.order.isEmpty() && options.order != QLatin1String("number") && options.order != QLatin1String("score"))
            throw Failure{UsageError, QStringLiteral("testdisp の --order は number か score です。")};
        request.byScore = options.order == QLatin1String("score");
    } else if (kind == QLatin1String("kojin")) {
        request.kind = SheetRequest::Kind::Kojin;
        if (options.pupil.isEmpty())
            throw Failure{UsageError, QStringLiteral("kojin には --pupil で出席番号を指定してください。")};
        request.pupil = positiveNumber(QStringLiteral("--pupil"), options.pupil);
    } else if (kind == QLatin1String("aryoiki")) {
        request.kind = SheetRequest::Kind::Aryoiki;
        readAryoikiChoices(options, request);
    } else if (kind == QLatin1String("names")) {
        request.kind = SheetRequest::Kind::Names;
        choice.needScores = false;
    } else if (kind == QLatin1String("tests")) {
        request.kind = SheetRequest::Kind::Tests;
    } else if (kind == QLatin1String("shuseki")) {
        request.kind = SheetRequest::Kind::Shuseki;
        choice.needScores = false;
        choice.needAttendance = true;
        if (options.term.isEmpty())
            throw Failure{UsageError, QStringLiteral("shuseki には --term 1|2|3|year を指定してください。")};
        request.term = termNumber(options.term);
        if (!options.view.isEmpty() && options.view != QLatin1String("detail") && options.view != QLatin1String("record"))
            throw Failure{UsageError, QStringLiteral("shuseki の --view は detail か record です。")};
        request.recordView = options.view == QLatin1String("record");
    } else {
        throw Failure{UsageError, QStringLiteral("「%1」という一覧表はありません（testdisp、kojin、aryoiki、names、tests、shuseki）。").arg(kind)};
    }
    return choice;
}

int runChecked(const QStringList& arguments, QTextStream& err, QTextStream& out, const QString& layoutFolder)
{
    ExportOptions options;
    if (const QString problem = ExportArguments::read(arguments, options); !problem.isEmpty())
        throw Failure{UsageError, problem};
    if (options.help) {
        out << ExportCommand::usage();
        return Done;
    }
    if (options.sheets.size() > 1)
        throw Failure{UsageError, QStringLiteral("一覧表の種類は一つだけ指定してください。")};

    const std::unique_ptr<QSettings> settings = openSettings(options);
    Session session;
    session.layoutFolder = layoutFolder.isEmpty() ? ProgramFolder::resourceFolder() : layoutFolder;
    ClassData& data = session.data;
    readSettings(data, *settings, options);
    const int unit = chosenUnit(data, options);

    if (!options.reportCard.isEmpty()) {
        if (options.term.isEmpty())
            throw Failure{UsageError, QStringLiteral("--report-card には --term 1|2|3|year を添えてください。")};
        if (!options.sheets.isEmpty() || !options.termPack.isEmpty() || !options.pdf.isEmpty() || !options.csv.isEmpty()
            || !options.store.isEmpty() || options.oneFilePerSubject)
            throw Failure{UsageError, QStringLiteral("--report-card と一覧表の種類、--term-pack、--pdf、--csv、--store は同時に指定できません。")};
        reportCards(session, *settings, options, err);
        return Done;
    }
    if (options.oneFile)
        throw Failure{UsageError, QStringLiteral("--one-file は --report-card と一緒に指定してください。")};
    if (!options.termPack.isEmpty()) {
        if (options.term.isEmpty())
            throw Failure{UsageError, QStringLiteral("--term-pack には --term 1|2|3|year を添えてください。")};
        if (!options.sheets.isEmpty())
            throw Failure{UsageError, QStringLiteral("--term-pack と一覧表の種類は同時に指定できません。")};
        if (!options.pdf.isEmpty() || !options.csv.isEmpty() || !options.store.isEmpty() || !options.xlsx.isEmpty())
            throw Failure{UsageError, QStringLiteral("--term-pack と --pdf、--csv、--xlsx、--store は同時に指定できません。")};
        termPack(session, options.termPack, termNumber(options.term), options.oneFilePerSubject, threadCount(options.threads),
                 packFormats(options.format), err);
        return Done;
    }
    if (options.oneFilePerSubject || !options.threads.isEmpty() || !options.format.isEmpty())
        throw Failure{UsageError, QStringLiteral("--one-file-per-subject、--threads、--format は --term-pack と一緒に指定してください。")};
    if (options.sheets.isEmpty())
        throw Failure{UsageError, QStringLiteral("一覧表の種類（testdisp、kojin、aryoiki、names、tests、shuseki）を指定してください。")};
    if (options.pdf.isEmpty() && options.csv.isEmpty() && options.store.isEmpty() && options.xlsx.isEmpty())
        throw Failure{UsageError, QStringLiteral("出力先（--pdf、--csv、--xlsx、--store）を一つ以上指定してください。")};

    const SheetChoice choice = sheetChoice(options.sheets.first(), options);
    const Outputs outputs{options.pdf, options.csv, options.store, options.xlsx};
    QStringList named;
    for (const QString& output : {options.pdf, options.csv, options.store, options.xlsx})
        if (!output.isEmpty())
            named.append(output);
    checkOutputs(named, settings->fileName(), data.dataFolder);
    loadUnit(session, unit, choice.needScores, choice.needAttendance);
    ReportSheet sheet;
    check(buildSheet(data, choice.request, sheet));
    OutputBatch batch;
    stageOutputs(sheet, session.layoutFolder, outputs, batch);
    check(batch.commit());
    return Done;
}

}  // namespace

QString ExportCommand::usage()
{
    return ExportArguments::usage();
}

int ExportCommand::run(const QStringList& arguments, QTextStream& err, QTextStream& out, const QString& layoutFolder)
{
    try {
        return runChecked(arguments, err, out, layoutFolder);
    } catch (const Failure& failure) {
        err << QStringLiteral("kazane-export: ") << failure.message << Qt::endl;
        return failure.code;
    }
}
