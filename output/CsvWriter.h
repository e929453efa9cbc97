#pragma once
// A sheet as a spreadsheet table: UTF-8 with a byte-order mark, CR LF line ends,
// fields quoted where a spreadsheet needs it (a comma, a double quote, a line break,
// or blanks at either end, which would otherwise be trimmed). A cell that a
// spreadsheet would run as a formula ("=1+1", "+81-3", "@SUM(A1)") gets a leading
// "'" so that it stays text; plain numbers such as "-5" or "-12.5" stay numbers.
// The lines are those of SheetTable: the sheet's title with the choices it was made
// with (label and value by turns), the Japanese heading row, then one line a row.

#include "model/Status.h"
#include "tally/ReportSheet.h"

#include <QByteArray>

namespace CsvWriter {
QByteArray build(const ReportSheet& sheet);
// Writes through OutputFile: a failed write leaves no partial file and keeps an old one.
Status write(const QString& path, const ReportSheet& sheet);
// Splits CSV text (as build writes it) back into rows of fields, as written
// (a leading "'" stays).
QList<QStringList> parse(const QByteArray& bytes);
}
