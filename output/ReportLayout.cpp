#include "output/ReportLayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <cmath>

namespace {

// What a layout may say: no length beyond a metre, no row lower than 1 mm (the
// rows of a page are counted in whole numbers), type from 1 to 200 points.
constexpr double LongestLength = 1000;
constexpr double LowestRow = 1;
constexpr double SmallestPoints = 1;
constexpr double LargestPoints = 200;

struct Token {
    QString text;
    bool quoted = false;
};

// Splits a statement into words and quoted texts ("" inside quotes is one quote).
bool tokenize(const QString& line, QList<Token>& tokens, QString& error)
{
    tokens.clear();
    int i = 0;
    const int n = int(line.size());
    while (i < n) {
        const QChar c = line[i];
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            ++i;
            continue;
        }
        Token token;
        if (c == QLatin1Char('"')) {
            token.quoted = true;
            ++i;
            bool closed = false;
            while (i < n) {
                if (line[i] == QLatin1Char('"')) {
                    if (i + 1 < n && line[i + 1] == QLatin1Char('"')) {
                        token.text += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                token.text += line[i++];
            }
            if (!closed) {
                error = QStringLiteral("閉じる「\"」がありません。");
                return false;
            }
        } else {
            while (i < n && line[i] != QLatin1Char(' ') && line[i] != QLatin1Char('\t'))
                token.text += line[i++];
        }
        tokens.append(token);
    }
    return true;
}

bool alignmentOf(const QString& given, Qt::Alignment& align)
{
    const QString word = given.toLower();
    if (word == QLatin1String("left"))
        align = Qt::AlignLeft;
    else if (word == QLatin1String("center") || word == QLatin1String("centre"))
        align = Qt::AlignHCenter;
    else if (word == QLatin1String("right"))
        align = Qt::AlignRight;
    else
        return false;
    return true;
}

// Reads the statements of a layout one line at a time; each statement has a
// function of its own that reads its arguments into the layout.
class LayoutParser {
public:
    LayoutParser(ReportLayout& layout) : layout(layout) {}

    Status statement(const QString& trimmed, int lineNumber);
    // The checks of the whole once every line is read.
    Status checkFits() const;

private:
    using Reader = Status (LayoutParser::*)();
    static const QHash<QString, Reader>& readers();

    Status paper();
    Status orientation();
    Status margins();
    Status font();
    Status text();
    Status box();
    Status line();
    Status table();
    Status row();
    Status column();
    Status headings();
    Status footer();
    Status grid();
    Status padding();
    Status chart();

    Status fail(const QString& why) const { return Status::failure(layout.lineMessage(lineNumber, why)); }
    Status numbersFail(const QString& what) const
    {
        return fail(QStringLiteral("「%1」の%2が正しくありません（0 から 1000 mm までの数で書いてください）。").arg(keyword, what));
    }
    // Words other than field names and texts are read without regard to case.
    QString word(int i) const { return i < args.size() && !args[i].quoted ? args[i].text.toLower() : QString(); }
    bool quotedAt(int i) const { return i < args.size() && args[i].quoted; }
    // Reads argument i as a length in millimetres, or with `points` as a type size.
    bool number(int i, double& value, bool allowZero = true, bool points = false) const;

    ReportLayout& layout;
    QString keyword;
    QList<Token> args;
    int lineNumber = 0;
};

const QHash<QString, LayoutParser::Reader>& LayoutParser::readers()
{
    static const QHash<QString, Reader> table{
        {QStringLiteral("paper"), &LayoutParser::paper},       {QStringLiteral("orientation"), &LayoutParser::orientation},
        {QStringLiteral("margins"), &LayoutParser::margins},   {QStringLiteral("font"), &LayoutParser::font},
        {QStringLiteral("text"), &LayoutParser::text},         {QStringLiteral("box"), &LayoutParser::box},
        {QStringLiteral("line"), &LayoutParser::line},         {QStringLiteral("table"), &LayoutParser::table},
        {QStringLiteral("row"), &LayoutParser::row},           {QStringLiteral("column"), &LayoutParser::column},
        {QStringLiteral("headings"), &LayoutParser::headings}, {QStringLiteral("footer"), &LayoutParser::footer},
        {QStringLiteral("grid"), &LayoutParser::grid},         {QStringLiteral("padding"), &LayoutParser::padding},
        {QStringLiteral("chart"), &LayoutParser::chart}};
    return table;
}

Status LayoutParser::statement(const QString& trimmed, int number)
{
    lineNumber = number;
    QList<Token> tokens;
    QString error;
    if (!tokenize(trimmed, tokens, error))
        return fail(error);
    keyword = tokens.first().text.toLower();
    args = tokens.mid(1);
    const Reader reader = readers().value(keyword);
    if (!reader)
        return fail(QStringLiteral("「%1」という命令はありません。").arg(keyword));
    return (this->*reader)();
}

bool LayoutParser::number(int i, double& value, bool allowZero, bool points) const
{
    if (i >= args.size() || args[i].quoted)
        return false;
    bool ok = false;
    const double read = args[i].text.toDouble(&ok);
    if (!ok || !std::isfinite(read) || read < 0 || (!allowZero && read <= 0))
        return false;
    if (points ? (read < SmallestPoints || read > LargestPoints) : read > LongestLength)
        return false;
    value = read;
    return true;
}

Status LayoutParser::paper()
{
    static const QHash<QString, QPageSize::PageSizeId> papers{
        {QStringLiteral("A3"), QPageSize::A3},    {QStringLiteral("A4"), QPageSize::A4},
        {QStringLiteral("A5"), QPageSize::A5},    {QStringLiteral("B4"), QPageSize::JisB4},
        {QStringLiteral("B5"), QPageSize::JisB5}, {QStringLiteral("Letter"), QPageSize::Letter}};
    const QString name = word(0).toUpper().replace(QStringLiteral("LETTER"), QStringLiteral("Letter"));
    if (args.size() != 1 || !papers.contains(name))
        return fail(QStringLiteral("用紙は A4、B5、A3、B4、A5、Letter のどれかです。"));
    layout.paper = papers.value(name);
    return Status::success();
}

Status LayoutParser::orientation()
{
    if (args.size() != 1 || (word(0) != QLatin1String("portrait") && word(0) != QLatin1String("landscape")))
        return fail(QStringLiteral("向きは portrait か landscape です。"));
    layout.orientation = word(0) == QLatin1String("portrait") ? QPageLayout::Portrait : QPageLayout::Landscape;
    return Status::success();
}

Status LayoutParser::margins()
{
    if (args.size() != 4 || !number(0, layout.left) || !number(1, layout.top) || !number(2, layout.right)
        || !number(3, layout.bottom))
        return numbersFail(QStringLiteral("余白（左 上 右 下）"));
    return Status::success();
}

Status LayoutParser::font()
{
    if (args.size() != 2 || args[0].text.isEmpty() || !number(1, layout.points, false, true))
        return fail(QStringLiteral("font \"書体名\" ポイント数 の形で書いてください（ポイント数は 1～200）。"));
    layout.family = args[0].text;
    return Status::success();
}

Status LayoutParser::text()
{
    ReportLayout::Text item;
    item.line = lineNumber;
    if (args.size() < 6 || !number(0, item.x) || !number(1, item.y) || !number(2, item.width, false)
        || !alignmentOf(args[3].text, item.align) || !number(4, item.points, false, true) || !args.last().quoted)
        return fail(QStringLiteral("text x y 幅 left|center|right ポイント数 [bold] \"文字\" の形で書いてください（長さは 1000 mm まで、ポイント数は 1～200）。"));
    for (int i = 5; i < args.size() - 1; ++i) {
        const QString flag = word(i);
        if (args[i].quoted)
            return fail(QStringLiteral("文字は一つだけ書けます。"));
        if (flag == QLatin1String("bold"))
            item.bold = true;
        else if (flag == QLatin1String("mincho"))
            item.family = ReportLayout::minchoFamily();
        else if (flag == QLatin1String("gothic"))
            item.family = ReportLayout::defaultFamily();
        else
            return fail(QStringLiteral("「%1」は text に付けられません（bold、mincho、gothic が使えます）。").arg(args[i].text));
    }
    item.templ = args.last().text;
    layout.texts.append(item);
    return Status::success();
}

Status LayoutParser::box()
{
    ReportLayout::Rect item;
    if (args.size() != 4 || !number(0, item.x) || !number(1, item.y) || !number(2, item.width) || !number(3, item.height))
        return numbersFail(QStringLiteral("位置と大きさ（x y 幅 高さ）"));
    layout.boxes.append(item);
    return Status::success();
}

Status LayoutParser::line()
{
    ReportLayout::Line item;
    if (args.size() != 4 || !number(0, item.x1) || !number(1, item.y1) || !number(2, item.x2) || !number(3, item.y2))
        return numbersFail(QStringLiteral("位置（x1 y1 x2 y2）"));
    layout.lines.append(item);
    return Status::success();
}

Status LayoutParser::table()
{
    if (args.isEmpty() || args.size() > 2 || !number(0, layout.tableY) || (args.size() == 2 && !number(1, layout.tableX)))
        return numbersFail(QStringLiteral("位置（y [x]）"));
    layout.hasTable = true;
    layout.tableLine = lineNumber;
    return Status::success();
}

Status LayoutParser::row()
{
    if (args.size() != 1 || !number(0, layout.rowHeight, false) || layout.rowHeight < LowestRow)
        return fail(QStringLiteral("行の高さは 1 mm から 1000 mm までの数で書いてください。"));
    return Status::success();
}

Status LayoutParser::column()
{
    ReportLayout::Column item;
    item.line = lineNumber;
    if (args.size() < 3 || args.size() > 4 || args[0].quoted || !number(1, item.width, false)
        || !alignmentOf(args[2].text, item.align) || (args.size() == 4 && !quotedAt(3)))
        return fail(QStringLiteral("column 項目名 幅 left|center|right \"見出し\" の形で書いてください。"));
    item.field = args[0].text;
    item.heading = args.size() == 4 ? args[3].text : QString();
    layout.columns.append(item);
    return Status::success();
}

Status LayoutParser::headings()
{
    static const QHash<QString, ReportLayout::Headings> choices{{QStringLiteral("on"), ReportLayout::Headings::On},
                                                                {QStringLiteral("off"), ReportLayout::Headings::Off},
                                                                {QStringLiteral("first-row"), ReportLayout::Headings::FirstRow}};
    if (args.size() != 1 || !choices.contains(word(0)))
        return fail(QStringLiteral("headings は on、off、first-row のどれかです。"));
    layout.headings = choices.value(word(0));
    return Status::success();
}

Status LayoutParser::footer()
{
    if (args.size() != 2 || !alignmentOf(args[0].text, layout.footerAlign) || !quotedAt(1))
        return fail(QStringLiteral("footer left|center|right \"文字\" の形で書いてください。"));
    layout.hasFooter = true;
    layout.footerLine = lineNumber;
    layout.footer = args[1].text;
    return Status::success();
}

Status LayoutParser::grid()
{
    if (args.size() != 1 || (word(0) != QLatin1String("on") && word(0) != QLatin1String("off")))
        return fail(QStringLiteral("grid は on か off です。"));
    layout.grid = word(0) == QLatin1String("on");
    return Status::success();
}

Status LayoutParser::padding()
{
    if (args.size() != 1 || !number(0, layout.padding))
        return numbersFail(QStringLiteral("余白"));
    return Status::success();
}

Status LayoutParser::chart()
{
    ReportLayout::Chart item;
    item.line = lineNumber;
    const bool captioned = !args.isEmpty() && args.last().quoted;
    const qsizetype count = args.size() - (captioned ? 1 : 0);
    if (count < 4 || count > 5 || !number(0, item.x) || !number(1, item.y) || !number(2, item.width, false)
        || !number(3, item.height, false) || (count == 5 && !number(4, item.points, false, true)))
        return fail(QStringLiteral("chart x y 幅 高さ [ポイント数] [\"見出し\"] の形で書いてください（長さは 1000 mm まで、ポイント数は 1～200）。"));
    if (captioned)
        item.caption = args.last().text;
    layout.hasChart = true;
    layout.chart = item;
    return Status::success();
}

// The whole must fit on the paper.
Status LayoutParser::checkFits() const
{
    auto failAt = [this](int line, const QString& why) { return Status::failure(layout.lineMessage(line, why)); };
    if (layout.contentWidth() <= 0 || layout.contentHeight() <= 0)
        return Status::failure(QStringLiteral("印刷のレイアウトファイル「%1」の余白が用紙より大きくなっています。").arg(layout.name));
    if (layout.hasChart && (layout.chart.x + layout.chart.width > layout.contentWidth() + 0.01
                            || layout.chart.y + layout.chart.height > layout.contentHeight() + 0.01))
        return failAt(layout.chart.line, QStringLiteral("グラフが用紙（余白の内側）からはみ出します。"));
    if (!layout.columns.isEmpty() && !layout.hasTable)
        return failAt(layout.columns.first().line, QStringLiteral("表の位置（table）がありません。"));
    if (!layout.hasTable)
        return Status::success();
    if (layout.columns.isEmpty())
        return failAt(layout.tableLine, QStringLiteral("表の列（column）がありません。"));
    double right = layout.tableX;
    for (const ReportLayout::Column& item : layout.columns) {
        right += item.width;
        if (right > layout.contentWidth() + 0.01)
            return failAt(item.line, QStringLiteral("表の列が用紙の幅（余白の内側 %1 mm）を越えます。")
                                         .arg(layout.contentWidth(), 0, 'f', 1));
    }
    const double space = layout.contentHeight() - layout.footerHeight() - layout.tableY;
    const double needed = layout.rowHeight * (layout.headings == ReportLayout::Headings::Off ? 1 : 2);
    if (space + 1e-6 < needed)
        return failAt(layout.tableLine, QStringLiteral("表の位置が低すぎて、一行も入りません。"));
    return Status::success();
}

}  // namespace

QString ReportLayout::defaultFamily()
{
    return QStringLiteral("IPAexGothic");
}

QString ReportLayout::minchoFamily()
{
    return QStringLiteral("IPAexMincho");
}

Status ReportLayout::parse(const QString& text, const QString& displayName, ReportLayout& result)
{
    ReportLayout parsed;
    parsed.name = displayName;
    parsed.family = defaultFamily();
    QString source = text;
    if (source.startsWith(QChar(0xFEFF)))
        source.remove(0, 1);
    const QStringList lines = source.split(QLatin1Char('\n'));
    LayoutParser parser(parsed);
    for (int index = 0; index < lines.size(); ++index) {
        QString line = lines[index];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        if (Status read = parser.statement(trimmed, index + 1); !read)
            return read;
    }
    if (Status fits = parser.checkFits(); !fits)
        return fits;
    result = std::move(parsed);
    return Status::success();
}

Status ReportLayout::read(const QString& path, ReportLayout& layout)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.exists())
        return Status::failure(QStringLiteral("印刷のレイアウトファイル「%1」が見つかりません。\n（%2）")
                                   .arg(name, QDir::toNativeSeparators(QFileInfo(path).absolutePath())));
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(QStringLiteral("印刷のレイアウトファイル「%1」を読めません。").arg(name));
    return parse(QString::fromUtf8(file.readAll()), name, layout);
}

