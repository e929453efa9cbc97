#include "output/ReportRenderer.h"

#include "output/PdfTextRepair.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>
#include <cmath>

namespace {

constexpr double PointInMm = 25.4 / 72.0;
constexpr double LineFactor = 1.5;     // a text line is 1.5 times its point size high
constexpr double SmallestShrink = 0.6;  // a text too wide is drawn down to 60 % of its size
constexpr double ThinLine = 0.15;       // mm
constexpr double ThickLine = 0.35;
const QColor HeadingShade(232, 232, 232);
// What a layout may say: no length beyond a metre, no row lower than 1 mm (the
// rows of a page are counted in whole numbers), type from 1 to 200 points.
constexpr double LongestLength = 1000;
constexpr double LowestRow = 1;
constexpr double SmallestPoints = 1;
constexpr double LargestPoints = 200;

const QString DefaultFamily = QStringLiteral("IPAexGothic");
const QString MinchoFamily = QStringLiteral("IPAexMincho");

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

// The field names a template refers to with {Field} (page and pages excluded).
QStringList referencedFields(const QString& templ)
{
    static const QRegularExpression pattern(QStringLiteral("\\{([^{}\\s]+)\\}"));
    QStringList fields;
    auto it = pattern.globalMatch(templ);
    while (it.hasNext()) {
        const QString name = it.next().captured(1);
        if (name.compare(QLatin1String("page"), Qt::CaseInsensitive) != 0
            && name.compare(QLatin1String("pages"), Qt::CaseInsensitive) != 0)
            fields.append(name);
    }
    return fields;
}

int indexOfField(const QStringList& fields, const QString& name)
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

}  // namespace

struct ReportRenderer::Layout {
    QString name;  // the file name, for messages
    QPageSize::PageSizeId paper = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    double left = 15, top = 15, right = 15, bottom = 15;
    QString family = DefaultFamily;
    double points = 9;
    double padding = 1;
    bool grid = true;

    struct Text {
        int line = 0;
        double x = 0, y = 0, width = 0;
        Qt::Alignment align = Qt::AlignLeft;
        double points = 9;
        bool bold = false;
        QString family;  // empty: the body font
        QString templ;
    };
    struct Rect {
        double x = 0, y = 0, width = 0, height = 0;
    };
    struct Line {
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    };
    struct Column {
        int line = 0;
        QString field;
        double width = 0;
        Qt::Alignment align = Qt::AlignLeft;
        QString heading;
    };
    enum class Headings { On, Off, FirstRow };

    QList<Text> texts;
    QList<Rect> boxes;
    QList<Line> lines;
    bool hasTable = false;
    int tableLine = 0;
    double tableY = 0, tableX = 0;
    double rowHeight = 6;
    QList<Column> columns;
    Headings headings = Headings::On;
    bool hasFooter = false;
    int footerLine = 0;
    Qt::Alignment footerAlign = Qt::AlignHCenter;
    QString footer;

    QSizeF paperMm() const
    {
        const QSizeF size = QPageSize(paper).size(QPageSize::Millimeter);
        return orientation == QPageLayout::Landscape ? size.transposed() : size;
    }
    double contentWidth() const { return paperMm().width() - left - right; }
    double contentHeight() const { return paperMm().height() - top - bottom; }
    double footerHeight() const { return hasFooter ? points * PointInMm * LineFactor + 1.0 : 0.0; }
    double tableWidth() const
    {
        double width = 0;
        for (const Column& column : columns)
            width += column.width;
        return width;
    }
    // Data rows per page below the heading row.
    int rowsPerPage() const
    {
        const double space = contentHeight() - footerHeight() - tableY - (headings == Headings::Off ? 0.0 : rowHeight);
        return std::max(1, int(std::floor(space / rowHeight + 1e-6)));
    }
};

ReportRenderer::ReportRenderer() = default;
ReportRenderer::~ReportRenderer() = default;

