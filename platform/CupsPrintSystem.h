#pragma once
// The print system through the CUPS API (libcups): the server of the desktop, or
// the one CUPS_SERVER names. A document goes to the queue as a PDF job
// (Create-Job, Send-Document), so what the queue keeps is exactly the document the
// program made.

#include "platform/PrintSystem.h"

class CupsPrintSystem : public PrintSystem {
public:
    QList<PrintQueue> queues() override;
    QStringList papers(const QString& queue) override;
    Submission submit(const PrintRequest& request) override;
    JobStatus status(const QString& queue, int job) override;
    bool cancel(const QString& queue, int job) override;
};
