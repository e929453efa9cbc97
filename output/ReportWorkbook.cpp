// The workbook command of ReportOutput: the sheet as an .xlsx workbook, beside the
// CSV file of the same table.

#include "output/ReportOutput.h"

#include "output/XlsxWriter.h"
#include "platform/Ui.h"

#include <QDir>

Status ReportOutput::saveXlsx(QWidget* owner, const ReportSheet& sheet, const QString& title)
{
    const QString file = askFileName(owner, QStringLiteral("ブック（.xlsx）として保存"), fileNameFor(title),
                                     QStringLiteral("xlsx"), QStringLiteral("ブック (*.xlsx)"));
    if (file.isEmpty())
        return Status::success();
    Status written = Status::success();
    {
        BusyCursor busy(ui);
        written = XlsxWriter::write(file, sheet);
    }
    if (!written)
        return written;
    ui.message(owner, QStringLiteral("ブック「%1」に保存しました。").arg(QDir::toNativeSeparators(file)), Ui::Buttons::Ok,
               Ui::Icon::Information);
    return Status::success();
}
