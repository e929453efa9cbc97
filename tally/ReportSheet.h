#pragma once
// One printed sheet as the report store holds it: the "Titles" row and the "Datas"
// rows, every value text, fields in their fixed order. A window builds it from what
// it shows; ReportOutput writes it to the store and hands it to the renderer.
//
// The store's tables and fields are an outside contract and never change, so what
// only the printed page shows travels beside them: page fields, which a layout
// names like "Titles" fields but which neither the store nor a CSV file holds, and
// the chart of the scores.

#include "tally/ScoreDistribution.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

struct ReportSheet {
    QString stem;             // "testdisp": store "testdisp.mdb", layout "testdisp.rpt"
    QStringList titleFields;  // fields of "Titles"; the index "Title" is on the first
    QStringList dataFields;   // fields of "Datas"; the index is on the first
    QString dataIndexName;    // "Number" or "Data01"
    QStringList titleValues;  // the one "Titles" row
    QList<QStringList> rows;  // the "Datas" rows, in printed order

    QStringList pageFields;   // printed only ("CountedTests")
    QStringList pageValues;
    std::optional<ScoreDistribution> scoreChart;  // drawn where the layout places its chart

    // The value of a "Titles" field or a page field, the name compared without regard
    // to case; nothing when the sheet has no such field.
    std::optional<QString> fieldValue(const QString& field) const;
};

// Where a sheet goes: the printer, the preview window, a CSV file for a spreadsheet or
// a school system, or a workbook (.xlsx) (ChildWindow::output).
enum class ReportDestination { Printer, Preview, Csv, Xlsx };
