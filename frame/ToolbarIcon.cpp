#include "frame/ToolbarIcon.h"

#include <QFile>
#include <QPainter>
#include <QPixmap>

namespace {

// Qt's file for each standard picture the tool bars use: the largest of the files
// Qt's common style gives that picture when the desktop's theme has none (the
// computer only at 16 × 16).
const char* builtInFile(QStyle::StandardPixmap which)
{
    switch (which) {
    case QStyle::SP_FileDialogDetailedView:
        return "viewdetailed-32";
    case QStyle::SP_FileDialogListView:
        return "viewlist-32";
    case QStyle::SP_FileDialogContentsView:
        return "filecontents-32";
    case QStyle::SP_FileDialogInfoView:
        return "fileinfo-32";
    case QStyle::SP_FileDialogToParent:
        return "up-32";
    case QStyle::SP_DialogApplyButton:
        return "standardbutton-apply-32";
    case QStyle::SP_DialogSaveButton:
        return "standardbutton-save-32";
    case QStyle::SP_ComputerIcon:
        return "computer-16";
    case QStyle::SP_DirHomeIcon:
        return "dirclosed-32";
    case QStyle::SP_FileIcon:
        return "file-32";
    case QStyle::SP_DialogCloseButton:
        return "standardbutton-close-32";
    default:
        return nullptr;
    }
}

}  // namespace

QIcon ToolbarIcon::sized(const QIcon& icon, const QSize& size)
{
    const QPixmap picture = icon.pixmap(size, 1.0);
    if (picture.isNull() || picture.size() == size)
        return icon;
    const QPixmap scaled = picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPixmap filled(size);
    filled.fill(Qt::transparent);
    QPainter painter(&filled);
    painter.drawPixmap((size.width() - scaled.width()) / 2, (size.height() - scaled.height()) / 2, scaled);
    painter.end();
    return QIcon(filled);
}

QIcon ToolbarIcon::standard(QStyle::StandardPixmap which, const QStyle& style, const QSize& size)
{
    if (const char* name = builtInFile(which)) {
        const QString file = QStringLiteral(":/qt-project.org/styles/commonstyle/images/%1.png").arg(QLatin1String(name));
        if (QFile::exists(file))
            return sized(QIcon(file), size);
    }
    return sized(style.standardIcon(which), size);
}
