#include "output/ReportOutput.h"

#include "output/CsvWriter.h"
#include "output/OutputFile.h"
#include "output/PdfWriter.h"
#include "output/ReportStore.h"
#include "output/ReportRenderer.h"
#include "output/PrintSetupDialog.h"
#include "output/SystemPrint.h"
#include "platform/CupsPrintSystem.h"
#include "platform/Ui.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QStandardPaths>

ReportOutput::ReportOutput(Ui& ui, const QString& storeFolder, const QString& layoutFolder)
    : ui(ui), stores(storeFolder), layouts(layoutFolder), system(std::make_unique<CupsPrintSystem>())
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
    return runAll(owner, {sheet}, destination, previewTitle);
}

Status ReportOutput::runAll(QWidget* owner, const QList<ReportSheet>& sheets, ReportDestination destination,
                            const QString& previewTitle)
{
    if (destination == ReportDestination::Csv)
        return Status::failure(QStringLiteral("CSVファイルには一人分ずつ保存してください。"));
    ReportRenderer engine;
    if (Status prepared = prepare(sheets, engine); !prepared)
        return prepared;
    if (destination == ReportDestination::Preview)
        return preview(owner, engine, sheets, previewTitle);
    return printSheet(owner, engine, sheets, previewTitle);
}

Status ReportOutput::saveAllAsPdf(QWidget* owner, const QList<ReportSheet>& sheets, const QString& previewTitle)
{
    ReportRenderer engine;
    if (Status prepared = prepare(sheets, engine); !prepared)
        return prepared;
    return writePdf(owner, engine, previewTitle);
}

// The preview paints on the printer it is given; its print command is 印刷, run
// once it has closed. A failure is told after that.
Status ReportOutput::preview(QWidget* owner, ReportRenderer& engine, const QList<ReportSheet>& sheets,
                             const QString& previewTitle)
{
    Status result = Status::success();
    ui.preview(
        owner, previewTitle,
        [&](QPrinter* target) {
            if (Status printed = toPrinter(engine, *target, previewTitle); !printed && result)
                result = printed;
        },
        [&] {
            if (Status printed = printSheet(owner, engine, sheets, previewTitle); !printed && result)
                result = printed;
        });
    return result;
}

Status ReportOutput::printSheet(QWidget* owner, ReportRenderer& engine, const QList<ReportSheet>& sheets,
                                const QString& previewTitle)
{
    if (sharedPrinter && printsToFile(*sharedPrinter))
        return toPrinter(engine, *sharedPrinter, previewTitle);
    if (printerCheck && !printerCheck())
        return savePdf(owner, engine, previewTitle);
    // Asked afresh at every print: a printer deleted or renamed meanwhile is seen.
    QList<PrintQueue> queues;
    {
        BusyCursor busy(ui);
        queues = system->queues();
    }
    if (queues.isEmpty())
        return savePdf(owner, engine, previewTitle);
    SystemPrint road(ui, *system, currentChoice(),
                     {statusLine, [this](QWidget* parent, const QByteArray& pdf, const QString& title) {
                          return writePdfBytes(parent, pdf, title);
                      }});
    return road.print(owner, engine, sheets, previewTitle, queues);
}

Status ReportOutput::printerSetup(QWidget* owner)
{
    QList<PrintQueue> queues;
    {
        BusyCursor busy(ui);
        queues = system->queues();
    }
    QStringList keepPortrait, keepLandscape;
    sheetsThatKeep(keepPortrait, keepLandscape);
    const PrintChoice current = currentChoice();
    PrintSetupDialog dialog(queues, [this](const QString& queue) { return system->papers(queue); }, current,
                            keepPortrait, keepLandscape, owner);
    if (ui.runModal(dialog) != QDialog::Accepted)
        return Status::success();
    const PrintChoice chosen = dialog.choice();
    if (!choiceStored) {
        unstoredChoice = chosen;
        return Status::success();
    }
    if (!settings || chosen == current)
        return Status::success();
    return chosen.store(*settings);
}

// The choice made while it could not be stored holds over the stored one.
PrintChoice ReportOutput::currentChoice() const
{
    if (unstoredChoice)
        return *unstoredChoice;
    return settings ? PrintChoice::load(*settings) : PrintChoice();
}

void ReportOutput::sheetsThatKeep(QStringList& portrait, QStringList& landscape) const
{
    static const QList<std::pair<QString, QString>> sheets{
        {QStringLiteral("testdisp"), QStringLiteral("テスト別成績集計")},
        {QStringLiteral("aryoiki"), QStringLiteral("総合集計一覧表")},
        {QStringLiteral("kojin"), QStringLiteral("個人別成績集計")},
        {QStringLiteral("Shuseki"), QStringLiteral("出欠集計一覧表")},
        {QStringLiteral("Mente"), QStringLiteral("氏名・テスト一覧表")},
    };
    for (const auto& [stem, name] : sheets) {
        ReportLayout layout;
        if (!ReportLayout::read(layoutPath(stem), layout))
            continue;
        const bool portraitNow = layout.orientation == QPageLayout::Portrait;
        if (!layout.turnedTo(portraitNow ? QPageLayout::Landscape : QPageLayout::Portrait))
            (portraitNow ? portrait : landscape).append(name);
    }
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
    const QString file = askPdfName(owner, previewTitle);
    if (file.isEmpty())
        return Status::success();
    QByteArray pdf;
    {
        BusyCursor busy(ui);
        if (Status rendered = PdfWriter::render(engine, fileNameFor(previewTitle), pdf); !rendered)
            return rendered;
    }
    return savePdfAs(owner, file, pdf);
}

// A document already made (the one a printer did not take) saved as it is.
Status ReportOutput::writePdfBytes(QWidget* owner, const QByteArray& pdf, const QString& title)
{
    const QString file = askPdfName(owner, title);
    return file.isEmpty() ? Status::success() : savePdfAs(owner, file, pdf);
}

QString ReportOutput::askPdfName(QWidget* owner, const QString& title)
{
    return askFileName(owner, QStringLiteral("PDFファイルとして保存"), fileNameFor(title), QStringLiteral("pdf"),
                       QStringLiteral("PDFファイル (*.pdf)"));
}

Status ReportOutput::savePdfAs(QWidget* owner, const QString& file, const QByteArray& pdf)
{
    {
        BusyCursor busy(ui);
        if (Status written = OutputFile::write(file, pdf); !written)
            return written;
    }
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
