#pragma once
// kazane-export: every sheet of the program without its windows, as PDF, CSV or the
// report store itself, and the end-of-term batch. It reads a data folder and the
// settings store and never writes to either.

#include <QStringList>

class QTextStream;

namespace ExportCommand {
// Exit status: 0 done, 1 a data or output error, 2 wrong usage. Progress and errors
// go to `err`, one Japanese line each. Layouts are read from `layoutFolder`
// (beside the program when empty).
int run(const QStringList& arguments, QTextStream& err, QTextStream& out, const QString& layoutFolder = {});
QString usage();
}
