#include "tools/ExportCommand.h"

#include "model/AppSettings.h"
#include "model/AttendanceFile.h"
#include "model/RosterFile.h"
#include "model/ScoreFile.h"
#include "output/CsvWriter.h"
#include "output/OutputFile.h"
#include "output/ReportStore.h"
#include "output/PdfWriter.h"
#include "tally/Sheets.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTextStream>

#include <cerrno>
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

class Arguments {
public:
    explicit Arguments(const QStringList& list) : list(list) {}

    // The value of an option given as "--name value" or "--name=value".
    bool take(const QString& name, QString& value)
    {
        for (int i = 0; i < list.size(); ++i) {
            if (list[i] == name) {
                if (i + 1 >= list.size())
                    throw Failure{UsageError, QStringLiteral("%1 の後に値がありません。").arg(name)};
                value = list[i + 1];
                list.remove(i, 2);
                return true;
            }
            if (list[i].startsWith(name + QLatin1Char('='))) {
                value = list[i].mid(name.size() + 1);
                list.removeAt(i);
                return true;
            }
        }
        return false;
    }
    bool flag(const QString& name) { return list.removeAll(name) > 0; }
    QStringList rest() const { return list; }

private:
    QStringList list;
};

int positiveNumber(const QString& option, const QString& text)
{
    bool ok = false;
    const int value = nfkc(text).toInt(&ok);
    if (!ok || value < 1)
        throw Failure{UsageError, QStringLiteral("%1 には1以上の数を指定してください（「%2」）。").arg(option, text)};
    return value;
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
};

// Writes the outputs of one sheet as temporary files of the batch; nothing has its
// real name before the batch is committed.
void stageOutputs(const ReportSheet& sheet, const QString& layoutFolder, const Outputs& outputs, OutputBatch& batch)
{
    if (!outputs.pdf.isEmpty()) {
        QByteArray pdf;
        // The exported sheets carry no document title, as they always have.
        check(PdfWriter::render(sheet, QDir(layoutFolder).filePath(sheet.stem + QStringLiteral(".rpt")), QString(), pdf));
        check(batch.add(outputs.pdf, pdf));
    }
    if (!outputs.csv.isEmpty())
        check(batch.add(outputs.csv, CsvWriter::build(sheet)));
    if (!outputs.store.isEmpty())
        check(batch.addMade(outputs.store, [&](const QString& file) { return ReportStore::fill(file, sheet, outputs.store); }));
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
            if (OutputFile::sameFile(outputs[j], output))
                throw Failure{UsageError, QStringLiteral("出力先に同じファイル「%1」が二度指定されています。").arg(QDir::toNativeSeparators(output))};
        const QFileInfo info(output);
        if (OutputFile::sameFile(output, settingsFile)
            || (QFileInfo(info.absolutePath()).canonicalFilePath() == data
                && dataSuffixes.contains(info.suffix(), Qt::CaseInsensitive)))
            throw Failure{UsageError, QStringLiteral("出力先「%1」はかざねのデータまたは設定のファイルです。別のファイル名を指定してください。")
                                          .arg(QDir::toNativeSeparators(output))};
    }
}

