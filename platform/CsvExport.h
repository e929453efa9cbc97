#pragma once
// A sheet as a spreadsheet table: UTF-8 with a byte-order mark, CR LF line ends,
// fields quoted where a spreadsheet needs it (a comma, a double quote, a line break,
// or blanks at either end, which would otherwise be trimmed). The "Titles" field
// names and their row come first, then an empty line, then the "Datas" field names
// and their rows.

#include "core/Status.h"
#include "platform/ReportSheet.h"

#include <QByteArray>

namespace CsvExport {
QByteArray build(const ReportSheet& sheet);
// Writes atomically; a failed write leaves no partial file.
Status write(const QString& path, const ReportSheet& sheet);
// Splits CSV text (as build writes it) back into rows of fields.
QList<QStringList> parse(const QByteArray& bytes);
}
