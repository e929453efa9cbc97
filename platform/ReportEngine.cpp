#include "platform/ReportEngine.h"

#include <QPainter>
#include <QPrinter>

// Placeholder until the renderer is written: one page listing the rows.
struct ReportEngine::Layout {};

ReportEngine::ReportEngine() = default;
ReportEngine::~ReportEngine() = default;

Status ReportEngine::loadLayout(const QString&)
{
    layout = std::make_unique<Layout>();
    return Status::success();
}

void ReportEngine::setSheet(const ReportSheet& newSheet)
{
    sheet = newSheet;
}

void ReportEngine::preparePrinter(QPrinter&) const {}

void ReportEngine::paint(QPrinter& printer) const
{
    QPainter painter(&printer);
    int y = 100;
    painter.drawText(100, y, sheet.titleValues.join(QLatin1Char(' ')));
    for (const QStringList& row : sheet.rows)
        painter.drawText(100, y += 120, row.join(QLatin1Char(' ')));
}

int ReportEngine::pageCount() const
{
    return 1;
}
