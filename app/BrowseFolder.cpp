#include "app/BrowseFolder.h"

#include "platform/Ui.h"

#include <QDir>

QString browseFolder(Ui& ui, QWidget* owner, const QString& startFolder)
{
    const QString chosen = ui.pickFolder(owner, QStringLiteral("成績データを格納するフォルダを指定して下さい。"), startFolder);
    if (chosen.isEmpty())
        return {};
    return QDir::cleanPath(chosen);
}
