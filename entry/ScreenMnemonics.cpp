#include "entry/ScreenMnemonics.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>

namespace {
bool hasMnemonic(const QString& caption, QChar letter)
{
    const int at = caption.indexOf(QLatin1Char('&'));
    return at >= 0 && at + 1 < caption.size() && caption.at(at + 1).toUpper() == letter;
}
}  // namespace

ScreenMnemonics::ScreenMnemonics(QWidget* screen, QMenuBar* menuBar) : QObject(screen), screen(screen), menuBar(menuBar)
{
    qApp->installEventFilter(this);
}

bool ScreenMnemonics::ownMnemonic(const QKeyEvent* key, bool trigger)
{
    if (key->modifiers() != Qt::AltModifier || key->key() < Qt::Key_A || key->key() > Qt::Key_Z)
        return false;
    const QChar letter(char16_t(u'A' + (key->key() - Qt::Key_A)));
    const auto buttons = screen->findChildren<QPushButton*>();
    for (QPushButton* button : buttons)
        if (button->isVisible() && button->isEnabled() && hasMnemonic(button->text(), letter)) {
            if (trigger)
                button->click();
            return true;
        }
    const auto actions = menuBar->actions();
    for (QAction* action : actions)
        if (action->isVisible() && action->isEnabled() && hasMnemonic(action->text(), letter)) {
            if (trigger) {
                if (action->menu())
                    menuBar->setActiveAction(action);
                else
                    action->trigger();
            }
            return true;
        }
    return false;
}

bool ScreenMnemonics::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::ShortcutOverride && type != QEvent::KeyPress) || !watched->isWidgetType()
        || !screen->isAncestorOf(static_cast<QWidget*>(watched)))
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (type == QEvent::KeyPress)
        return ownMnemonic(key, true);
    if (!ownMnemonic(key, false))
        return false;
    event->accept();
    return true;
}
