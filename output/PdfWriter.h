#pragma once
// A sheet rendered to a PDF with its layout, as 印刷 would print it. The file
// appears whole or not at all (see OutputFile).

#include "model/Status.h"
#include "tally/ReportSheet.h"

#include <QByteArray>

namespace PdfWriter {
// The PDF document in memory; `title` becomes its document title.
Status render(const ReportSheet& sheet, const QString& layoutPath, const QString& title, QByteArray& pdf);
Status write(const ReportSheet& sheet, const QString& layoutPath, const QString& pdfPath);
}
