#include "output/PdfBatch.h"

#include "output/OutputFile.h"
#include "output/PdfWriter.h"

#include <QThread>
#include <QThreadPool>
#include <atomic>
#include <vector>

Status PdfBatch::stage(const QList<PdfJob>& jobs, OutputBatch& batch, int threads)
{
    // The files are listed in the batch here, in order; the workers only fill them.
    std::vector<int> numbers(size_t(jobs.size()));
    for (qsizetype i = 0; i < jobs.size(); ++i)
        if (Status reserved = batch.reserve(jobs[i].path, numbers[size_t(i)]); !reserved)
            return reserved;

    std::vector<Status> results(size_t(jobs.size()), Status::success());
    std::atomic<qsizetype> next = 0;
    std::atomic<bool> failed = false;
    auto work = [&] {
        for (qsizetype i = next++; i < jobs.size() && !failed; i = next++) {
            const PdfJob& job = jobs[i];
            QByteArray pdf;
            // The pack's sheets carry no document title.
            Status status = PdfWriter::render(job.sheets(), job.layout, QString(), pdf);
            if (status)
                status = batch.fill(numbers[size_t(i)], pdf);
            if (!status) {
                results[size_t(i)] = status;
                failed = true;
            }
        }
    };
    const int workers = int(std::min<qsizetype>(threads > 0 ? threads : QThread::idealThreadCount(), jobs.size()));
    if (workers <= 1) {
        work();
    } else {
        QThreadPool pool;
        pool.setMaxThreadCount(workers);
        for (int w = 0; w < workers; ++w)
            pool.start(work);
        pool.waitForDone();
    }
    for (const Status& result : results)
        if (!result)
            return result;
    return Status::success();
}