Status ReportRenderer::loadLayout(const QString& layoutPath)
{
    const QString name = QFileInfo(layoutPath).fileName();
    QFile file(layoutPath);
    if (!file.exists())
        return Status::failure(QStringLiteral("印刷のレイアウトファイル「%1」が見つかりません。\n（%2）")
                                   .arg(name, QDir::toNativeSeparators(QFileInfo(layoutPath).absolutePath())));
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(QStringLiteral("印刷のレイアウトファイル「%1」を読めません。").arg(name));
    return parseLayout(QString::fromUtf8(file.readAll()), name);
}

Status ReportRenderer::parseLayout(const QString& text, const QString& displayName)
{
    auto parsed = std::make_unique<Layout>();
    parsed->name = displayName;
    QString source = text;
    if (source.startsWith(QChar(0xFEFF)))
        source.remove(0, 1);
    const QStringList lines = source.split(QLatin1Char('\n'));

    for (int index = 0; index < lines.size(); ++index) {
        const int lineNumber = index + 1;
        QString line = lines[index];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;

        auto fail = [&](const QString& why) {
            return Status::failure(QStringLiteral("印刷のレイアウトファイル「%1」の%2行目が読めません。\n%3")
                                       .arg(displayName)
                                       .arg(lineNumber)
                                       .arg(why));
        };
        QList<Token> tokens;
        QString error;
        if (!tokenize(trimmed, tokens, error))
            return fail(error);
        const QString keyword = tokens.first().text.toLower();
        const QList<Token> args = tokens.mid(1);
        // Words other than field names and texts are read without regard to case.
        auto word = [&args](int i) { return i < args.size() && !args[i].quoted ? args[i].text.toLower() : QString(); };

        // Reads argument i as a length in millimetres, or with `points` as a type size.
        auto number = [&](int i, double& value, bool allowZero = true, bool points = false) {
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
        };
        auto numbersFail = [&](const QString& what) {
            return fail(QStringLiteral("「%1」の%2が正しくありません（0 から 1000 mm までの数で書いてください）。").arg(keyword, what));
        };
        auto quotedAt = [&](int i) { return i < args.size() && args[i].quoted; };

        if (keyword == QLatin1String("paper")) {
            static const QHash<QString, QPageSize::PageSizeId> papers{
                {QStringLiteral("A3"), QPageSize::A3},     {QStringLiteral("A4"), QPageSize::A4},
                {QStringLiteral("A5"), QPageSize::A5},     {QStringLiteral("B4"), QPageSize::JisB4},
                {QStringLiteral("B5"), QPageSize::JisB5},  {QStringLiteral("Letter"), QPageSize::Letter}};
            const QString paper = word(0).toUpper().replace(QStringLiteral("LETTER"), QStringLiteral("Letter"));
            if (args.size() != 1 || !papers.contains(paper))
                return fail(QStringLiteral("用紙は A4、B5、A3、B4、A5、Letter のどれかです。"));
            parsed->paper = papers.value(paper);
        } else if (keyword == QLatin1String("orientation")) {
            if (args.size() != 1 || (word(0) != QLatin1String("portrait") && word(0) != QLatin1String("landscape")))
                return fail(QStringLiteral("向きは portrait か landscape です。"));
            parsed->orientation = word(0) == QLatin1String("portrait") ? QPageLayout::Portrait : QPageLayout::Landscape;
        } else if (keyword == QLatin1String("margins")) {
            if (args.size() != 4 || !number(0, parsed->left) || !number(1, parsed->top) || !number(2, parsed->right)
                || !number(3, parsed->bottom))
                return numbersFail(QStringLiteral("余白（左 上 右 下）"));
        } else if (keyword == QLatin1String("font")) {
            if (args.size() != 2 || args[0].text.isEmpty() || !number(1, parsed->points, false, true))
                return fail(QStringLiteral("font \"書体名\" ポイント数 の形で書いてください（ポイント数は 1～200）。"));
            parsed->family = args[0].text;
        } else if (keyword == QLatin1String("text")) {
            Layout::Text item;
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
                    item.family = MinchoFamily;
                else if (flag == QLatin1String("gothic"))
                    item.family = DefaultFamily;
                else
                    return fail(QStringLiteral("「%1」は text に付けられません（bold、mincho、gothic が使えます）。").arg(args[i].text));
            }
            item.templ = args.last().text;
            parsed->texts.append(item);
        } else if (keyword == QLatin1String("box")) {
            Layout::Rect box;
            if (args.size() != 4 || !number(0, box.x) || !number(1, box.y) || !number(2, box.width) || !number(3, box.height))
                return numbersFail(QStringLiteral("位置と大きさ（x y 幅 高さ）"));
            parsed->boxes.append(box);
        } else if (keyword == QLatin1String("line")) {
            Layout::Line item;
            if (args.size() != 4 || !number(0, item.x1) || !number(1, item.y1) || !number(2, item.x2) || !number(3, item.y2))
                return numbersFail(QStringLiteral("位置（x1 y1 x2 y2）"));
            parsed->lines.append(item);
        } else if (keyword == QLatin1String("table")) {
            if (args.isEmpty() || args.size() > 2 || !number(0, parsed->tableY) || (args.size() == 2 && !number(1, parsed->tableX)))
                return numbersFail(QStringLiteral("位置（y [x]）"));
            parsed->hasTable = true;
            parsed->tableLine = lineNumber;
        } else if (keyword == QLatin1String("row")) {
            if (args.size() != 1 || !number(0, parsed->rowHeight, false) || parsed->rowHeight < LowestRow)
                return fail(QStringLiteral("行の高さは 1 mm から 1000 mm までの数で書いてください。"));
        } else if (keyword == QLatin1String("column")) {
            Layout::Column column;
            column.line = lineNumber;
            if (args.size() < 3 || args.size() > 4 || args[0].quoted || !number(1, column.width, false)
                || !alignmentOf(args[2].text, column.align) || (args.size() == 4 && !quotedAt(3)))
                return fail(QStringLiteral("column 項目名 幅 left|center|right \"見出し\" の形で書いてください。"));
            column.field = args[0].text;
            column.heading = args.size() == 4 ? args[3].text : QString();
            parsed->columns.append(column);
        } else if (keyword == QLatin1String("headings")) {
            if (args.size() != 1)
                return fail(QStringLiteral("headings は on、off、first-row のどれかです。"));
            if (word(0) == QLatin1String("on"))
                parsed->headings = Layout::Headings::On;
            else if (word(0) == QLatin1String("off"))
                parsed->headings = Layout::Headings::Off;
            else if (word(0) == QLatin1String("first-row"))
                parsed->headings = Layout::Headings::FirstRow;
            else
                return fail(QStringLiteral("headings は on、off、first-row のどれかです。"));
        } else if (keyword == QLatin1String("footer")) {
            if (args.size() != 2 || !alignmentOf(args[0].text, parsed->footerAlign) || !quotedAt(1))
                return fail(QStringLiteral("footer left|center|right \"文字\" の形で書いてください。"));
            parsed->hasFooter = true;
            parsed->footerLine = lineNumber;
            parsed->footer = args[1].text;
        } else if (keyword == QLatin1String("grid")) {
            if (args.size() != 1 || (word(0) != QLatin1String("on") && word(0) != QLatin1String("off")))
                return fail(QStringLiteral("grid は on か off です。"));
            parsed->grid = word(0) == QLatin1String("on");
        } else if (keyword == QLatin1String("padding")) {
            if (args.size() != 1 || !number(0, parsed->padding))
                return numbersFail(QStringLiteral("余白"));
        } else {
            return fail(QStringLiteral("「%1」という命令はありません。").arg(keyword));
        }
    }

    // The whole must fit on the paper.
    auto failAt = [&](int lineNumber, const QString& why) {
        return Status::failure(QStringLiteral("印刷のレイアウトファイル「%1」の%2行目が読めません。\n%3")
                                   .arg(displayName)
                                   .arg(lineNumber)
                                   .arg(why));
    };
    if (parsed->contentWidth() <= 0 || parsed->contentHeight() <= 0)
        return Status::failure(QStringLiteral("印刷のレイアウトファイル「%1」の余白が用紙より大きくなっています。").arg(displayName));
    if (!parsed->columns.isEmpty() && !parsed->hasTable)
        return failAt(parsed->columns.first().line, QStringLiteral("表の位置（table）がありません。"));
    if (parsed->hasTable) {
        if (parsed->columns.isEmpty())
            return failAt(parsed->tableLine, QStringLiteral("表の列（column）がありません。"));
        double right = parsed->tableX;
        for (const Layout::Column& column : std::as_const(parsed->columns)) {
            right += column.width;
            if (right > parsed->contentWidth() + 0.01)
                return failAt(column.line, QStringLiteral("表の列が用紙の幅（余白の内側 %1 mm）を越えます。")
                                               .arg(parsed->contentWidth(), 0, 'f', 1));
        }
        const double space = parsed->contentHeight() - parsed->footerHeight() - parsed->tableY;
        const double needed = parsed->rowHeight * (parsed->headings == Layout::Headings::Off ? 1 : 2);
        if (space + 1e-6 < needed)
            return failAt(parsed->tableLine, QStringLiteral("表の位置が低すぎて、一行も入りません。"));
    }
    layout = std::move(parsed);
    return Status::success();
}

