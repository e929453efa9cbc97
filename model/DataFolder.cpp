#include "model/DataFolder.h"

#include <QDir>
#include <QFileInfo>

QString DataFolder::withSlash(const QString& folder)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

QString DataFolder::resolve(const QString& folder, const QString& name)
{
    const QString base = withSlash(folder);
    const QString exact = base + name;
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList entries = QDir(base.isEmpty() ? QStringLiteral(".") : base)
                                    .entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return base + entry;
    return exact;
}

bool DataFolder::exists(const QString& folder, const QString& name)
{
    return QFileInfo(resolve(folder, name)).isFile();
}
