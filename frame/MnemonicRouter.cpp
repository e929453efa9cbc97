#include "frame/MnemonicRouter.h"

#include "platform/Ui.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

// The letter or digit of Alt+key, or 0 for any other key.
int mnemonicKey(const QKeyEvent& event)
{
    if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier)
        return 0;
    const int key = event.key();
    const bool letter = key >= Qt::Key_A && key <= Qt::Key_Z;
    const bool digit = key >= Qt::Key_0 && key <= Qt::Key_9;
    return letter || digit ? key : 0;
}

// Whether the caption marks the key with "&".
bool marks(const QString& caption, int key)
{
    const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
    return !mnemonic.isEmpty() && mnemonic[0].toCombined() == (Qt::AltModifier | key);
}

// Whether the control is on screen in the child window itself (not in a window
// of its own, not on a hidden page).
bool shownIn(const QWidget* widget, const QWidget* child)
{
    return widget->isVisibleTo(child) && widget->window() == child->window();
}

}  // namespace

MnemonicRouter::MnemonicRouter(QMdiArea& area, Ui& ui, QObject* parent) : QObject(parent), area(area), ui(ui)
{
    qApp->installEventFilter(this);
}

MnemonicRouter::~MnemonicRouter()
{
    qApp->removeEventFilter(this);
}

QWidget* MnemonicRouter::focusedChild() const
{
    if (QApplication::activePopupWidget() || QApplication::activeModalWidget())
        return nullptr;
    QMdiSubWindow* frame = area.activeSubWindow();
    QWidget* focus = QApplication::focusWidget();
    if (!frame || !focus || !(focus == frame || frame->isAncestorOf(focus)))
        return nullptr;
    return frame->widget();
}

MnemonicRouter::Target MnemonicRouter::targetFor(QWidget* child, int key) const
{
    Target target;
    const auto buttons = child->findChildren<QAbstractButton*>();
    for (QAbstractButton* button : buttons) {
        if (!shownIn(button, child) || !marks(button->text(), key))
            continue;
        target.found = true;
        if (button->isEnabled()) {
            target.widget = button;
            return target;
        }
    }
    const auto labels = child->findChildren<QLabel*>();
    for (QLabel* label : labels) {
        QWidget* buddy = label->buddy();
        if (!buddy || !shownIn(label, child) || !marks(label->text(), key))
            continue;
        target.found = true;
        if (buddy->isEnabled() && shownIn(buddy, child)) {
            target.widget = label;
            return target;
        }
    }
    const auto bars = child->findChildren<QMenuBar*>();
    for (QMenuBar* bar : bars) {
        const auto entries = bar->actions();
        for (QAction* entry : entries) {
            if (!entry->isVisible() || !marks(entry->text(), key))
                continue;
            target.found = true;
            if (entry->isEnabled()) {
                target.menuEntry = entry;
                target.menuBar = bar;
                return target;
            }
        }
    }
    return target;
}

void MnemonicRouter::act(const Target& target) const
{
    if (target.menuEntry) {
        QMenu* menu = target.menuEntry->menu();
        if (!menu) {
            target.menuEntry->trigger();
            return;
        }
        // The menu opens with its first entry chosen, as Alt and its letter open a
        // menu everywhere else.
        target.menuBar->setActiveAction(target.menuEntry);
        const auto entries = menu->actions();
        for (QAction* entry : entries)
            if (entry->isEnabled() && entry->isVisible() && !entry->isSeparator()) {
                menu->setActiveAction(entry);
                break;
            }
        return;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(target.widget)) {
        // An option or check box shows where the keyboard is, as a click would.
        if (button->isCheckable() && (button->focusPolicy() & Qt::ClickFocus))
            button->setFocus(Qt::ShortcutFocusReason);
        button->click();
        return;
    }
    if (auto* label = qobject_cast<QLabel*>(target.widget)) {
        QWidget* buddy = label->buddy();
        if (auto* button = qobject_cast<QAbstractButton*>(buddy)) {
            button->click();
            return;
        }
        while (buddy->focusProxy())
            buddy = buddy->focusProxy();
        buddy->setFocus(Qt::ShortcutFocusReason);
    }
}

bool MnemonicRouter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    auto* keyEvent = static_cast<QKeyEvent*>(event);
    const int key = mnemonicKey(*keyEvent);
    if (!key || !watched->isWidgetType())
        return false;
    QWidget* child = focusedChild();
    if (!child)
        return false;
    const Target target = targetFor(child, key);
    if (!target.found)
        return false;
    // Accepting the override keeps the key from every shortcut, the main window's
    // menus included; the key press that follows reaches this filter and acts.
    keyEvent->accept();
    if (event->type() == QEvent::KeyPress) {
        if (target.widget || target.menuEntry)
            act(target);
        else
            ui.beep();
    }
    return true;
}
