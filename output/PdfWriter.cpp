#include "output/PdfWriter.h"

#include "output/OutputFile.h"
#include "output/PdfTextRepair.h"
#include "output/ReportRenderer.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

Status PdfWriter::render(const ReportRenderer& renderer, const QString& title, QByteArray& pdf)
{
    pdf.clear();
    if (!renderer.hasLayout())
        return Status::failure(QStringLiteral("印刷のレイアウトが読み込まれていません。"));
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setCreator(QStringLiteral("かざね"));
        writer.setTitle(title);
        writer.setPageLayout(renderer.pageLayout());
        QPainter painter;
        if (!painter.begin(&writer))
            return Status::failure(QStringLiteral("PDFを作れませんでした。"));
        renderer.paintPages(painter, writer, writer.resolution() / 25.4);
        if (!painter.end())
            return Status::failure(QStringLiteral("PDFを作れませんでした。"));
    }
    buffer.close();
    PdfTextRepair::repair(pdf);
    return Status::success();
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
