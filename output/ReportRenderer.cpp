#include "output/ReportRenderer.h"

#include "output/FittedText.h"
#include "output/ScoreChart.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRegularExpression>
#include <cmath>

namespace {

constexpr double PointInMm = ReportLayout::PointInMm;
constexpr double LineFactor = ReportLayout::LineFactor;
constexpr double ThinLine = 0.15;  // mm
constexpr double ThickLine = 0.35;
const QColor HeadingShade(232, 232, 232);

const QRegularExpression& fieldPattern()
{
    static const QRegularExpression pattern(QStringLiteral("\\{([^{}\\s]+)\\}"));
    return pattern;
}

bool isPageField(const QString& name, const char* which)
{
    return name.compare(QLatin1String(which), Qt::CaseInsensitive) == 0;
}

// The field names a template refers to with {Field} (page and pages excluded).
QStringList referencedFields(const QString& templ)
{
    QStringList fields;
    auto it = fieldPattern().globalMatch(templ);
    while (it.hasNext()) {
        const QString name = it.next().captured(1);
        if (!isPageField(name, "page") && !isPageField(name, "pages"))
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

// A template with its {Field}, {page} and {pages} filled in.
QString filled(const QString& templ, const ReportSheet& sheet, int page, int pages)
{
    if (!templ.contains(QLatin1Char('{')))
        return templ;
    QString result;
    qsizetype from = 0;
    auto it = fieldPattern().globalMatch(templ);
    while (it.hasNext()) {
        const auto match = it.next();
        result += templ.mid(from, match.capturedStart() - from);
        const QString name = match.captured(1);
        if (isPageField(name, "page"))
            result += QString::number(page);
        else if (isPageField(name, "pages"))
            result += QString::number(pages);
        else if (const auto value = sheet.fieldValue(name))
            result += *value;
        from = match.capturedEnd();
    }
    return result + templ.mid(from);
}

QFont reportFont(const QString& family, double points, bool bold)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferOutline);
    return font;
}

}  // namespace

using Layout = ReportLayout;

// The fonts of the layout: the body font and each text's own.
struct ReportRenderer::Fonts {
    QFont body;
    QList<QFont> texts;
    QFont chart;
};

ReportRenderer::ReportRenderer() = default;
ReportRenderer::~ReportRenderer() = default;

Status ReportRenderer::loadLayout(const QString& layoutPath)
{
    auto read = std::make_shared<Layout>();
    if (Status status = ReportLayout::read(layoutPath, *read); !status)
        return status;
    setLayout(std::move(read));
    return Status::success();
}

Status ReportRenderer::parseLayout(const QString& text, const QString& displayName)
{
    auto parsed = std::make_shared<Layout>();
    if (Status read = ReportLayout::parse(text, displayName, *parsed); !read)
        return read;
    setLayout(std::move(parsed));
    return Status::success();
}

void ReportRenderer::setLayout(std::shared_ptr<const ReportLayout> newLayout)
{
    layout = std::move(newLayout);
    fontSet.reset();
}

void ReportRenderer::setSheet(const ReportSheet& sheet)
{
    sheets = {sheet};
}

void ReportRenderer::setSheets(const QList<ReportSheet>& newSheets)
{
    sheets = newSheets.isEmpty() ? QList<ReportSheet>{ReportSheet()} : newSheets;
}

const ReportRenderer::Fonts& ReportRenderer::fonts() const
{
    if (!fontSet) {
        fontSet = std::make_unique<Fonts>();
        fontSet->body = reportFont(layout->family, layout->points, false);
        for (const Layout::Text& text : layout->texts)
            fontSet->texts.append(reportFont(text.family.isEmpty() ? layout->family : text.family, text.points, text.bold));
        fontSet->chart = reportFont(layout->family, layout->chart.points, false);
    }
    return *fontSet;
}

Status ReportRenderer::checkSheet() const
{
    if (!layout)
        return Status::failure(QStringLiteral("印刷のレイアウトが読み込まれていません。"));
    for (const ReportSheet& sheet : sheets)
        if (Status s = checkSheet(sheet); !s)
            return s;
    return Status::success();
}

