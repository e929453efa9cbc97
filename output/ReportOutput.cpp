#include "output/ReportOutput.h"

#include "output/CsvWriter.h"
#include "output/OutputFile.h"
#include "output/PdfWriter.h"
#include "output/ReportStore.h"
#include "output/ReportRenderer.h"
#include "platform/Ui.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

ReportOutput::ReportOutput(Ui& ui, const QString& storeFolder, const QString& layoutFolder)
    : ui(ui), stores(storeFolder), layouts(layoutFolder)
{
}

ReportOutput::~ReportOutput() = default;

QPrinter& ReportOutput::printer()
{
    if (!sharedPrinter)
        sharedPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *sharedPrinter;
}

QStringList ReportOutput::storeFileNames()
{
    return {QStringLiteral("testdisp.mdb"), QStringLiteral("kojin.mdb"), QStringLiteral("aryoiki.mdb"),
            QStringLiteral("Mente.mdb"), QStringLiteral("Shuseki.mdb"), QStringLiteral("Hyotei.mdb")};
}

QString ReportOutput::storePath(const QString& stem) const
{
    return QDir(stores).filePath(stem + QStringLiteral(".mdb"));
}

QString ReportOutput::layoutPath(const QString& stem) const
{
    return QDir(layouts).filePath(stem + QStringLiteral(".rpt"));
}

void ReportOutput::removeLeftoverStores() const
{
    for (const QString& name : storeFileNames()) {
        const QString store = QDir(stores).filePath(name);
        QFile::remove(store);
        // A store half-written when the program ended.
        for (const QString& temporary : SafeFile::abandonedTemporaries(store))
            QFile::remove(temporary);
    }
}

Status ReportOutput::prepare(const QList<ReportSheet>& sheets, ReportRenderer& engine)
{
    BusyCursor busy(ui);
    if (sheets.isEmpty())
        return Status::failure(QStringLiteral("印刷する一覧表がありません。"));
    const QString store = storePath(sheets.first().stem);
    for (const ReportSheet& sheet : sheets) {
        if (Status written = ReportStore::write(store, sheet); !written)
            return written;
        if (storeObserver)
            storeObserver(store);
        // The store is the program's outside record of the sheet; the pages are
        // painted from the sheet itself, so the store goes at once.
        QFile::remove(store);
    }
    if (Status loaded = engine.loadLayout(layoutPath(sheets.first().stem)); !loaded)
        return loaded;
    engine.setSheets(sheets);
    return engine.checkSheet();
}

Status ReportOutput::run(QWidget* owner, const ReportSheet& sheet, ReportDestination destination, const QString& previewTitle)
{
    if (destination == ReportDestination::Csv)
        return saveCsv(owner, sheet, previewTitle);
    if (destination == ReportDestination::Xlsx)
        return saveXlsx(owner, sheet, previewTitle);
    return runAll(owner, {sheet}, destination, previewTitle);
}

Status ReportOutput::runAll(QWidget* owner, const QList<ReportSheet>& sheets, ReportDestination destination,
                            const QString& previewTitle)
{
    if (destination == ReportDestination::Csv || destination == ReportDestination::Xlsx)
        return Status::failure(QStringLiteral("CSVファイル・ブックには一人分ずつ保存してください。"));
    ReportRenderer engine;
    if (Status prepared = prepare(sheets, engine); !prepared)
        return prepared;
    if (destination == ReportDestination::Preview)
        return preview(owner, engine, previewTitle);
    return printSheet(owner, engine, previewTitle);
}

Status ReportOutput::saveAllAsPdf(QWidget* owner, const QList<ReportSheet>& sheets, const QString& previewTitle)
{
    ReportRenderer engine;
    if (Status prepared = prepare(sheets, engine); !prepared)
        return prepared;
    return writePdf(owner, engine, previewTitle);
}

// The preview paints on the printer it is given; printed from the preview into a
// PDF file, the file comes whole from PdfWriter. A failure is told once the
// preview has closed.
Status ReportOutput::preview(QWidget* owner, const ReportRenderer& engine, const QString& previewTitle)
{
    Status result = Status::success();
    ui.preview(owner, previewTitle, [&](QPrinter* target) {
        if (Status printed = toPrinter(engine, *target, previewTitle); !printed && result)
            result = printed;
    });
    return result;
}

