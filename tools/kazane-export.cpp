// kazane-export: the program's sheets from the command line.

#include "platform/QtTranslations.h"
#include "tools/ExportCommand.h"

#include <QApplication>
#include <QFont>
#include <QTextStream>

#include <csignal>
#include <cstdio>

namespace {
// Only the tool's own lines reach stderr; the toolkit's notices about the
// environment (no display, no runtime folder) are not the user's concern.
void quietHandler(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}
}  // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(quietHandler);
    // Under a file-size limit a write past it must fail (and be reported) rather
    // than end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // Painting text needs a GUI application; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("IPAexGothic"), 10));
    // Whatever Qt itself says (a printer's or a file's trouble) is said in Japanese.
    QtTranslations::installJapanese(app);
    QTextStream err(stderr);
    QTextStream out(stdout);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    return ExportCommand::run(arguments, err, out);
}
