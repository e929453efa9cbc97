#pragma once
// The report steps shared by every sheet: the store is made in the program's folder
// (a leftover of an interrupted run is replaced) and deleted again, the layout of
// the same stem is read from beside the executable, and the renderer paints the
// sheet as it is in memory on the printer or in the preview.
//
// When the computer has no printer, printing offers to save the sheet as a PDF
// file instead; a printer set to print into a PDF file gets it from PdfWriter.
// Every file it saves (PDF, CSV, the store) appears whole or not at all (see
// OutputFile). A failure comes back as a Status whose message the window shows
// (ctx.check); a cancelled PDF offer is no failure.

#include "model/Status.h"
#include "tally/ReportSheet.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>

class QPrinter;
class ReportRenderer;
class QWidget;
class Ui;

class ReportOutput {
public:
    ReportOutput(Ui& ui, const QString& storeFolder, const QString& layoutFolder);
    ~ReportOutput();

    // Print or preview a sheet; the preview window carries `previewTitle`, which
    // also names the PDF file offered when there is no printer.
    Status run(QWidget* owner, const ReportSheet& sheet, ReportDestination destination, const QString& previewTitle);
    // Sheets of one kind (every pupil's) as one document, each from a new page:
    // printed or previewed (a CSV file or workbook holds one sheet only, so they are refused).
    // The store is written for each sheet in turn, as for one.
    Status runAll(QWidget* owner, const QList<ReportSheet>& sheets, ReportDestination destination,
                  const QString& previewTitle);
    // The same document saved straight into a PDF file the teacher names.
    Status saveAllAsPdf(QWidget* owner, const QList<ReportSheet>& sheets, const QString& previewTitle);
    // The printer chosen with the print-setup command, shared by every sheet.
    QPrinter& printer();

    const QString& storeFolder() const { return stores; }
    const QString& layoutFolder() const { return layouts; }
    // The store names the program makes ("testdisp.mdb", ...).
    static QStringList storeFileNames();
    // Deletes leftover stores of those names in the store folder, and their
    // temporary files left by a program that ended while writing; nothing else.
    void removeLeftoverStores() const;
    QString storePath(const QString& stem) const;
    QString layoutPath(const QString& stem) const;
    // Called with the path of each store once it is written, before the renderer
    // takes it (tests and the export tool copy it from here).
    void setStoreObserver(std::function<void(const QString&)> observer) { storeObserver = std::move(observer); }
    // Whether a printer is installed; by default asks the system. Tests replace it.
    void setPrinterCheck(std::function<bool()> check) { printerCheck = std::move(check); }

private:
    // Writes the store and deletes it; the engine takes the layout and the sheet.
    Status prepare(const QList<ReportSheet>& sheets, ReportRenderer& engine);
    Status saveCsv(QWidget* owner, const ReportSheet& sheet, const QString& title);
    Status saveXlsx(QWidget* owner, const ReportSheet& sheet, const QString& title);  // ReportWorkbook.cpp
    QString askFileName(QWidget* owner, const QString& title, const QString& name, const QString& extension,
                        const QString& filter);
    static QString fileNameFor(const QString& title);
    Status preview(QWidget* owner, const ReportRenderer& engine, const QString& previewTitle);
    Status printSheet(QWidget* owner, const ReportRenderer& engine, const QString& previewTitle);
    // Offers a PDF file when there is no printer.
    Status savePdf(QWidget* owner, const ReportRenderer& engine, const QString& previewTitle);
    // Asks for the file name and writes the PDF.
    Status writePdf(QWidget* owner, const ReportRenderer& engine, const QString& previewTitle);
    static bool printsToFile(const QPrinter& target);
    Status toPrinter(const ReportRenderer& engine, QPrinter& target, const QString& title);

    Ui& ui;
    QString stores;
    QString layouts;
    std::unique_ptr<QPrinter> sharedPrinter;
    std::function<void(const QString&)> storeObserver;
    std::function<bool()> printerCheck;
};
