#pragma once
// What every window is handed: the one ClassData, the Ui seam, the settings store,
// the main window's command states, the report path and the date and clock seams.

#include "model/ClassData.h"
#include "model/Status.h"
#include "output/ReportOutput.h"
#include "platform/Ui.h"

#include <QDate>
#include <QDateTime>
#include <functional>

class MainFrame;
class QSettings;
class QWidget;

struct AppContext {
    ClassData& data;
    Ui& ui;
    QSettings& settings;
    ReportOutput& reports;
    MainFrame* frame = nullptr;          // set once the main window exists
    QString programFolder;               // default data folder, report stores
    std::function<QDate()> today = [] { return QDate::currentDate(); };
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

    // Shows the message of a failed status, or the notice of a successful one (OK
    // button); returns whether it succeeded.
    bool check(const Status& status, QWidget* owner = nullptr, Ui::Icon icon = Ui::Icon::None)
    {
        if (!status.message.isEmpty())
            ui.message(owner, status.message, Ui::Buttons::Ok,
                       status.ok && icon == Ui::Icon::None ? Ui::Icon::Warning : icon);
        return status.ok;
    }
};
