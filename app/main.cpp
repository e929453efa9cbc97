// Kazane: grade processing for elementary-school teachers.

#include "model/ClassData.h"
#include "platform/ProgramFolder.h"
#include "platform/QtUi.h"
#include "output/ReportOutput.h"
#include "frame/AppContext.h"
#include "app/MainWindow.h"
#include "app/ProgramStart.h"

#include <QApplication>
#include <QSettings>

#include <csignal>

int main(int argc, char* argv[])
{
    // A write past a file-size limit fails with EFBIG and is reported like a full
    // disk; the signal would otherwise end the program before it can say so.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    ProgramStart::prepare(app);

    const QString programFolder = ProgramFolder::writableFolder();
    const QString resources = ProgramFolder::resourceFolder();
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Mevra"), QStringLiteral("Kazane"));
    ClassData data;
    QtUi ui(ProgramFolder::helpFolder(), &settings);
    ReportOutput reports(ui, programFolder, resources);
    AppContext ctx{data, ui, settings, reports, nullptr, programFolder};

    MainWindow window(ctx);
    // The teacher may end the program at once when another copy holds the data folder.
    if (!window.startUp())
        return 0;
    return app.exec();
}
