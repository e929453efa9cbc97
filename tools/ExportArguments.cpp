#include "tools/ExportArguments.h"

#include <QCommandLineParser>

namespace {

struct ValueOption {
    const char* name;
    QString ExportOptions::*field;
};

const ValueOption ValueOptions[] = {
    {"settings", &ExportOptions::settingsFile}, {"data", &ExportOptions::dataFolder},
    {"mode", &ExportOptions::mode},             {"subject", &ExportOptions::subject},
    {"class", &ExportOptions::className},       {"pdf", &ExportOptions::pdf},
    {"csv", &ExportOptions::csv},               {"store", &ExportOptions::store},
    {"term-pack", &ExportOptions::termPack},    {"term", &ExportOptions::term},
    {"test", &ExportOptions::test},             {"order", &ExportOptions::order},
    {"pupil", &ExportOptions::pupil},           {"tests", &ExportOptions::tests},
    {"show", &ExportOptions::show},             {"view", &ExportOptions::view},
    {"threads", &ExportOptions::threads},       {"report-card", &ExportOptions::reportCard},
    {"xlsx", &ExportOptions::xlsx},             {"format", &ExportOptions::format},
};

const QString EndOfOptions = QStringLiteral("--");

// The option `name` as the user typed it: "--colour" (of "--colour" or
// "--colour=red"), or "-x" for a letter of a word of short options.
QString typedOption(const QString& name, const QStringList& arguments)
{
    for (const QString& word : arguments) {
        if (word == EndOfOptions)
            break;
        if (word.startsWith(EndOfOptions) && word.mid(2).section(QLatin1Char('='), 0, 0) == name)
            return EndOfOptions + name;
    }
    return QLatin1Char('-') + name;
}

// The parser's own error texts are English; the user is told in Japanese what was
// wrong: an option the tool does not know, or the last option without its value.
QString problemOf(const QCommandLineParser& parser, const QStringList& arguments)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty())
        return QStringLiteral("「%1」というオプションはありません。--help で使い方を表示します。")
            .arg(typedOption(unknown.first(), arguments));
    const QString last = arguments.isEmpty() ? QString() : arguments.last();
    if (last.startsWith(EndOfOptions))
        return QStringLiteral("%1 の後に値がありません。").arg(last);
    return QStringLiteral("オプションを読み取れませんでした。--help で使い方を表示します。");
}

}  // namespace

QString ExportArguments::read(const QStringList& arguments, ExportOptions& options)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(help);
    const QCommandLineOption onePerSubject(QStringLiteral("one-file-per-subject"));
    parser.addOption(onePerSubject);
    const QCommandLineOption oneFile(QStringLiteral("one-file"));
    parser.addOption(oneFile);
    for (const ValueOption& option : ValueOptions)
        parser.addOption(QCommandLineOption(QString::fromLatin1(option.name), QString(), QStringLiteral("value")));
    // The parser skips the first word as the program's name.
    const bool parsed = parser.parse(QStringList{QStringLiteral("kazane-export")} + arguments);
    options = ExportOptions();
    options.help = parser.isSet(help);
    if (options.help)
        return {};
    if (!parsed)
        return problemOf(parser, arguments);
    for (const ValueOption& option : ValueOptions) {
        const QString name = QString::fromLatin1(option.name);
        const QStringList values = parser.values(name);
        if (values.size() > 1)
            return QStringLiteral("--%1 は一度だけ指定してください。").arg(name);
        options.*option.field = values.value(0);
    }
    options.oneFilePerSubject = parser.isSet(onePerSubject);
    options.oneFile = parser.isSet(oneFile);
    options.sheets = parser.positionalArguments();
    return {};
}

QString ExportArguments::usage()
{
    return QStringLiteral(
        "使い方: kazane-export [単位] 一覧表 [選択] 出力先\n"
        "        kazane-export [単位] --term-pack フォルダ --term 1|2|3|year [--format pdf,csv,xlsx]\n"
        "                      [--one-file-per-subject] [--threads 数]\n"
        "        kazane-export --report-card フォルダ --term 1|2|3|year [--one-file] [--threads 数]\n"
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
        "  --csv ファイル     表計算ソフトや校務システム用のCSV（UTF-8、BOM付き）\n"
        "  --xlsx ファイル    表計算ソフト用のブック（.xlsx）\n"
        "  --store ファイル   印刷用の一時データベースそのもの\n"
        "\n"
        "学期末の一括作成:\n"
        "  --term-pack フォルダ --term 1|2|3|year\n"
        "      使用中の教科（クラス）ごとに総合集計と全員の個人別集計、\n"
        "      学級担任用では出欠集計（詳細と指導要録用）をPDFで作ります。\n"
        "      個人別集計は児童ごとに一つのファイル（教科_個人_番号.pdf）です。\n"
        "  --format pdf,csv,xlsx\n"
        "      作るファイルの種類（既定は pdf）。csv、xlsx は同じ名前の .csv、.xlsx を\n"
        "      一覧表ごとに作ります（個人別集計はいつも児童ごとに一つ）。\n"
        "  --one-file-per-subject\n"
        "      個人別集計を教科（クラス）ごとに一つのファイル（教科_個人.pdf）にまとめ、\n"
        "      一人ずつ新しいページから印刷します。\n"
        "  --threads 数\n"
        "      --term-pack、--report-card でPDFを作るスレッドの数（既定はCPUのコア数）。\n"
        "\n"
        "通知表（学級担任用）:\n"
        "  --report-card フォルダ --term 1|2|3\n"
        "      学期の通知表を児童ごとに一つのPDF（通知表_１学期_番号_氏名.pdf）で作ります。\n"
        "      用紙（A4 か A3 二つ折り）、学校名、学級、担任名、評定を出さないかどうかは\n"
        "      設定（通知表の画面で入力したもの）のとおりです。\n"
        "  --report-card フォルダ --term year\n"
        "      指導要録用の年間の記録を児童ごとのPDF（指導要録_番号_氏名.pdf）と\n"
        "      学級の一覧のCSV（指導要録.csv）で作ります。\n"
        "  --one-file\n"
        "      全員を一つのPDF（通知表_１学期.pdf、指導要録.pdf）にまとめ、一人ずつ新しい\n"
        "      ページから印刷します。\n"
        "\n"
        "終了状態: 0 成功、1 データまたは出力のエラー、2 使い方の誤り\n");
}
