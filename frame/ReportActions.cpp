#include "frame/ReportActions.h"

#include "frame/ActionButton.h"
#include "frame/ChildWindow.h"

#include <QAction>

ReportActions::ReportActions(ChildWindow& window, const QString& printCaption, const QString& previewCaption,
                             const QString& csvCaption)
    : QObject(&window),
      print(make(window, printCaption, "printAction", ReportDestination::Printer)),
      preview(make(window, previewCaption, "previewAction", ReportDestination::Preview)),
      csv(make(window, csvCaption, "csvAction", ReportDestination::Csv)),
      xlsx(make(window, QStringLiteral("xlsx保存"), "xlsxAction", ReportDestination::Xlsx))
{
    xlsx->setToolTip(QStringLiteral("表計算ソフト（Excel、LibreOffice Calc）で開けるブック（.xlsx）に保存します"));
    setObjectName(QStringLiteral("reportActions"));
}

QAction* ReportActions::make(ChildWindow& window, const QString& caption, const char* name, ReportDestination destination)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, &window, [&window, destination] { window.output(destination); });
    return action;
}

QAction* ReportActions::action(ReportDestination destination) const
{
    switch (destination) {
    case ReportDestination::Printer: return print;
    case ReportDestination::Preview: return preview;
    case ReportDestination::Csv: return csv;
    case ReportDestination::Xlsx: return xlsx;
    }
    return nullptr;
}

ActionButton* ReportActions::button(ReportDestination destination, QWidget* parent, const QString& caption) const
{
    const char* name = destination == ReportDestination::Printer   ? "printButton"
                       : destination == ReportDestination::Preview ? "previewButton"
                       : destination == ReportDestination::Csv     ? "csvButton"
                                                                   : "xlsxButton";
    return new ActionButton(action(destination), QLatin1String(name), parent, caption);
}

void ReportActions::setEnabled(bool on)
{
    for (QAction* each : {print, preview, csv, xlsx})
        each->setEnabled(on);
    if (on == enabled)
        return;
    enabled = on;
    emit enabledChanged(on);
}
