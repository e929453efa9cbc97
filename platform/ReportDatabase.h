#pragma once
// The report store: an SQLite file with the tables "Titles" (one row) and "Datas"
// (one row per printed line), every field text, fields in the sheet's order, an
// index named "Title" on the first field of "Titles" and one named after the first
// field of "Datas". A leftover store of the same name is replaced.

#include "core/Status.h"
#include "platform/ReportSheet.h"

namespace ReportDatabase {
Status write(const QString& path, const ReportSheet& sheet);
// Reads a store back into a sheet (stem left empty).
Status read(const QString& path, ReportSheet& sheet);
}
