// The renderer's printer side, in a file of its own: only the program's windows
// print, and kazane-export, which makes PDFs only, links no printer code (a
// QPrinter would ask the print system for its printers).

#include "output/ReportRenderer.h"

#include <QDir>
#include <QPainter>
#include <QPrinter>

void ReportRenderer::preparePrinter(QPrinter& printer) const
{
    if (!layout)
        return;
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(layout->paper));
    printer.setPageOrientation(layout->orientation);
}

Status ReportRenderer::paint(QPrinter& printer) const
{
    if (!layout)
        return Status::failure(QStringLiteral("印刷のレイアウトが読み込まれていません。"));
    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString file = printer.outputFileName();
        return Status::failure(file.isEmpty() ? QStringLiteral("プリンタに印刷できませんでした。プリンタの設定を確かめてください。")
                                              : QStringLiteral("「%1」に書き込めませんでした。").arg(QDir::toNativeSeparators(file)));
    }
    paintPages(painter, printer, printer.resolution() / 25.4);
    if (!painter.end())
        return Status::failure(QStringLiteral("印刷を終えられませんでした。"));
    return Status::success();
}
