#include "PackFloor.h"

#include "Bench.h"
#include "tally/Sheets.h"

#include <QDir>
#include <QFont>
#include <QHash>
#include <QLineF>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>

namespace {

QFont fontOf(const QString& family, double points, bool bold)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferOutline);
    return font;
}

QString filled(QString text, const ReportSheet& sheet, int page, int pages)
{
    text.replace(QStringLiteral("{page}"), QString::number(page));
    text.replace(QStringLiteral("{pages}"), QString::number(pages));
    for (int i = 0; i < sheet.titleFields.size() && i < sheet.titleValues.size(); ++i)
        text.replace(QLatin1Char('{') + sheet.titleFields[i] + QLatin1Char('}'), sheet.titleValues[i]);
    return text;
}

int pagesOf(const ReportLayout& l, const ReportSheet& sheet)
{
    if (!l.hasTable)
        return 1;
    qsizetype rows = sheet.rows.size();
    if (l.headings == ReportLayout::Headings::FirstRow && rows > 0)
        --rows;
    return std::max(1, int((rows + l.rowsPerPage() - 1) / l.rowsPerPage()));
}

// One sheet into one file, page by page.
void paintDocument(const QString& path, const ReportLayout& l, const ReportSheet& sheet, const QList<QFont>& fonts)
{
    QPdfWriter writer(path);
    writer.setResolution(1200);
    writer.setPageLayout(l.pageLayout());
    QPainter painter(&writer);
    const double dots = writer.resolution() / 25.4;
    auto at = [&](double x, double y, double w, double h) { return QRectF((l.left + x) * dots, (l.top + y) * dots, w * dots, h * dots); };
    QList<int> columnIndex;
    for (const ReportLayout::Column& column : l.columns)
        columnIndex.append(int(sheet.dataFields.indexOf(column.field)));
    const int pages = pagesOf(l, sheet);
    const int perPage = l.rowsPerPage();
    const qsizetype firstData = l.headings == ReportLayout::Headings::FirstRow && !sheet.rows.isEmpty() ? 1 : 0;
    QPen pen(Qt::black);
    pen.setWidthF(0.15 * dots);
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            writer.newPage();
        painter.setPen(pen);
        for (const ReportLayout::Rect& box : l.boxes)
            painter.drawRect(at(box.x, box.y, box.width, box.height));
        for (int i = 0; i < l.texts.size(); ++i) {
            const ReportLayout::Text& text = l.texts[i];
            painter.setFont(fonts[i + 1]);
            painter.drawText(at(text.x, text.y, text.width, text.points * ReportLayout::PointInMm * ReportLayout::LineFactor),
                             int(text.align | Qt::AlignVCenter), filled(text.templ, sheet, page, pages));
        }
        if (l.hasTable) {
            QList<QStringList> rows;
            if (l.headings == ReportLayout::Headings::On) {
                QStringList headings;
                for (const ReportLayout::Column& column : l.columns)
                    headings.append(filled(column.heading, sheet, page, pages));
                rows.append(headings);
            }
            QList<qsizetype> source;
            if (firstData == 1)
                source.append(0);
            for (qsizetype r = firstData + qsizetype(page - 1) * perPage; r < std::min<qsizetype>(sheet.rows.size(), firstData + qsizetype(page) * perPage); ++r)
                source.append(r);
            for (qsizetype r : source) {
                QStringList cells;
                for (int index : columnIndex)
                    cells.append(index >= 0 && index < sheet.rows[r].size() ? sheet.rows[r][index] : QString());
                rows.append(cells);
            }
            QList<QLineF> lines;
            double width = 0;
            for (const ReportLayout::Column& column : l.columns)
                width += column.width;
            const QRectF table = at(l.tableX, l.tableY, width, rows.size() * l.rowHeight);
            painter.fillRect(at(l.tableX, l.tableY, width, l.rowHeight), QColor(232, 232, 232));
            for (int r = 0; r <= rows.size(); ++r)
                lines.append(QLineF(table.left(), table.top() + r * l.rowHeight * dots, table.right(), table.top() + r * l.rowHeight * dots));
            painter.setFont(fonts[0]);
            double x = l.tableX;
            for (int c = 0; c < l.columns.size(); ++c) {
                lines.append(QLineF((l.left + x) * dots, table.top(), (l.left + x) * dots, table.bottom()));
                for (int r = 0; r < rows.size(); ++r)
                    painter.drawText(at(x + l.padding, l.tableY + r * l.rowHeight, l.columns[c].width - 2 * l.padding, l.rowHeight),
                                     int((r == 0 ? Qt::AlignHCenter : l.columns[c].align) | Qt::AlignVCenter), rows[r].value(c));
                x += l.columns[c].width;
            }
            lines.append(QLineF(table.right(), table.top(), table.right(), table.bottom()));
            painter.drawLines(lines);
            painter.drawRect(table);
        }
        if (l.hasFooter) {
            painter.setFont(fonts[0]);
            const double height = l.points * ReportLayout::PointInMm * ReportLayout::LineFactor;
            painter.drawText(at(0, l.contentHeight() - height, l.contentWidth(), height), int(l.footerAlign | Qt::AlignVCenter),
                             filled(l.footer, sheet, page, pages));
        }
    }
}

}  // namespace

