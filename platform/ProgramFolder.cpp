#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// A layout every copy of the program ships: it marks a folder of resources.
const char* const MarkerLayout = "testdisp.rpt";

bool holdsResources(const QString& folder)
{
    return QFileInfo::exists(QDir(folder).filePath(QLatin1String(MarkerLayout)));
}

QString installedResources(const QString& executableFolder)
{
    return QDir::cleanPath(executableFolder + QStringLiteral("/../share/kazane"));
}

}  // namespace

QString ProgramFolder::resourceFolderFor(const QString& executableFolder)
{
    if (!holdsResources(executableFolder) && holdsResources(installedResources(executableFolder)))
        return installedResources(executableFolder);
    return executableFolder;
}

bool ProgramFolder::isInstalled(const QString& executableFolder)
{
    return resourceFolderFor(executableFolder) != executableFolder;
}

QString ProgramFolder::userFolder()
{
    // The organisation and application names of the settings, whatever the name of
    // the running executable (kazane or kazane-export).
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Mevra/Kazane");
}

// The build tree is never the program's folder: a clean rebuild or a new clone
// would delete the class typed there.
QString ProgramFolder::programFolderFor(const QString& /*executableFolder*/)
{
    return userFolder();
}

QString ProgramFolder::resourceFolder()
{
    return resourceFolderFor(QCoreApplication::applicationDirPath());
}

QString ProgramFolder::helpFolder()
{
    return resourceFolder() + QStringLiteral("/help");
}

QString ProgramFolder::programFolder()
{
    return programFolderFor(QCoreApplication::applicationDirPath());
}

QString ProgramFolder::writableFolder()
{
    const QString folder = programFolder();
    QDir().mkpath(folder);
    return folder;
}
