#include "platform/DialogFit.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

QRect DialogFit::placeWithin(const QSize& wanted, const QRect& free)
{
    const QSize room(free.width(), free.height() - TitleBarHeight);
    const QSize size = wanted.boundedTo(room);
    const int x = free.x() + (free.width() - size.width()) / 2;
    const int y = free.y() + TitleBarHeight + (room.height() - size.height()) / 2;
    return {x, y, size.width(), size.height()};
}

QRect DialogFit::freeScreen(const QWidget& dialog)
{
    const QWidget* owner = dialog.parentWidget() ? dialog.parentWidget()->window() : &dialog;
    QScreen* screen = owner->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 700);
}

void DialogFit::showWholeTitle(QWidget& dialog)
{
    // Window managers draw titles in a bold face of about the program's size.
    QFont font = dialog.font();
    font.setBold(true);
    const int needed = QFontMetrics(font).horizontalAdvance(dialog.windowTitle()) + TitleBarButtons;
    const int widest = freeScreen(dialog).width();
    const int width = qMin(needed, widest);
    if (dialog.maximumWidth() < width)
        dialog.setMaximumWidth(width);
    if (dialog.minimumWidth() < width)
        dialog.setMinimumWidth(width);
}
