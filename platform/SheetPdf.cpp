#include "platform/SheetPdf.h"

#include "platform/ReportEngine.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinter>

#include <cstdio>

Status SheetPdf::write(const ReportSheet& sheet, const QString& layoutPath, const QString& pdfPath)
{
    ReportEngine engine;
    if (Status loaded = engine.loadLayout(layoutPath); !loaded)
        return loaded;
    engine.setSheet(sheet);
    if (Status fits = engine.checkSheet(); !fits)
        return fits;
    const QString temporary = pdfPath + QStringLiteral(".part");
    Status painted;
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(temporary);
        printer.setCreator(QStringLiteral("かざね"));
        engine.preparePrinter(printer);
        painted = engine.paint(printer);
    }
    const QFileInfo written(temporary);
    if (!painted.ok || !written.isFile() || written.size() == 0) {
        QFile::remove(temporary);
        return Status::failure(QStringLiteral("PDFファイル「%1」を書き込めませんでした。").arg(pdfPath));
    }
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(pdfPath).constData()) != 0) {
        QFile::remove(temporary);
        return Status::failure(QStringLiteral("PDFファイル「%1」を書き込めませんでした。").arg(pdfPath));
    }
    return Status::success();
}
