#pragma once
// kazane-export run inside the test process on the test class's settings, with its
// progress and error lines (stderr) and its standard output caught as text. Tests that
// include this link kazaneexport.

#include "TestEnv.h"
#include "tools/ExportCommand.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

struct ExportRun {
    int code = -1;
    QString err;
    QString out;
};

inline ExportRun runExport(TestEnv& env, QStringList arguments, const QString& layouts = TestEnv::buildFolder())
{
    arguments.prepend(env.settingsFile());
    arguments.prepend(QStringLiteral("--settings"));
    ExportRun run;
    QTextStream errStream(&run.err);
    QTextStream outStream(&run.out);
    run.code = ExportCommand::run(arguments, errStream, outStream, layouts);
    errStream.flush();
    outStream.flush();
    return run;
}
