#include "output/PdfWriter.h"

#include "output/OutputFile.h"
#include "output/ReportRenderer.h"

Status PdfWriter::render(const ReportSheet& sheet, const QString& layoutPath, const QString& title, QByteArray& pdf)
{
    ReportRenderer engine;
    if (Status loaded = engine.loadLayout(layoutPath); !loaded)
        return loaded;
    engine.setSheet(sheet);
    if (Status fits = engine.checkSheet(); !fits)
        return fits;
    return engine.renderPdf(pdf, title);
}

Status PdfWriter::write(const ReportSheet& sheet, const QString& layoutPath, const QString& pdfPath)
{
    QByteArray pdf;
    // The sheets of kazane-export carry no document title, as they always have.
    if (Status rendered = render(sheet, layoutPath, QString(), pdf); !rendered)
        return rendered;
    return OutputFile::write(pdfPath, pdf);
}
