#include "app/Logo.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>

// Drawn once: the window icon and the title window show the same picture at
// start-up, and drawing its character at this size takes about a millisecond.
QPixmap Logo::pixmap()
{
    const QString key = QStringLiteral("kazane-logo");
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    pixmap = QPixmap(120, 120);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0x2b, 0x6c, 0xb0));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(4, 4, 112, 112);
    painter.setPen(QPen(QColor(0xe8, 0xf1, 0xfb), 4));
    for (int i = 0; i < 3; ++i) {
        QPainterPath wave;
        const int y = 78 + i * 10;
        wave.moveTo(22, y);
        wave.cubicTo(42, y - 10, 58, y + 10, 78, y);
        wave.cubicTo(88, y - 5, 94, y - 5, 98, y);
        painter.drawPath(wave);
    }
    QFont font(QStringLiteral("IPAexGothic"));
    font.setPixelSize(48);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 10, 120, 64), Qt::AlignCenter, QStringLiteral("風"));
    painter.end();
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

