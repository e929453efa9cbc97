#include "platform/ReportOutput.h"

#include "platform/ReportDatabase.h"
#include "platform/ReportEngine.h"
#include "platform/Ui.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>

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
            QStringLiteral("Mente.mdb"), QStringLiteral("Shuseki.mdb")};
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
    for (const QString& name : storeFileNames())
        QFile::remove(QDir(stores).filePath(name));
}

Status ReportOutput::run(QWidget* owner, const ReportSheet& sheet, ReportDestination destination, const QString& previewTitle)
{
    BusyCursor busy(ui);
    const QString store = storePath(sheet.stem);
    if (Status written = ReportDatabase::write(store, sheet); !written)
        return written;
    if (storeObserver)
        storeObserver(store);

    // The renderer reads the sheet back from the store, as the layout names it.
    ReportSheet stored;
    Status status = ReportDatabase::read(store, stored);
    ReportEngine engine;
    if (status)
        status = engine.loadLayout(layoutPath(sheet.stem));
    if (status) {
        engine.setSheet(stored);
        if (destination == ReportDestination::Preview) {
            ui.preview(owner, previewTitle, [&engine](QPrinter* target) {
                engine.preparePrinter(*target);
                engine.paint(*target);
            });
        } else {
            status = printSheet(owner, engine);
        }
    }
    QFile::remove(store);
    return status;
}

Status ReportOutput::printSheet(QWidget* owner, const ReportEngine& engine)
{
    QPrinter& target = printer();
    const bool toPdf = target.outputFormat() == QPrinter::PdfFormat && !target.outputFileName().isEmpty();
    if (!toPdf && QPrinterInfo::availablePrinters().isEmpty()) {
        // No printer on this computer: offer a PDF file instead of failing silently.
        if (ui.message(owner, QStringLiteral("プリンタが見つかりません。印刷する代わりにPDFファイルとして保存しますか？"),
                       Ui::Buttons::OkCancel, Ui::Icon::Question)
            != Ui::Answer::Ok)
            return Status::success();
        const QString file = ui.saveFileName(owner, QStringLiteral("PDFファイルとして保存"),
                                             QDir::home().filePath(QStringLiteral("かざね.pdf")),
                                             QStringLiteral("PDFファイル (*.pdf)"));
        if (file.isEmpty())
            return Status::success();
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(file);
        engine.preparePrinter(pdf);
        engine.paint(pdf);
        return Status::success();
    }
    engine.preparePrinter(target);
    engine.paint(target);
    return Status::success();
}
