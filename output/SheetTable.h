#pragma once
// A sheet as a table another program can take in (a school system, a spreadsheet):
// one line that names the sheet and the choices it was made with, one heading row
// in Japanese naming what each column holds, then the rows as printed.
//
// The report store keeps its fixed field names (Souten, Tensu1, data01 ...); none of
// them reaches the table. The headings follow the data: in テスト別 sorted by score
// the first column holds the ranks and is headed 順位, the last the numbers.
//
// The CSV file and the workbook are both written from this table, so they hold the
// same cells.

#include "tally/ReportSheet.h"

#include <QList>
#include <QString>
#include <QStringList>

struct SheetTable {
    QString sheetName;           // the tally's name ("テスト別成績集計"), for a workbook's sheet
    QStringList about;           // the sheet's title, then label and value by turns
    QStringList headings;        // one per column
    QList<QStringList> rows;     // as many cells as headings

    static SheetTable of(const ReportSheet& sheet);
};

namespace SheetCells {
// Whether a cell holds a number a spreadsheet should count with ("12", " 83",
// "-5", "73.3", ".0"); marks, dashes, 欠, 未入力 and grades with ＊ are text.
bool isNumber(const QString& cell);
double number(const QString& cell);
}
