#pragma once
// A sheet rendered straight to a PDF file with its layout, as 印刷 would print it.
// The file appears whole or not at all.

#include "core/Status.h"
#include "platform/ReportSheet.h"

namespace SheetPdf {
Status write(const ReportSheet& sheet, const QString& layoutPath, const QString& pdfPath);
}
