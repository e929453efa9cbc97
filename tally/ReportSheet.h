#pragma once
// One printed sheet as the report store holds it: the "Titles" row and the "Datas"
// rows, every value text, fields in their fixed order. A window builds it from what
// it shows; ReportOutput writes it to the store and hands it to the renderer.

#include <QList>
#include <QString>
#include <QStringList>

struct ReportSheet {
    QString stem;             // "testdisp": store "testdisp.mdb", layout "testdisp.rpt"
    QStringList titleFields;  // fields of "Titles"; the index "Title" is on the first
    QStringList dataFields;   // fields of "Datas"; the index is on the first
    QString dataIndexName;    // "Number" or "Data01"
    QStringList titleValues;  // the one "Titles" row
    QList<QStringList> rows;  // the "Datas" rows, in printed order
};

// Where a sheet goes: the printer, the preview window, or a CSV file for a spreadsheet
// (ChildWindow::output).
enum class ReportDestination { Printer, Preview, Csv };