Status ReportRenderer::checkSheet(const ReportSheet& sheet) const
{
    auto fail = [this](int line, const QString& why) { return Status::failure(layout->lineMessage(line, why)); };
    auto checkTemplate = [&](int line, const QString& templ) {
        for (const QString& field : referencedFields(templ))
            if (!sheet.fieldValue(field))
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

int ReportRenderer::pageCountOf(const ReportSheet& sheet) const
{
    if (!layout || !layout->hasTable)
        return 1;
    qsizetype rows = sheet.rows.size();
    if (layout->headings == Layout::Headings::FirstRow && rows > 0)
        --rows;
    const int perPage = layout->rowsPerPage();
    return std::max(1, int((rows + perPage - 1) / perPage));
}

int ReportRenderer::pageCount() const
{
    int pages = 0;
    for (const ReportSheet& sheet : sheets)
        pages += pageCountOf(sheet);
    return pages;
}

QList<int> ReportRenderer::pagesPerSheet() const
{
    QList<int> pages;
    for (const ReportSheet& sheet : sheets)
        pages.append(pageCountOf(sheet));
    return pages;
}

bool ReportRenderer::turnTo(QPageLayout::Orientation wanted)
{
    if (!layout)
        return false;
    std::optional<ReportLayout> turned = layout->turnedTo(wanted);
    if (!turned)
        return false;
    if (turned->orientation != layout->orientation)
        setLayout(std::make_shared<const ReportLayout>(std::move(*turned)));
    return true;
}

QPageLayout ReportRenderer::pageLayout() const
{
    return layout ? layout->pageLayout() : QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
}

void ReportRenderer::paintPages(QPainter& painter, QPagedPaintDevice& device, double dotsPerMm) const
{
    if (!layout)
        return;
    bool first = true;
    for (const ReportSheet& sheet : sheets) {
        const int pages = pageCountOf(sheet);
        for (int page = 1; page <= pages; ++page) {
            if (!first)
                device.newPage();
            first = false;
            paintSheetPage(painter, sheet, page, pages, dotsPerMm);
        }
    }
}

void ReportRenderer::paintPage(QPainter& painter, int page, double dotsPerMm) const
{
    if (!layout)
        return;
    for (const ReportSheet& sheet : sheets) {
        const int pages = pageCountOf(sheet);
        if (page <= pages) {
            paintSheetPage(painter, sheet, page, pages, dotsPerMm);
            return;
        }
        page -= pages;
    }
}

void ReportRenderer::paintSheetPage(QPainter& painter, const ReportSheet& sheet, int page, int pages, double dotsPerMm) const
{
    const Layout& l = *layout;
    const Fonts& font = fonts();
    auto px = [dotsPerMm](double mm) { return mm * dotsPerMm; };
    // A rectangle of the printable area (mm from its top-left) in device pixels.
    auto area = [&](double x, double y, double w, double h) {
        return QRectF(px(l.left + x), px(l.top + y), px(w), px(h));
    };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    // Boxes and lines under the texts.
    painter.setBrush(Qt::NoBrush);
    QPen boxPen(Qt::black);
    boxPen.setWidthF(std::max(1.0, px(ThinLine * 2)));
    boxPen.setCapStyle(Qt::SquareCap);
    boxPen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(boxPen);
    for (const Layout::Rect& box : l.boxes)
        painter.drawRect(area(box.x, box.y, box.width, box.height));
    for (const Layout::Line& line : l.lines)
        painter.drawLine(QPointF(px(l.left + line.x1), px(l.top + line.y1)), QPointF(px(l.left + line.x2), px(l.top + line.y2)));

    painter.setPen(Qt::black);
    for (int i = 0; i < l.texts.size(); ++i) {
        const Layout::Text& text = l.texts[i];
        const double height = text.points * PointInMm * LineFactor;
        FittedText::draw(painter, area(text.x, text.y, text.width, height), text.align, font.texts[i],
                         filled(text.templ, sheet, page, pages));
    }

    if (l.hasChart && page == 1 && sheet.scoreChart)
        ScoreChart::paint(painter, area(l.chart.x, l.chart.y, l.chart.width, l.chart.height), *sheet.scoreChart,
                          font.chart, px(ThinLine), l.chart.caption);

    if (l.hasTable)
        paintTable(painter, sheet, page, pages, dotsPerMm);

    if (l.hasFooter) {
        painter.setPen(Qt::black);
        const double height = l.points * PointInMm * LineFactor;
        FittedText::draw(painter, area(0, l.contentHeight() - height, l.contentWidth(), height), l.footerAlign, font.body,
                         filled(l.footer, sheet, page, pages));
    }
    painter.restore();
}

// The table of one page: the shaded heading row, every cell line in one pass with
// one pen, the cell texts, then the thick outline and the line under the headings.
void ReportRenderer::paintTable(QPainter& painter, const ReportSheet& sheet, int page, int pages, double dotsPerMm) const
{
    const Layout& l = *layout;
    auto px = [dotsPerMm](double mm) { return mm * dotsPerMm; };
    auto pen = [&](double mm) {
        QPen p(Qt::black);
        p.setWidthF(std::max(1.0, px(mm)));
        p.setCapStyle(Qt::SquareCap);
        p.setJoinStyle(Qt::MiterJoin);
        return p;
    };

    // The rows of this page, the heading row first when there is one.
    const bool firstRowHeads = l.headings == Layout::Headings::FirstRow;
    QList<int> columnIndex;
    for (const Layout::Column& column : l.columns)
        columnIndex.append(indexOfField(sheet.dataFields, column.field));
    auto cellsOf = [&](const QStringList& row) {
        QStringList cells;
        for (int index : std::as_const(columnIndex))
            cells.append(index >= 0 && index < row.size() ? row[index] : QString());
        return cells;
    };
    QList<QStringList> rows;
    bool headingRow = false;
    if (l.headings == Layout::Headings::On) {
        QStringList headings;
        for (const Layout::Column& column : l.columns)
            headings.append(filled(column.heading, sheet, page, pages));
        rows.append(headings);
        headingRow = true;
    } else if (firstRowHeads && !sheet.rows.isEmpty()) {
        rows.append(cellsOf(sheet.rows.first()));
        headingRow = true;
    }
    const qsizetype firstData = firstRowHeads && !sheet.rows.isEmpty() ? 1 : 0;
    const int perPage = l.rowsPerPage();
    const qsizetype begin = firstData + qsizetype(page - 1) * perPage;
    const qsizetype end = std::min<qsizetype>(sheet.rows.size(), begin + perPage);
    for (qsizetype r = begin; r < end; ++r)
        rows.append(cellsOf(sheet.rows[r]));

    // Where the lines go: the left edge of every column and the table's right edge,
    // the top of every row and the bottom of the last.
    QList<double> xs;
    double x = l.tableX;
    for (const Layout::Column& column : l.columns) {
        xs.append(px(l.left + x));
        x += column.width;
    }
    xs.append(xs.last() + px(l.columns.last().width));
    QList<double> ys;
    for (int r = 0; r <= rows.size(); ++r)
        ys.append(px(l.top + l.tableY + r * l.rowHeight));
    const double rowPx = px(l.rowHeight);
    const double bottom = ys.first() + rows.size() * rowPx;

    if (headingRow)
        painter.fillRect(QRectF(xs.first(), ys.first(), xs.last() - xs.first(), rowPx), HeadingShade);
    if (l.grid && !rows.isEmpty()) {
        QList<QLineF> lines;
        for (double lineY : std::as_const(ys))
            lines.append(QLineF(xs.first(), lineY, xs.last(), lineY));
        for (double lineX : std::as_const(xs))
            lines.append(QLineF(lineX, ys.first(), lineX, bottom));
        painter.setBrush(Qt::NoBrush);
        painter.setPen(pen(ThinLine));
        painter.drawLines(lines);
    }

    painter.setPen(Qt::black);
    const QFont& body = fonts().body;
    for (int r = 0; r < rows.size(); ++r) {
        const bool heading = headingRow && r == 0;
        for (int c = 0; c < l.columns.size(); ++c) {
            const QString& text = c < rows[r].size() ? rows[r][c] : QString();
            if (text.isEmpty())
                continue;
            const QRectF inner(xs[c] + px(l.padding), ys.first() + r * rowPx, px(l.columns[c].width) - 2 * px(l.padding), rowPx);
            FittedText::draw(painter, inner, heading ? Qt::AlignHCenter : l.columns[c].align, body, text);
        }
    }

    if (l.grid) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(pen(ThickLine));
        const QRectF outline(xs.first(), ys.first(), xs.last() - xs.first(), bottom - ys.first());
        painter.drawRect(outline);
        if (headingRow && rows.size() > 1)
            painter.drawLine(QPointF(outline.left(), ys[1]), QPointF(outline.right(), ys[1]));
    }
}
