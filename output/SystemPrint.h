#pragma once
// 印刷 on the system's printer. The sheets are rendered into a PDF document in
// memory (PdfWriter, whose text repair keeps every kanji the sheet shows in its
// text layer), on the paper and in the orientation of プリンタの設定, and that very
// document is handed to the printer chosen there as one job named after the sheet
// (PrintJobTitle). A print of many pages, or of every pupil's sheet, is first
// confirmed (PrintConfirmDialog). Then the print system is asked, for a few
// seconds under the hourglass, what became of the job: a job it refused, aborted
// or holds (the printer is paused) is told to the teacher with the printer's name
// and the reason, and the same document can be saved as a PDF file instead.
// Nothing is said to be printed that the print system did not take; where the
// print went is said in the status line.

#include "model/Status.h"
#include "output/PrintChoice.h"
#include "platform/PrintSystem.h"
#include "tally/ReportSheet.h"

#include <QByteArray>
#include <functional>

class QWidget;
class ReportRenderer;
class Ui;

class SystemPrint {
public:
    struct Hooks {
        std::function<void(const QString&)> statusLine;
        // Saves the document as a PDF file the teacher names (the way out).
        std::function<Status(QWidget*, const QByteArray&, const QString&)> savePdf;
    };
    // A print of more pages than this is confirmed first.
    static constexpr int ConfirmAbovePages = 4;
    // How long the job's state is watched after it was handed over.
    static constexpr int WatchMilliseconds = 3000;

    SystemPrint(Ui& ui, PrintSystem& system, const PrintChoice& choice, Hooks hooks);

    // Prints the sheets the renderer holds (`sheets`, the same list, for the choice of
    // pupils) on one of `queues`.
    Status print(QWidget* owner, ReportRenderer& engine, const QList<ReportSheet>& sheets, const QString& fallbackTitle,
                 const QList<PrintQueue>& queues);

private:
    struct Job {
        QString queue;
        QString title;
        int copies = 1;
        int pages = 0;
        QString notes;  // fallback printer, orientation kept
        QString media;  // the paper the document is on, as the print system names it
        QByteArray pdf;
    };
    QString applyOrientation(ReportRenderer& engine) const;
    // Asks before a long print; false when the teacher gives it up.
    bool confirm(QWidget* owner, ReportRenderer& engine, const QList<ReportSheet>& sheets, Job& job);
    Status render(const ReportRenderer& engine, Job& job) const;
    // Watches the job for a few seconds; empty when the system took it, else why it
    // does not print (`waiting`: it stays in the queue until the printer goes on).
    QString watch(const Job& job, int jobNumber, bool& waiting, bool& completed);
    void reportSent(const Job& job, bool completed);
    // Tells why nothing was printed and offers the document as a PDF file.
    Status offerPdf(QWidget* owner, const Job& job, const QString& why, int waitingJob);

    Ui& ui;
    PrintSystem& system;
    PrintChoice choice;
    Hooks hooks;
};
