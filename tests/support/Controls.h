#pragma once
// Reaching a window's controls as a teacher finds them: by the object name that
// says what they hold or do. A name that no control has ends the test program at
// once, naming it.

#include <QAction>
#include <QMenu>
#include <QObject>
#include <QString>
#include <QtGlobal>

namespace Controls {

// The child of `parent` of type T named `name`; a test that asks for a control the
// window does not have stops there.
template <class T>
T* child(const QObject* parent, const QString& name)
{
    T* found = parent->findChild<T*>(name);
    if (!found)
        qFatal("%s has no %s named %s", qPrintable(parent->objectName()), T::staticMetaObject.className(), qPrintable(name));
    return found;
}

// The entry of a menu with that caption, or none.
inline QAction* menuEntry(const QMenu* menu, const QString& caption)
{
    for (QAction* action : menu->actions())
        if (action->text() == caption)
            return action;
    return nullptr;
}

}  // namespace Controls
