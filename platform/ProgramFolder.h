#pragma once
// Where the program keeps its own files. The program's folder (default data folder,
// report stores) is the folder of the executable when it can be written, otherwise
// the per-user data folder. Layouts and help are always read from beside the executable.

#include <QString>

namespace ProgramFolder {
QString writableFolder();
QString resourceFolder();
}
