#include "frame/ToolbarIcon.h"

#include <QPainter>
#include <QPixmap>

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
