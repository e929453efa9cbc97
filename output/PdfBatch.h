#pragma once
// Many PDF documents made at once (the end-of-term pack): each is built, rendered
// in memory and written to its temporary file of an OutputBatch by a worker
// thread, on every core. The files keep the order they were given in the batch,
// and nothing takes its name before the batch is committed.

#include "model/Status.h"
#include "tally/ReportSheet.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>

class OutputBatch;
struct ReportLayout;

struct PdfJob {
    QString path;
    std::shared_ptr<const ReportLayout> layout;  // shared by the jobs that use it; read-only
    // The document's sheets, printed one after another; called in a worker thread,
    // so it reads only data that no one changes meanwhile.
    std::function<QList<ReportSheet>()> sheets;
};

namespace PdfBatch {
// Stages every job's document in `batch`, with `threads` workers (0: one per
// core). Fails with the first failure in the jobs' order; the batch then holds
// files that must not be committed.
Status stage(const QList<PdfJob>& jobs, OutputBatch& batch, int threads = 0);
}
