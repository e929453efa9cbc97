#pragma once
// The computer's print system behind one seam: the queues it offers, the paper a
// queue takes, a PDF document handed to a queue as one job, and what became of the
// job. The program uses CupsPrintSystem (CUPS, the print system of a Debian
// desktop, or the server CUPS_SERVER names); every call asks the system afresh,
// so a printer added, renamed or deleted while the program runs is seen at the
// next call.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct PrintQueue {
    QString name;         // the queue's name ("Kyoshitsu")
    QString description;  // what the system calls it for people, may be empty
    bool isDefault = false;
};

struct PrintRequest {
    QString queue;
    QString title;   // the job's name in the queue
    int copies = 1;
    QString media;   // the paper as a PWG name ("iso_a4_210x297mm"); empty: the queue's own
    QByteArray pdf;  // the whole document
};

class PrintSystem {
public:
    enum class Refusal { None, NotAccepting, NoSuchQueue, Failed };
    struct Submission {
        int job = 0;                      // the job's number; 0 when nothing was queued
        Refusal refusal = Refusal::None;
        QString detail;                   // the system's own words on a refusal
    };
    enum class JobState { Unknown, Pending, Held, Processing, Stopped, Canceled, Aborted, Completed };
    struct JobStatus {
        JobState state = JobState::Unknown;
        QStringList reasons;              // job-state-reasons ("printer-stopped", "job-hold-until-specified")
        bool printerStopped = false;      // the queue is paused (cupsdisable)
        QString printerMessage;           // what the queue says of itself, may be empty
    };

    virtual ~PrintSystem() = default;
    // Every queue the system offers, the default one marked.
    virtual QList<PrintQueue> queues() = 0;
    // The papers a queue takes, as PWG names; empty when it says nothing of them.
    virtual QStringList papers(const QString& queue) = 0;
    // Hands the document to the queue as one job.
    virtual Submission submit(const PrintRequest& request) = 0;
    // The state of a job and of its queue; of the queue alone for job 0.
    virtual JobStatus status(const QString& queue, int job) = 0;
    // Takes a job that has not printed yet out of the queue.
    virtual bool cancel(const QString& queue, int job) = 0;
};