void ReportRenderer::setSheet(const ReportSheet& newSheet)
{
    sheet = newSheet;
}

Status ReportRenderer::checkSheet() const
{
    if (!layout)
        return Status::failure(QStringLiteral("印刷のレイアウトが読み込まれていません。"));
    auto fail = [this](int line, const QString& why) {
        return Status::failure(QStringLiteral("印刷のレイアウトファイル「%1」の%2行目が読めません。\n%3")
                                   .arg(layout->name)
                                   .arg(line)
                                   .arg(why));
    };
    auto checkTemplate = [&](int line, const QString& templ) {
        for (const QString& field : referencedFields(templ))
            if (indexOfField(sheet.titleFields, field) < 0)
                return fail(line, QStringLiteral("「%1」は印刷用の表（Titles）にない項目です。").arg(field));
        return Status::success();
    };
    for (const Layout::Text& text : layout->texts)
        if (Status s = checkTemplate(text.line, text.templ); !s)
            return s;
    for (const Layout::Column& column : layout->columns) {
        if (indexOfField(sheet.dataFields, column.field) < 0)
            return fail(column.line, QStringLiteral("「%1」は印刷用の表（Datas）にない項目です。").arg(column.field));
        if (Status s = checkTemplate(column.line, column.heading); !s)
            return s;
    }
    if (layout->hasFooter)
        return checkTemplate(layout->footerLine, layout->footer);
    return Status::success();
}

