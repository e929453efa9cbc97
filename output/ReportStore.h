#pragma once
// The report store: an SQLite file with the tables "Titles" (one row) and "Datas"
// (one row per printed line), every field text, fields in the sheet's order, an
// index named "Title" on the first field of "Titles" and one named after the first
// field of "Datas". The store is written whole beside its name and then moved
// there (see OutputFile), so a leftover store of the same name is replaced and a
// failed write leaves none; failures are told in Japanese.

#include "model/Status.h"
#include "tally/ReportSheet.h"

namespace ReportStore {
Status write(const QString& path, const ReportSheet& sheet);
// Writes the store into `file`, an empty or missing file; `displayPath` names it in messages.
Status fill(const QString& file, const ReportSheet& sheet, const QString& displayPath);
// Reads a store back into a sheet (stem left empty).
Status read(const QString& path, ReportSheet& sheet);
}
