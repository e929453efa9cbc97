#pragma once
// The largest class the program holds, written to a folder for the benchmarks that
// run kazane-export as a whole process: 45 pupils, nine subjects of 60 tests with
// four columns each, and a year of attendance, with its own settings file.

#include <QString>

namespace FullClass {
// Writes <folder>/data/ and <folder>/Kazane.ini; returns the settings file.
QString write(const QString& folder);
}