struct Session {
    ClassData data;
    QString layoutFolder;
};

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
    if (needScores)
        check(ScoreFile::load(data));
    if (needAttendance) {
        if (data.specialistMode)
            throw Failure{DataError, QStringLiteral("専科担当用のデータフォルダには出欠の一覧表はありません。")};
        if (!AttendanceFile::exists(data))
            throw Failure{DataError, QStringLiteral("出席データファイル(shuketu.dat)が見つかりません。")};
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

// One PDF of a term pack, staged in the batch.
void packSheet(Session& session, const SheetRequest& request, const QString& path, OutputBatch& batch)
{
    ReportSheet sheet;
    check(buildSheet(session.data, request, sheet));
    Outputs outputs;
    outputs.pdf = path;
    stageOutputs(sheet, session.layoutFolder, outputs, batch);
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

void stagePack(Session& session, const QDir& dir, int term, OutputBatch& batch)
{
    ClassData& data = session.data;
    int units = 0;
    for (int unit = 1; unit <= Limits::Units; ++unit) {
        if (!data.specialistMode && data.subjectInUse[unit] != 1)
            continue;
        loadUnit(session, unit, true, false);
        if (data.pupilCount == 0)
            continue;
        ++units;
        const QString stem = safeFileName(data.fileStem[unit]);
        SheetRequest overall;
        overall.kind = SheetRequest::Kind::Aryoiki;
        packSheet(session, overall, dir.filePath(stem + QStringLiteral("_総合集計.pdf")), batch);
        for (int p = 1; p <= data.pupilCount; ++p) {
            SheetRequest pupil;
            pupil.kind = SheetRequest::Kind::Kojin;
            pupil.pupil = p;
            packSheet(session, pupil, dir.filePath(QStringLiteral("%1_個人_%2.pdf").arg(stem).arg(p, 2, 10, QLatin1Char('0'))), batch);
        }
    }
    if (!data.specialistMode) {
        loadUnit(session, 1, false, true);
        for (bool record : {false, true}) {
            SheetRequest attendance;
            attendance.kind = SheetRequest::Kind::Shuseki;
            attendance.term = term;
            attendance.recordView = record;
            packSheet(session, attendance,
                      dir.filePath(QStringLiteral("出欠_%1_%2.pdf").arg(termName(term), record ? QStringLiteral("指導要録用") : QStringLiteral("詳細"))),
                      batch);
        }
    }
    if (units == 0 && data.specialistMode)
        throw Failure{DataError, QStringLiteral("児童のいるクラスがありません。")};
}

// Every PDF of the pack is made first; only when all are complete do they take
// their names. A failure leaves the folder as it was (a folder this run made is
// removed again).
void termPack(Session& session, const QString& folder, int term, QTextStream& err)
{
    const QStringList created = missingFolders(folder);
    if (!created.isEmpty() && !QDir().mkpath(folder)) {
        const int error = errno;
        throw Failure{DataError, QStringLiteral("フォルダ「%1」を作れませんでした。%2")
                                     .arg(QDir::toNativeSeparators(folder), OutputFile::describeError(error))};
    }
    try {
        OutputBatch batch;
        stagePack(session, QDir(folder), term, batch);
        check(batch.commit());
        for (const QString& path : batch.paths())
            err << QStringLiteral("作成しました: %1").arg(QDir::toNativeSeparators(path)) << Qt::endl;
    } catch (const Failure&) {
        for (auto it = created.crbegin(); it != created.crend(); ++it)
            QDir().rmdir(*it);
        throw;
    }
}

int runChecked(const QStringList& arguments, QTextStream& err, QTextStream& out, const QString& layoutFolder)
{
    Arguments args(arguments);
    if (args.flag(QStringLiteral("--help")) || args.flag(QStringLiteral("-h"))) {
        out << ExportCommand::usage();
        return Done;
    }
    QString settingsFile, dataFolder, mode, subject, klass, pdf, csv, store, pack, term, test, order, pupil, tests, show, view;
    args.take(QStringLiteral("--settings"), settingsFile);
    args.take(QStringLiteral("--data"), dataFolder);
    args.take(QStringLiteral("--mode"), mode);
    args.take(QStringLiteral("--subject"), subject);
    args.take(QStringLiteral("--class"), klass);
    args.take(QStringLiteral("--pdf"), pdf);
    args.take(QStringLiteral("--csv"), csv);
    args.take(QStringLiteral("--store"), store);
    args.take(QStringLiteral("--term-pack"), pack);
    args.take(QStringLiteral("--term"), term);
    args.take(QStringLiteral("--test"), test);
    args.take(QStringLiteral("--order"), order);
    args.take(QStringLiteral("--pupil"), pupil);
    args.take(QStringLiteral("--tests"), tests);
    args.take(QStringLiteral("--show"), show);
    args.take(QStringLiteral("--view"), view);
    const QStringList rest = args.rest();
    for (const QString& word : rest)
        if (word.startsWith(QLatin1String("--")))
            throw Failure{UsageError, QStringLiteral("「%1」というオプションはありません。--help で使い方を表示します。").arg(word)};
    if (rest.size() > 1)
        throw Failure{UsageError, QStringLiteral("一覧表の種類は一つだけ指定してください。")};

    // Settings, read without writing; a first run takes the defaults.
    std::unique_ptr<QSettings> settings =
        settingsFile.isEmpty() ? std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                             QStringLiteral("Mevra"), QStringLiteral("Kazane"))
                               : std::make_unique<QSettings>(settingsFile, QSettings::IniFormat);
    Session session;
    session.layoutFolder = layoutFolder.isEmpty() ? QCoreApplication::applicationDirPath() : layoutFolder;
    ClassData& data = session.data;
    data.setDefaultViewpointNames();
    const Status settingsStatus = AppSettings::read(data, *settings, QCoreApplication::applicationDirPath());
    if (!mode.isEmpty()) {
        if (mode != QLatin1String("homeroom") && mode != QLatin1String("specialist"))
            throw Failure{UsageError, QStringLiteral("--mode には homeroom か specialist を指定してください。")};
        data.specialistMode = mode == QLatin1String("specialist");
        data.setFileStems();
    }
    if (!dataFolder.isEmpty())
        data.dataFolder = QDir(dataFolder).absolutePath() + QLatin1Char('/');
    else if (!settingsStatus.ok)
        throw Failure{DataError, settingsStatus.message};
    if (!QFileInfo(data.dataFolder).isDir())
        throw Failure{DataError, QStringLiteral("データフォルダ「%1」がありません。").arg(data.dataFolder)};

    int unit = 1;
    if (!subject.isEmpty()) {
        if (data.specialistMode)
            throw Failure{UsageError, QStringLiteral("専科担当用では --subject ではなく --class でクラスを指定してください。")};
        unit = unitNumber(subject, Names::subjects());
        if (unit == 0)
            throw Failure{UsageError, QStringLiteral("「%1」という教科はありません（1～9 か 国語～体育）。").arg(subject)};
    }
    if (!klass.isEmpty()) {
        if (!data.specialistMode)
            throw Failure{UsageError, QStringLiteral("学級担任用では --class ではなく --subject で教科を指定してください。")};
        unit = unitNumber(klass, Names::classes());
        if (unit == 0)
            throw Failure{UsageError, QStringLiteral("「%1」というクラスはありません（1～9 か ４の１～６の３）。").arg(klass)};
    }

    if (!pack.isEmpty()) {
        if (term.isEmpty())
            throw Failure{UsageError, QStringLiteral("--term-pack には --term 1|2|3|year を添えてください。")};
        if (!rest.isEmpty())
            throw Failure{UsageError, QStringLiteral("--term-pack と一覧表の種類は同時に指定できません。")};
        if (!pdf.isEmpty() || !csv.isEmpty() || !store.isEmpty())
            throw Failure{UsageError, QStringLiteral("--term-pack と --pdf、--csv、--store は同時に指定できません。")};
        termPack(session, pack, termNumber(term), err);
        return Done;
    }
    if (rest.isEmpty())
        throw Failure{UsageError, QStringLiteral("一覧表の種類（testdisp、kojin、aryoiki、names、tests、shuseki）を指定してください。")};
    if (pdf.isEmpty() && csv.isEmpty() && store.isEmpty())
        throw Failure{UsageError, QStringLiteral("出力先（--pdf、--csv、--store）を一つ以上指定してください。")};

    SheetRequest request;
    const QString kind = rest.first();
    bool needScores = true;
    bool needAttendance = false;
    if (kind == QLatin1String("testdisp")) {
        request.kind = SheetRequest::Kind::TestDisp;
        if (test.isEmpty())
            throw Failure{UsageError, QStringLiteral("testdisp には --test でテスト番号を指定してください。")};
        request.test = positiveNumber(QStringLiteral("--test"), test);
        if (!order.isEmpty() && order != QLatin1String("number") && order != QLatin1String("score"))
            throw Failure{UsageError, QStringLiteral("testdisp の --order は number か score です。")};
        request.byScore = order == QLatin1String("score");
    } else if (kind == QLatin1String("kojin")) {
        request.kind = SheetRequest::Kind::Kojin;
        if (pupil.isEmpty())
            throw Failure{UsageError, QStringLiteral("kojin には --pupil で出席番号を指定してください。")};
        request.pupil = positiveNumber(QStringLiteral("--pupil"), pupil);
    } else if (kind == QLatin1String("aryoiki")) {
        request.kind = SheetRequest::Kind::Aryoiki;
        if (!tests.isEmpty() && tests != QLatin1String("all"))
            for (const QString& part : tests.split(QLatin1Char(',')))
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
        if (!show.isEmpty()) {
            request.showAverage = request.showRank = request.showEvaluation = false;
            for (const QString& part : show.split(QLatin1Char(','))) {
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
    } else if (kind == QLatin1String("names")) {
        request.kind = SheetRequest::Kind::Names;
        needScores = false;
    } else if (kind == QLatin1String("tests")) {
        request.kind = SheetRequest::Kind::Tests;
    } else if (kind == QLatin1String("shuseki")) {
        request.kind = SheetRequest::Kind::Shuseki;
        needScores = false;
        needAttendance = true;
        if (term.isEmpty())
            throw Failure{UsageError, QStringLiteral("shuseki には --term 1|2|3|year を指定してください。")};
        request.term = termNumber(term);
        if (!view.isEmpty() && view != QLatin1String("detail") && view != QLatin1String("record"))
            throw Failure{UsageError, QStringLiteral("shuseki の --view は detail か record です。")};
        request.recordView = view == QLatin1String("record");
    } else {
        throw Failure{UsageError, QStringLiteral("「%1」という一覧表はありません（testdisp、kojin、aryoiki、names、tests、shuseki）。").arg(kind)};
    }
    const Outputs outputs{pdf, csv, store};
    QStringList named;
    for (const QString& output : {pdf, csv, store})
        if (!output.isEmpty())
            named.append(output);
    checkOutputs(named, settings->fileName(), data.dataFolder);
    loadUnit(session, unit, needScores, needAttendance);
    ReportSheet sheet;
    check(buildSheet(data, request, sheet));
    OutputBatch batch;
    stageOutputs(sheet, session.layoutFolder, outputs, batch);
    check(batch.commit());
    return Done;
}

}  // namespace

QString ExportCommand::usage()
{
    return QStringLiteral(
        "使い方: kazane-export [単位] 一覧表 [選択] 出力先\n"
        "        kazane-export [単位] --term-pack フォルダ --term 1|2|3|year\n"
        "\n"
        "かざねのデータフォルダから一覧表を作ります。データフォルダと設定は読むだけで、書き換えません。\n"
        "\n"
        "単位:\n"
        "  --subject 1～9|国語～体育   教科（学級担任用）。既定は国語\n"
        "  --class 1～9|４の１～６の３  クラス（専科担当用）。既定は４の１\n"
        "  --mode homeroom|specialist  学級担任用か専科担当用か（既定は設定のとおり）\n"
        "  --data フォルダ             データフォルダ（既定は設定のデータ保存フォルダ）\n"
        "  --settings ファイル         設定ファイル（既定は ~/.config/Mevra/Kazane.ini）\n"
        "\n"
        "一覧表:\n"
        "  testdisp --test N [--order number|score]      テスト別成績集計\n"
        "  kojin --pupil N                               個人別成績集計\n"
        "  aryoiki [--tests all|1,3,5] [--order number|overall|viewpoint:1～4]\n"
        "          [--show avg,rank,eval]                総合成績集計（教科内総合集計一覧表）\n"
        "  names                                         児童氏名一覧表\n"
        "  tests                                         テスト一覧表\n"
        "  shuseki --term 1|2|3|year [--view detail|record]  出欠集計一覧表\n"
        "\n"
        "出力先（一つ以上）:\n"
        "  --pdf ファイル     印刷と同じ一覧表をPDFで\n"
        "  --csv ファイル     表計算ソフト用のCSV（UTF-8、BOM付き）\n"
        "  --store ファイル   印刷用の一時データベースそのもの\n"
        "\n"
        "学期末の一括作成:\n"
        "  --term-pack フォルダ --term 1|2|3|year\n"
        "      使用中の教科（クラス）ごとに総合集計と全員の個人別集計、\n"
        "      学級担任用では出欠集計（詳細と指導要録用）をPDFで作ります。\n"
        "\n"
        "終了状態: 0 成功、1 データまたは出力のエラー、2 使い方の誤り\n");
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
