#pragma once
// プリンタの設定: the printer (the system's default or any queue it offers), the
// paper (the sheet's own, or one of PrintPapers the chosen printer takes), the
// orientation and the copies. Only what the chosen printer can do is offered; a
// note names the sheets that keep their own orientation because they do not fit
// the paper turned.

#include "output/PrintChoice.h"
#include "platform/PrintSystem.h"

#include <QDialog>
#include <functional>

class QButtonGroup;
class QComboBox;
class QLabel;
class QSpinBox;

class PrintSetupDialog : public QDialog {
    Q_OBJECT
public:
    // `papersOf` asks the print system for the papers of a queue. `keepPortrait` and
    // `keepLandscape` name the sheets that cannot be turned from their orientation.
    PrintSetupDialog(const QList<PrintQueue>& queues, std::function<QStringList(const QString&)> papersOf,
                     const PrintChoice& current, const QStringList& keepPortrait, const QStringList& keepLandscape,
                     QWidget* parent = nullptr);

    // What the dialog shows chosen.
    PrintChoice choice() const;

private:
    QWidget* buildPrinterRow(const PrintChoice& current);
    QWidget* buildOrientationRow(const QStringList& keepPortrait, const QStringList& keepLandscape);
    // The papers of the printer chosen, keeping the paper chosen where it can.
    void fillPapers();
    QString chosenQueue() const;

    QList<PrintQueue> queues;
    std::function<QStringList(const QString&)> papersOf;
    QString wantedPaper;
    QComboBox* printerChoice = nullptr;
    QComboBox* paperChoice = nullptr;
    QButtonGroup* orientations = nullptr;
    QSpinBox* copiesBox = nullptr;
};
