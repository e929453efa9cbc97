#include "platform/SaveFolder.h"

#include "model/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

QString SaveFolder::startPath(const QSettings& store, const QString& suggestedPath)
{
    const QString folder = store.value(QLatin1String(Key)).toString();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return suggestedPath;
    return QDir(folder).filePath(QFileInfo(suggestedPath).fileName());
}

Status SaveFolder::remember(QSettings& store, const QString& chosenFile)
{
    const QString folder = QFileInfo(chosenFile).absolutePath();
    if (store.value(QLatin1String(Key)).toString() == folder)
        return Status::success();
    return SettingsStore::write(store, {{QLatin1String(Key), folder}});
}