void ReportRenderer::preparePrinter(QPrinter& printer) const
{
    if (!layout)
        return;
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(layout->paper));
    printer.setPageOrientation(layout->orientation);
}

int ReportRenderer::pageCount() const
{
    if (!layout || !layout->hasTable)
        return 1;
    qsizetype rows = sheet.rows.size();
    if (layout->headings == Layout::Headings::FirstRow && rows > 0)
        --rows;
    const int perPage = layout->rowsPerPage();
    return std::max(1, int((rows + perPage - 1) / perPage));
}

Status ReportRenderer::paint(QPrinter& printer) const
{
    if (!layout)
        return Status::failure(QStringLiteral("印刷のレイアウトが読み込まれていません。"));
    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString file = printer.outputFileName();
        return Status::failure(file.isEmpty() ? QStringLiteral("プリンタに印刷できませんでした。プリンタの設定を確かめてください。")
                                              : QStringLiteral("「%1」に書き込めませんでした。").arg(QDir::toNativeSeparators(file)));
    }
    paintPages(painter, printer, printer.resolution() / 25.4);
    if (!painter.end())
        return Status::failure(QStringLiteral("印刷を終えられませんでした。"));
    // A PDF file reads back as the characters drawn (see PdfTextRepair).
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        PdfTextRepair::repairFile(printer.outputFileName());
    return Status::success();
}

