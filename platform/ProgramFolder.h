#pragma once
// Where the program finds its own files and where it may write.
//
// Layouts and help ship with the program: beside the executable in a build tree,
// in <prefix>/share/kazane when it is installed (the executable in <prefix>/bin).
// The program's folder (the first data folder, the report stores and their
// clean-up) is the per-user data folder ($XDG_DATA_HOME/Mevra/Kazane, usually
// ~/.local/share/Mevra/Kazane), installed or run from the build tree alike: the
// program never writes beside its executable, where a rebuild, a new clone or an
// update would take the teacher's class away.

#include <QString>

namespace ProgramFolder {

// The folder of the layouts (*.rpt) and of help/.
QString resourceFolder();
// The folder of the help pages.
QString helpFolder();
// The program's folder: data, report stores. Created when missing.
QString writableFolder();
// The same folder, not created (for a command that only reads).
QString programFolder();
// The per-user data folder of the program (not created here).
QString userFolder();

// The same for an executable in `executableFolder`, for tests: the folder the
// resources are read from, whether the program counts as installed, and the
// program's folder (the per-user one wherever the executable lies).
QString resourceFolderFor(const QString& executableFolder);
bool isInstalled(const QString& executableFolder);
QString programFolderFor(const QString& executableFolder);

}  // namespace ProgramFolder
