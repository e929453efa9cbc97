#pragma once
// A CUPS daemon of the test's own, so that printing is tested on a real print
// system: its configuration, spool, state and log live in a temporary folder, it
// listens on a socket there only, and CUPS_SERVER points this process (and every
// lpadmin, cupsreject... it runs) at it. Tests that run at the same time never
// see each other's printers or jobs, and nothing of the computer's own printing
// is touched.
//
// Its printers are PDF printers (cups-pdf, the package printer-driver-cups-pdf):
// each writes the pages it prints into a folder of its own. cups-pdf runs only as
// root, as in CI; where cupsd or cups-pdf cannot run, start() says why and the
// test skips (PRIVATE_CUPS_START), unless KAZANE_REQUIRE_PRINT_SYSTEM=1 says this
// machine must run them (CI sets it): then the test fails with the reason.

#include <QProcess>
#include <QTest>
#include <QSizeF>
#include <QStringList>
#include <QTemporaryDir>

class PrivateCups {
public:
    PrivateCups();
    ~PrivateCups();
    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    // Starts the daemon; empty when it runs, else why it cannot run here.
    QString start();
    // Whether the machine must run the printing tests (KAZANE_REQUIRE_PRINT_SYSTEM=1).
    static bool required();
    // A PDF printer (cups-pdf), enabled and accepting jobs, optionally the default;
    // it takes only `papers` (names of its model: "A4", "JISB5") when they are given.
    bool addPdfPrinter(const QString& name, bool makeDefault = false, const QStringList& papers = {});
    // Runs an administration command (lpadmin, cupsreject, cupsdisable, cupsenable,
    // cupsaccept, cancel) against the daemon.
    bool admin(const QString& program, const QStringList& arguments);

    // The documents handed to the daemon, one file per job ("d00001-001"), in order.
    QStringList spooledDocuments() const;
    // A job as the daemon lists it; job() also reads the copies and paper it asked for.
    struct Job {
        int id = 0;
        QString printer;
        QString title;
        int state = 0;  // IPP's job-state: 3 pending, 4 held, 5 processing, 7 canceled, 9 completed
        int copies = 0;  // as the job asked for them (1 when it did not say)
        QString media;   // the paper the job asked for, empty when it did not say
    };
    static QList<Job> jobs();
    static Job job(int id);
    // The PDF files a printer wrote, waiting up to `milliseconds` for `count` of them.
    QStringList printedFiles(const QString& printer, int count, int milliseconds = 60000) const;
    // The number of pages of a PDF file (pdfinfo); 0 when it cannot be read.
    static int pageCount(const QString& pdf);
    // The size of a PDF's first page in points, as pdfinfo gives it.
    static QSizeF pageSize(const QString& pdf);

private:
    QString path(const QString& name) const;
    void writeConfiguration() const;

    QTemporaryDir root;
    QProcess daemon;
};

// In initTestCase: starts `cups`, or skips every test of the program saying why
// (fails instead where the print system is required).
#define PRIVATE_CUPS_START(cups)                                                     \
    do {                                                                             \
        const QString why = (cups).start();                                          \
        if (!why.isEmpty() && PrivateCups::required())                               \
            QFAIL(qPrintable(QStringLiteral("the print system does not run: ") + why)); \
        if (!why.isEmpty())                                                          \
            QSKIP(qPrintable(QStringLiteral("no print system for the test: ") + why)); \
    } while (false)
