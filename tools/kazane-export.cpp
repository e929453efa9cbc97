// kazane-export: the program's sheets from the command line.

#include "reports/ExportCommand.h"

#include <QApplication>
#include <QFont>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[])
{
    // Painting text needs a GUI application; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("IPAexGothic"), 10));
    QTextStream err(stderr);
    QTextStream out(stdout);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    return ExportCommand::run(arguments, err, out);
}
