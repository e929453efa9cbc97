#include "frame/ToolbarIcon.h"

#include <QFile>
#include <QPainter>
#include <QPixmap>

#include <utility>

namespace {

// Qt's file for each standard picture the tool bars use: the largest of the files
// Qt's common style gives that picture when the desktop's theme has none (the
// computer only at 16 × 16).
const char* builtInFile(QStyle::StandardPixmap which)
{
    static const std::pair<QStyle::StandardPixmap, const char*> files[] = {
        {QStyle::SP_FileDialogDetailedView, "viewdetailed-32"}, {QStyle::SP_FileDialogListView, "viewlist-32"},
        {QStyle::SP_FileDialogContentsView, "filecontents-32"}, {QStyle::SP_FileDialogInfoView, "fileinfo-32"},
        {QStyle::SP_FileDialogToParent, "up-32"},               {QStyle::SP_DialogApplyButton, "standardbutton-apply-32"},
        {QStyle::SP_DialogSaveButton, "standardbutton-save-32"}, {QStyle::SP_ComputerIcon, "computer-16"},
        {QStyle::SP_DirHomeIcon, "dirclosed-32"},               {QStyle::SP_FileIcon, "file-32"},
        {QStyle::SP_DialogCloseButton, "standardbutton-close-32"},
    };
    for (const auto& [pixmap, file] : files)
        if (pixmap == which)
            return file;
    return nullptr;
}

QString printSupportFile(const char* name)
{
    const QString file = QStringLiteral(":/qt-project.org/dialogs/qprintpreviewdialog/images/%1-32.png").arg(QLatin1String(name));
    return QFile::exists(file) ? file : QString();
}

}  // namespace

QIcon ToolbarIcon::printer(const QSize& size)
{
    const QString file = printSupportFile("printer");
    return file.isEmpty() ? QIcon() : sized(QIcon(file), size);
}

QIcon ToolbarIcon::preview(const QSize& size)
{
    const QString page = printSupportFile("view-pages-single");
    const QString glass = printSupportFile("zoom-in");
    if (page.isEmpty() || glass.isEmpty())
        return {};
    // The page fills the square; the glass, at two thirds of it, lies on the page's
    // lower right corner.
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(picture.rect(), QPixmap(page));
    const QSize small = size * 2 / 3;
    painter.drawPixmap(QRect(QPoint(size.width() - small.width(), size.height() - small.height()), small), QPixmap(glass));
    painter.end();
    return QIcon(picture);
}

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