Status ReportRenderer::renderPdf(QByteArray& pdf, const QString& title) const
{
    if (!layout)
        return Status::failure(QStringLiteral("印刷のレイアウトが読み込まれていません。"));
    pdf.clear();
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setCreator(QStringLiteral("かざね"));
        writer.setTitle(title);
        writer.setPageLayout(QPageLayout(QPageSize(layout->paper), layout->orientation, QMarginsF(0, 0, 0, 0)));
        QPainter painter;
        if (!painter.begin(&writer))
            return Status::failure(QStringLiteral("PDFを作れませんでした。"));
        paintPages(painter, writer, writer.resolution() / 25.4);
        if (!painter.end())
            return Status::failure(QStringLiteral("PDFを作れませんでした。"));
    }
    buffer.close();
    PdfTextRepair::repair(pdf);
    return Status::success();
}

void ReportRenderer::paintPages(QPainter& painter, QPagedPaintDevice& device, double dotsPerMm) const
{
    const int pages = pageCount();
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            device.newPage();
        paintPage(painter, page, dotsPerMm);
    }
}

namespace {

// Paints one line of text inside a rectangle (device pixels): smaller when it is
// too wide, down to 60 % of its size, and cut at the rectangle's edges.
void drawFitted(QPainter& painter, const QRectF& box, Qt::Alignment align, QFont font, const QString& text)
{
    if (text.isEmpty() || box.width() <= 0)
        return;
    QString single = text;
    single.replace(QLatin1Char('\n'), QLatin1Char(' '));
    single.remove(QLatin1Char('\r'));
    const double size = font.pointSizeF();
    QFontMetricsF metrics(font, painter.device());
    double width = metrics.horizontalAdvance(single);
    if (width > box.width()) {
        const double factor = std::max(SmallestShrink, box.width() / width * 0.98);
        font.setPointSizeF(size * factor);
        metrics = QFontMetricsF(font, painter.device());
        width = metrics.horizontalAdvance(single);
    }
    painter.setFont(font);
    const bool clip = width > box.width();
    if (clip) {
        painter.save();
        painter.setClipRect(box, Qt::IntersectClip);
        // Too long even when small: keep its start visible.
        align = (align & ~Qt::AlignHorizontal_Mask) | Qt::AlignLeft;
    }
    painter.drawText(box, int(align | Qt::AlignVCenter) | Qt::TextSingleLine, single);
    if (clip)
        painter.restore();
}

}  // namespace