QSizeF ReportLayout::paperMm() const
{
    const QSizeF size = QPageSize(paper).size(QPageSize::Millimeter);
    return orientation == QPageLayout::Landscape ? size.transposed() : size;
}

QPageLayout ReportLayout::pageLayout() const
{
    return QPageLayout(QPageSize(paper), orientation, QMarginsF(0, 0, 0, 0));
}

double ReportLayout::tableWidth() const
{
    double width = 0;
    for (const Column& column : columns)
        width += column.width;
    return width;
}

int ReportLayout::rowsPerPage() const
{
    const double space = contentHeight() - footerHeight() - tableY - (headings == Headings::Off ? 0.0 : rowHeight);
    return std::max(1, int(std::floor(space / rowHeight + 1e-6)));
}

bool ReportLayout::fitsPaper() const
{
    constexpr double Slack = 0.01;
    const double width = contentWidth() + Slack;
    const double height = contentHeight() + Slack;
    const auto inside = [&](double x, double y, double w, double h) {
        return x >= -Slack && y >= -Slack && x + w <= width && y + h <= height;
    };
    if (width <= Slack || height <= Slack)
        return false;
    for (const Text& text : texts)
        if (!inside(text.x, text.y, text.width, text.points * PointInMm * LineFactor))
            return false;
    for (const Rect& box : boxes)
        if (!inside(box.x, box.y, box.width, box.height))
            return false;
    for (const Line& line : lines)
        if (!inside(std::min(line.x1, line.x2), std::min(line.y1, line.y2), std::abs(line.x2 - line.x1),
                    std::abs(line.y2 - line.y1)))
            return false;
    if (hasChart && !inside(chart.x, chart.y, chart.width, chart.height))
        return false;
    if (!hasTable)
        return true;
    const double rows = headings == Headings::Off ? 1 : 2;
    return tableX + tableWidth() <= width && tableY + rows * rowHeight + footerHeight() <= height;
}

std::optional<ReportLayout> ReportLayout::turnedTo(QPageLayout::Orientation wanted) const
{
    if (wanted == orientation)
        return *this;
    ReportLayout turned = *this;
    turned.orientation = wanted;
    if (!turned.fitsPaper())
        return std::nullopt;
    return turned;
}

QString ReportLayout::lineMessage(int line, const QString& why) const
{
    return QStringLiteral("印刷のレイアウトファイル「%1」の%2行目が読めません。\n%3").arg(name).arg(line).arg(why);
}
