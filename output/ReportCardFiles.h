#pragma once
// The report card's files in a folder, as the report card window and kazane-export
// make them: every pupil's sheet as a PDF file of its own (named with the
// attendance number and the name) or every pupil in one PDF file (each from a new
// page), and for the year's record the class's table as a CSV file besides. The
// files are made in memory on every core and take their names together, or none
// does (OutputBatch).

#include "model/Status.h"
#include "tally/ReportCardSheet.h"

#include <QString>
#include <QStringList>

class OutputBatch;

namespace ReportCardFiles {

struct Request {
    QString folder;
    QString layoutFolder;
    bool oneFile = false;
    int threads = 0;  // 0: one worker per core
};

// The paths the request makes, in order.
QStringList paths(const QList<ReportCard::Card>& cards, int term, const Request& request);
// Stages every file in the batch (the caller commits it). Fails naming the layout
// or the file that could not be made.
Status stage(const QList<ReportCard::Card>& cards, const ReportCardSheet::Heading& heading, const Request& request,
             OutputBatch& batch);

}  // namespace ReportCardFiles
