#pragma once
// The report steps shared by every sheet: the store is made in the program's folder
// (a leftover of an interrupted run is replaced), the layout of the same stem is
// read from beside the executable, the renderer paints to the printer or the
// preview, and the store is deleted afterwards.

#include "core/Status.h"
#include "platform/ReportSheet.h"

#include <QString>
#include <functional>
#include <memory>

class QPrinter;
class ReportEngine;
class QWidget;
class Ui;

class ReportOutput {
public:
    ReportOutput(Ui& ui, const QString& storeFolder, const QString& layoutFolder);
    ~ReportOutput();

    // Print or preview a sheet; the preview window carries `previewTitle`.
    Status run(QWidget* owner, const ReportSheet& sheet, ReportDestination destination, const QString& previewTitle);
    // The printer chosen with the print-setup command, shared by every sheet.
    QPrinter& printer();

    const QString& storeFolder() const { return stores; }
    const QString& layoutFolder() const { return layouts; }
    // The five store names the program makes ("testdisp.mdb", ...).
    static QStringList storeFileNames();
    // Deletes leftover stores of those names in the store folder, nothing else.
    void removeLeftoverStores() const;
    QString storePath(const QString& stem) const;
    QString layoutPath(const QString& stem) const;
    // Called with the path of each store once it is written, before the renderer
    // takes it (tests and the export tool copy it from here).
    void setStoreObserver(std::function<void(const QString&)> observer) { storeObserver = std::move(observer); }

private:
    Status printSheet(QWidget* owner, const ReportEngine& engine);

    Ui& ui;
    QString stores;
    QString layouts;
    std::unique_ptr<QPrinter> sharedPrinter;
    std::function<void(const QString&)> storeObserver;
};