PackFloor::PackFloor(ClassData data, const QString& layoutFolder)
{
    QHash<QString, std::shared_ptr<const ReportLayout>> layouts;
    auto add = [&](const QString& name, const SheetRequest& request) {
        Document document{name, nullptr, {}};
        if (!buildSheet(data, request, document.sheet))
            Bench::fail(QStringLiteral("the floor cannot build %1").arg(name));
        auto& layout = layouts[document.sheet.stem];
        if (!layout) {
            auto read = std::make_shared<ReportLayout>();
            if (!ReportLayout::read(QDir(layoutFolder).filePath(document.sheet.stem + QStringLiteral(".rpt")), *read))
                Bench::fail(QStringLiteral("the floor cannot read the layout %1").arg(document.sheet.stem));
            layout = read;
        }
        document.layout = layout;
        documents.append(document);
    };
    for (int unit = 1; unit <= Limits::Units; ++unit) {
        data.subject = unit;
        SheetRequest overall;
        overall.kind = SheetRequest::Kind::Aryoiki;
        add(data.unitName() + QStringLiteral("_総合集計.pdf"), overall);
        for (int p = 1; p <= data.pupilCount; ++p) {
            SheetRequest pupil;
            pupil.kind = SheetRequest::Kind::Kojin;
            pupil.pupil = p;
            add(QStringLiteral("%1_個人_%2.pdf").arg(data.unitName()).arg(p, 2, 10, QLatin1Char('0')), pupil);
        }
    }
    data.subject = 1;
    for (bool record : {false, true}) {
        SheetRequest attendance;
        attendance.kind = SheetRequest::Kind::Shuseki;
        attendance.term = 3;
        attendance.recordView = record;
        add(record ? QStringLiteral("出欠_年間_指導要録用.pdf") : QStringLiteral("出欠_年間_詳細.pdf"), attendance);
    }
}

int PackFloor::pages() const
{
    int count = 0;
    for (const Document& document : documents)
        count += pagesOf(*document.layout, document.sheet);
    return count;
}

void PackFloor::paint(const QString& folder) const
{
    // The fonts of each layout, built once: the body font, then each text's.
    QHash<const ReportLayout*, QList<QFont>> fonts;
    for (const Document& document : documents) {
        const ReportLayout& l = *document.layout;
        QList<QFont>& set = fonts[&l];
        if (set.isEmpty()) {
            set.append(fontOf(l.family, l.points, false));
            for (const ReportLayout::Text& text : l.texts)
                set.append(fontOf(text.family.isEmpty() ? l.family : text.family, text.points, text.bold));
        }
        paintDocument(QDir(folder).filePath(document.name), l, document.sheet, set);
    }
}