Status ReportOutput::printSheet(QWidget* owner, const ReportRenderer& engine, const QString& previewTitle)
{
    QPrinter& target = printer();
    const bool hasPrinter = printerCheck ? printerCheck() : !QPrinterInfo::availablePrinters().isEmpty();
    if (!printsToFile(target) && !hasPrinter)
        return savePdf(owner, engine, previewTitle);
    return toPrinter(engine, target, previewTitle);
}

bool ReportOutput::printsToFile(const QPrinter& target)
{
    return target.outputFormat() == QPrinter::PdfFormat && !target.outputFileName().isEmpty();
}

// A printer set to print into a PDF file gets the file from PdfWriter, named by the
// printer's document name or else the title.
Status ReportOutput::toPrinter(const ReportRenderer& engine, QPrinter& target, const QString& title)
{
    BusyCursor busy(ui);
    if (printsToFile(target))
        return PdfWriter::write(engine, target.outputFileName(), target.docName().isEmpty() ? title : target.docName());
    engine.preparePrinter(target);
    return engine.paint(target);
}

// No printer on this computer: offer a PDF file instead of failing silently.
Status ReportOutput::savePdf(QWidget* owner, const ReportRenderer& engine, const QString& previewTitle)
{
    if (ui.message(owner, QStringLiteral("プリンタが見つかりません。\n印刷する代わりにPDFファイルとして保存しますか？"),
                   Ui::Buttons::OkCancel, Ui::Icon::Question)
        != Ui::Answer::Ok)
        return Status::success();
    return writePdf(owner, engine, previewTitle);
}

Status ReportOutput::writePdf(QWidget* owner, const ReportRenderer& engine, const QString& previewTitle)
{
    const QString name = fileNameFor(previewTitle);
    const QString file = askFileName(owner, QStringLiteral("PDFファイルとして保存"), name, QStringLiteral("pdf"),
                                     QStringLiteral("PDFファイル (*.pdf)"));
    if (file.isEmpty())
        return Status::success();
    Status written = Status::success();
    {
        BusyCursor busy(ui);
        written = PdfWriter::write(engine, file, name);
    }
    if (!written)
        return written;
    ui.message(owner, QStringLiteral("PDFファイル「%1」に保存しました。").arg(QDir::toNativeSeparators(file)),
               Ui::Buttons::Ok, Ui::Icon::Information);
    return Status::success();
}

// A file name made of the sheet's title, without characters a file name cannot hold.
QString ReportOutput::fileNameFor(const QString& title)
{
    QString name = title.trimmed().isEmpty() ? QStringLiteral("かざね") : title.trimmed();
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    for (QChar& c : name)
        if (forbidden.contains(c) || c.unicode() < 0x20)
            c = QLatin1Char('_');
    return name;
}

// Asks where to save, suggesting the name in the documents folder; the extension is
// added when the teacher leaves it out.
QString ReportOutput::askFileName(QWidget* owner, const QString& title, const QString& name, const QString& extension,
                                  const QString& filter)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    QString file = ui.saveFileName(owner, title, QDir(folder).filePath(name + QLatin1Char('.') + extension), filter);
    if (!file.isEmpty() && !file.endsWith(QLatin1Char('.') + extension, Qt::CaseInsensitive))
        file += QLatin1Char('.') + extension;
    return file;
}

// The sheet as a table for a spreadsheet, the same as kazane-export --csv writes.
Status ReportOutput::saveCsv(QWidget* owner, const ReportSheet& sheet, const QString& title)
{
    const QString file = askFileName(owner, QStringLiteral("CSVファイルとして保存"), fileNameFor(title), QStringLiteral("csv"),
                                     QStringLiteral("CSVファイル (*.csv)"));
    if (file.isEmpty())
        return Status::success();
    if (Status written = CsvWriter::write(file, sheet); !written)
        return written;
    ui.message(owner, QStringLiteral("CSVファイル「%1」に保存しました。").arg(QDir::toNativeSeparators(file)),
               Ui::Buttons::Ok, Ui::Icon::Information);
    return Status::success();
}
