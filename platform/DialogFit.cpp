#include "platform/DialogFit.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
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
    if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
        // A message box sets its own fixed size from its layout on showing; a
        // spacer across the layout's bottom row makes it wide enough.
        auto* grid = qobject_cast<QGridLayout*>(box->layout());
        if (!grid)
            return;
        const QMargins margins = grid->contentsMargins();
        grid->addItem(new QSpacerItem(width - margins.left() - margins.right(), 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
        return;
    }
    if (dialog.maximumWidth() < width)
        dialog.setMaximumWidth(width);
    if (dialog.minimumWidth() < width)
        dialog.setMinimumWidth(width);
}
