#include "output/ReportRenderer.h"

#include "output/ScoreChart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <cmath>

namespace {

constexpr double PointInMm = ReportLayout::PointInMm;
constexpr double LineFactor = ReportLayout::LineFactor;
constexpr double SmallestShrink = 0.6;  // a text too wide is drawn down to 60 % of its size
constexpr double ThinLine = 0.15;       // mm
constexpr double ThickLine = 0.35;
const QColor HeadingShade(232, 232, 232);
const ReportSheet NoSheet;

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

using Layout = ReportLayout;

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
    if (Status read = ReportLayout::parse(text, displayName, *parsed); !read)
        return read;
    layout = std::move(parsed);
    return Status::success();
}

void ReportRenderer::setSheet(const ReportSheet& newSheet)
{
    sheets = {newSheet};
}

void ReportRenderer::setSheets(const QList<ReportSheet>& newSheets)
{
    sheets = newSheets;
}

Status ReportRenderer::checkSheet() const
{
    if (!layout)
        return Status::failure(QStringLiteral("印刷のレイアウトが読み込まれていません。"));
    // The sheets of one document share their fields.
    const ReportSheet& sheet = sheets.isEmpty() ? NoSheet : sheets.first();
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
    int pages = 0;
    for (const ReportSheet& sheet : sheets)
        pages += pagesOf(sheet);
    return std::max(1, pages);
}

int ReportRenderer::pagesOf(const ReportSheet& sheet) const
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
    return Status::success();
}

QPageLayout ReportRenderer::pageLayout() const
{
    return layout ? layout->pageLayout() : QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
}

void ReportRenderer::paintPages(QPainter& painter, QPagedPaintDevice& device, double dotsPerMm) const
{
    if (!layout)
        return;
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
    // The sheet the page belongs to, and the page's number within it.
    qsizetype index = 0;
    while (index + 1 < sheets.size() && page > pagesOf(sheets[index]))
        page -= pagesOf(sheets[index++]);
    const ReportSheet& sheet = index < sheets.size() ? sheets[index] : NoSheet;
    const int pages = pagesOf(sheet);
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
            else if (const auto value = sheet.fieldValue(name))
                result += *value;
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

    if (l.hasChart && page == 1 && sheet.scoreChart)
        ScoreChart::paint(painter, area(l.chart.x, l.chart.y, l.chart.width, l.chart.height), *sheet.scoreChart,
                          makeFont(QString(), l.chart.points, false), px(ThinLine));

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
