#pragma once
// A sheet as an .xlsx workbook (through libxlsxwriter): the same table as the CSV
// file (SheetTable), the title line first, the heading row bold and frozen under
// it, numbers as numbers, everything else (names, marks, 欠, 未入力, grades with ＊)
// as text, the columns sized to their cells, the worksheet named after the tally.
//
// The library writes a file of its own; it is made in a private temporary folder,
// read back, and written through OutputFile like every output, so a failed save
// leaves no partial workbook and keeps an old one.

#include "model/Status.h"
#include "tally/ReportSheet.h"

#include <QByteArray>

namespace XlsxWriter {
// The workbook's bytes in `bytes`. A failure (the scratch folder full or not
// writable) names `path`, the file the workbook was meant for, and the cause.
Status build(const ReportSheet& sheet, const QString& path, QByteArray& bytes);
Status write(const QString& path, const ReportSheet& sheet);
}
