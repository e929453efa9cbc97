#pragma once
// The report steps shared by every sheet: the store is made in the program's folder
// (a leftover of an interrupted run is replaced) and deleted again, the layout of
// the same stem is read from beside the executable, and the renderer paints the
// sheet as it is in memory on the printer or in the preview.
//
// Printing goes to the system's printer chosen with プリンタの設定 (SystemPrint);
// when the computer has no printer, it offers to save the sheet as a PDF file
// instead. A printer set to print into a PDF file (tests, the preview's own
// printer) gets it from PdfWriter.
// Every file it saves (PDF, CSV, the store) appears whole or not at all (see
// OutputFile). A failure comes back as a Status whose message the window shows
// (ctx.check); a cancelled PDF offer is no failure.

#include "model/Status.h"
#include "output/PrintChoice.h"
#include "platform/PrintSystem.h"
#include "tally/ReportSheet.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QPrinter;
class QSettings;
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
    // printed or previewed (a CSV file holds one sheet only, so Csv is refused).
    // The store is written for each sheet in turn, as for one.
    Status runAll(QWidget* owner, const QList<ReportSheet>& sheets, ReportDestination destination,
                  const QString& previewTitle);
    // The same document saved straight into a PDF file the teacher names.
    Status saveAllAsPdf(QWidget* owner, const QList<ReportSheet>& sheets, const QString& previewTitle);
    // A printer shared by every sheet; set to print into a PDF file, 印刷 writes
    // that file instead of going to the print system.
    QPrinter& printer();
    // プリンタの設定: the dialog on the system's printers; the choice is stored in
    // the settings and used by every print until changed.
    Status printerSetup(QWidget* owner);
    // The settings store that keeps the choice of プリンタの設定 (none: the defaults).
    void setSettings(QSettings* store) { settings = store; }
    // Whether the choice may be written there: not while the data folder is open
    // read-only (another copy owns the settings); the choice then holds until the
    // program ends.
    void setChoiceStored(bool stored) { choiceStored = stored; }
    // Where a print went, for the status line.
    void setStatusLine(std::function<void(const QString&)> show) { statusLine = std::move(show); }
    PrintSystem& printSystem() { return *system; }
    void setPrintSystem(std::unique_ptr<PrintSystem> replacement) { system = std::move(replacement); }

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
    // Whether a printer is installed; by default the print system's queues are asked.
    // Tests replace it (false: no printer, and the print system is not asked).
    void setPrinterCheck(std::function<bool()> check) { printerCheck = std::move(check); }

private:
    // Writes the store and deletes it; the engine takes the layout and the sheet.
    Status prepare(const QList<ReportSheet>& sheets, ReportRenderer& engine);
    Status saveCsv(QWidget* owner, const ReportSheet& sheet, const QString& title);
    QString askFileName(QWidget* owner, const QString& title, const QString& name, const QString& extension,
                        const QString& filter);
    static QString fileNameFor(const QString& title);
    Status preview(QWidget* owner, ReportRenderer& engine, const QList<ReportSheet>& sheets, const QString& previewTitle);
    Status printSheet(QWidget* owner, ReportRenderer& engine, const QList<ReportSheet>& sheets, const QString& previewTitle);
    // Offers a PDF file when there is no printer.
    Status savePdf(QWidget* owner, const ReportRenderer& engine, const QString& previewTitle);
    // Asks for the file name and writes the PDF.
    Status writePdf(QWidget* owner, const ReportRenderer& engine, const QString& previewTitle);
    Status writePdfBytes(QWidget* owner, const QByteArray& pdf, const QString& title);
    QString askPdfName(QWidget* owner, const QString& title);
    Status savePdfAs(QWidget* owner, const QString& file, const QByteArray& pdf);
    // The names of the sheets that print in their own orientation only, by it.
    void sheetsThatKeep(QStringList& portrait, QStringList& landscape) const;
    static bool printsToFile(const QPrinter& target);
    PrintChoice currentChoice() const;
    Status toPrinter(const ReportRenderer& engine, QPrinter& target, const QString& title);

    Ui& ui;
    QString stores;
    QString layouts;
    std::unique_ptr<QPrinter> sharedPrinter;
    std::unique_ptr<PrintSystem> system;
    QSettings* settings = nullptr;
    bool choiceStored = true;
    std::optional<PrintChoice> unstoredChoice;  // made while the choice may not be stored
    std::function<void(const QString&)> statusLine;
    std::function<void(const QString&)> storeObserver;
    std::function<bool()> printerCheck;
};
