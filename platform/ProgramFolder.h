#pragma once
// Where the program finds its own files and where it may write.
//
// Layouts and help ship with the program: beside the executable in a build tree,
// in <prefix>/share/kazane when it is installed (the executable in <prefix>/bin).
// The program's folder (the first data folder, the report stores and their
// clean-up) is the executable's folder in a build tree that can be written;
// an installed program, or one whose folder cannot be written, uses the per-user
// data folder instead ($XDG_DATA_HOME/Mevra/Kazane, usually
// ~/.local/share/Mevra/Kazane). An installed program never writes beside its
// executable, even when run by an administrator who could.

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
// resources are read from, and whether the program counts as installed.
QString resourceFolderFor(const QString& executableFolder);
bool isInstalled(const QString& executableFolder);
QString programFolderFor(const QString& executableFolder);

}  // namespace ProgramFolder