void ReportRenderer::paintPage(QPainter& painter, int page, double dotsPerMm) const
{
    if (!layout)
        return;
    const Layout& l = *layout;
    const int pages = pageCount();
    auto px = [dotsPerMm](double mm) { return mm * dotsPerMm; };
    // A rectangle of the printable area (mm from its top-left) in device pixels.
    auto area = [&](double x, double y, double w, double h) {
        return QRectF(px(l.left + x), px(l.top + y), px(w), px(h));
    };
    auto fill = [&](const QString& templ) {
        static const QRegularExpression pattern(QStringLiteral("\\{([^{}\\s]+)\\}"));
        QString result;
        qsizetype from = 0;
        auto it = pattern.globalMatch(templ);
        while (it.hasNext()) {
            const auto match = it.next();
            result += templ.mid(from, match.capturedStart() - from);
            const QString name = match.captured(1);
            if (name.compare(QLatin1String("page"), Qt::CaseInsensitive) == 0)
                result += QString::number(page);
            else if (name.compare(QLatin1String("pages"), Qt::CaseInsensitive) == 0)
                result += QString::number(pages);
            else if (const int i = indexOfField(sheet.titleFields, name); i >= 0 && i < sheet.titleValues.size())
                result += sheet.titleValues[i];
            from = match.capturedEnd();
        }
        return result + templ.mid(from);
    };
    auto makeFont = [&](const QString& family, double points, bool bold) {
        QFont font(family.isEmpty() ? l.family : family);
        font.setPointSizeF(points);
        font.setBold(bold);
        font.setStyleStrategy(QFont::PreferOutline);
        return font;
    };
    auto pen = [&](double mm) {
        QPen p(Qt::black);
        p.setWidthF(std::max(1.0, px(mm)));
        p.setCapStyle(Qt::SquareCap);
        p.setJoinStyle(Qt::MiterJoin);
        return p;
    };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setPen(Qt::black);

    // Boxes and lines under the texts.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(pen(ThinLine * 2));
    for (const Layout::Rect& box : l.boxes)
        painter.drawRect(area(box.x, box.y, box.width, box.height));
    for (const Layout::Line& line : l.lines)
        painter.drawLine(QPointF(px(l.left + line.x1), px(l.top + line.y1)), QPointF(px(l.left + line.x2), px(l.top + line.y2)));

    painter.setPen(Qt::black);
    for (const Layout::Text& text : l.texts) {
        const double height = text.points * PointInMm * LineFactor;
        drawFitted(painter, area(text.x, text.y, text.width, height), text.align, makeFont(text.family, text.points, text.bold),
                   fill(text.templ));
    }

    if (l.hasTable) {
        const bool firstRowHeads = l.headings == Layout::Headings::FirstRow;
        QList<int> columnIndex;
        for (const Layout::Column& column : l.columns)
            columnIndex.append(indexOfField(sheet.dataFields, column.field));
        const qsizetype firstData = firstRowHeads && !sheet.rows.isEmpty() ? 1 : 0;
        const int perPage = l.rowsPerPage();
        const qsizetype begin = firstData + qsizetype(page - 1) * perPage;
        const qsizetype end = std::min<qsizetype>(sheet.rows.size(), begin + perPage);
        const QFont body = makeFont(QString(), l.points, false);

        double y = l.tableY;
        auto drawRow = [&](const QStringList& cells, bool heading) {
            double x = l.tableX;
            for (int c = 0; c < l.columns.size(); ++c) {
                const Layout::Column& column = l.columns[c];
                const QRectF cell = area(x, y, column.width, l.rowHeight);
                if (heading)
                    painter.fillRect(cell, HeadingShade);
                if (l.grid) {
                    painter.setPen(pen(ThinLine));
                    painter.setBrush(Qt::NoBrush);
                    painter.drawRect(cell);
                }
                painter.setPen(Qt::black);
                const QRectF inner = cell.adjusted(px(l.padding), 0, -px(l.padding), 0);
                const Qt::Alignment align = heading ? Qt::AlignHCenter : column.align;
                drawFitted(painter, inner, align, body, c < cells.size() ? cells[c] : QString());
                x += column.width;
            }
            y += l.rowHeight;
        };

        const double top = y;
        bool headingDrawn = false;
        if (l.headings == Layout::Headings::On) {
            QStringList headings;
            for (const Layout::Column& column : l.columns)
                headings.append(fill(column.heading));
            drawRow(headings, true);
            headingDrawn = true;
        } else if (firstRowHeads && !sheet.rows.isEmpty()) {
            QStringList headings;
            for (int index : std::as_const(columnIndex))
                headings.append(index >= 0 && index < sheet.rows.first().size() ? sheet.rows.first()[index] : QString());
            drawRow(headings, true);
            headingDrawn = true;
        }
        const double headingBottom = y;
        for (qsizetype r = begin; r < end; ++r) {
            const QStringList& row = sheet.rows[r];
            QStringList cells;
            for (int index : std::as_const(columnIndex))
                cells.append(index >= 0 && index < row.size() ? row[index] : QString());
            drawRow(cells, false);
        }
        if (l.grid) {
            painter.setBrush(Qt::NoBrush);
            painter.setPen(pen(ThickLine));
            const QRectF outline = area(l.tableX, top, l.tableWidth(), y - top);
            painter.drawRect(outline);
            if (headingDrawn && y > headingBottom)
                painter.drawLine(QPointF(outline.left(), px(l.top + headingBottom)),
                                 QPointF(outline.right(), px(l.top + headingBottom)));
        }
    }

    if (l.hasFooter) {
        painter.setPen(Qt::black);
        const double height = l.points * PointInMm * LineFactor;
        drawFitted(painter, area(0, l.contentHeight() - height, l.contentWidth(), height), l.footerAlign,
                   makeFont(QString(), l.points, false), fill(l.footer));
    }
    painter.restore();
}
