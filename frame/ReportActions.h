#pragma once
// The output commands of a window that prints: 印刷, ﾌﾟﾚﾋﾞｭｰ, CSV保存 and xlsx保存, one
// QAction each, shared by the window's buttons (ActionButton), its menu entries and
// the main toolbar's 印刷 and ﾌﾟﾚﾋﾞｭｰ. Each action runs the window's output with its
// destination. While the window has nothing to print (a rename under way, the
// monthly input of the attendance) the actions are off, and with them every button
// that shows them and, while the window is active, the main toolbar's two.

#include "frame/ActionButton.h"
#include "tally/ReportSheet.h"

#include <QObject>
#include <QString>

class ChildWindow;
class QAction;
class QWidget;

class ReportActions : public QObject {
    Q_OBJECT
public:
    // The captions are the actions' texts, as menu entries show them.
    ReportActions(ChildWindow& window, const QString& printCaption, const QString& previewCaption,
                  const QString& csvCaption = QStringLiteral("CSV保存"));

    // Object names "printAction", "previewAction", "csvAction", "xlsxAction".
    QAction* action(ReportDestination destination) const;
    QAction* printAction() const { return print; }
    QAction* previewAction() const { return preview; }
    QAction* csvAction() const { return csv; }
    QAction* xlsxAction() const { return xlsx; }

    // A button showing the action of a destination, named "printButton",
    // "previewButton", "csvButton" or "xlsxButton"; captioned as the action unless given its own.
    ActionButton* button(ReportDestination destination, QWidget* parent, const QString& caption = {}) const;

    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled; }

signals:
    void enabledChanged(bool enabled);

private:
    QAction* make(ChildWindow& window, const QString& caption, const char* name, ReportDestination destination);

    QAction* print;
    QAction* preview;
    QAction* csv;
    QAction* xlsx;  // the same table as a workbook
    bool enabled = true;
};
