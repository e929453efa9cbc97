#include "output/PdfWriter.h"

#include "output/OutputFile.h"
#include "output/PdfTextRepair.h"
#include "output/ReportRenderer.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <optional>

namespace {

// Paints every page of the renderer on the writer's pages, scaled by `scale` and
// moved by `offset` (device pixels) when the paper is not the layout's own.
void paintScaled(const ReportRenderer& renderer, QPainter& painter, QPdfWriter& writer, double scale, QPointF offset)
{
    const double dotsPerMm = writer.resolution() / 25.4;
    const int pages = renderer.pageCount();
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            writer.newPage();
        painter.save();
        painter.translate(offset);
        painter.scale(scale, scale);
        renderer.paintPage(painter, page, dotsPerMm);
        painter.restore();
    }
}

Status renderOn(const ReportRenderer& renderer, const std::optional<QPageSize>& paper, const QString& title,
                QByteArray& pdf)
{
    pdf.clear();
    if (!renderer.hasLayout())
        return Status::failure(QStringLiteral("印刷のレイアウトが読み込まれていません。"));
    const QPageLayout own = renderer.pageLayout();
    const QPageLayout page = paper ? QPageLayout(*paper, own.orientation(), QMarginsF()) : own;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setCreator(QStringLiteral("かざね"));
        writer.setTitle(title);
        writer.setPageLayout(page);
        QPainter painter;
        if (!painter.begin(&writer))
            return Status::failure(QStringLiteral("PDFを作れませんでした。"));
        if (paper) {
            const QSizeF from = own.fullRect(QPageLayout::Millimeter).size();
            const QSizeF to = page.fullRect(QPageLayout::Millimeter).size();
            const double scale = std::min(to.width() / from.width(), to.height() / from.height());
            const double dotsPerMm = writer.resolution() / 25.4;
            const QPointF offset((to.width() - from.width() * scale) / 2 * dotsPerMm,
                                 (to.height() - from.height() * scale) / 2 * dotsPerMm);
            paintScaled(renderer, painter, writer, scale, offset);
        } else {
            renderer.paintPages(painter, writer, writer.resolution() / 25.4);
        }
        if (!painter.end())
            return Status::failure(QStringLiteral("PDFを作れませんでした。"));
    }
    buffer.close();
    PdfTextRepair::repair(pdf);
    return Status::success();
}

}  // namespace

Status PdfWriter::render(const ReportRenderer& renderer, const QString& title, QByteArray& pdf)
{
    return renderOn(renderer, std::nullopt, title, pdf);
}

Status PdfWriter::render(const ReportRenderer& renderer, const QPageSize& paper, const QString& title, QByteArray& pdf)
{
    return renderOn(renderer, paper, title, pdf);
}

Status PdfWriter::render(const ReportSheet& sheet, const QString& layoutPath, const QString& title, QByteArray& pdf)
{
    ReportRenderer renderer;
    if (Status loaded = renderer.loadLayout(layoutPath); !loaded)
        return loaded;
    renderer.setSheet(sheet);
    if (Status fits = renderer.checkSheet(); !fits)
        return fits;
    return render(renderer, title, pdf);
}

Status PdfWriter::render(const QList<ReportSheet>& sheets, std::shared_ptr<const ReportLayout> layout, const QString& title,
                         QByteArray& pdf)
{
    ReportRenderer renderer;
    renderer.setLayout(std::move(layout));
    renderer.setSheets(sheets);
    if (Status fits = renderer.checkSheet(); !fits)
        return fits;
    return render(renderer, title, pdf);
}

Status PdfWriter::write(const ReportRenderer& renderer, const QString& pdfPath, const QString& title)
{
    QByteArray pdf;
    if (Status rendered = render(renderer, title, pdf); !rendered)
        return rendered;
    return OutputFile::write(pdfPath, pdf);
}

Status PdfWriter::write(const ReportSheet& sheet, const QString& layoutPath, const QString& pdfPath)
{
    QByteArray pdf;
    if (Status rendered = render(sheet, layoutPath, QString(), pdf); !rendered)
        return rendered;
    return OutputFile::write(pdfPath, pdf);
}
