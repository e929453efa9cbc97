#pragma once
// Controls found as a teacher finds them: by the object name that says what they
// hold or do. A name that no control has ends the test program at once, naming it.

#include <QObject>
#include <QString>
#include <QtGlobal>

template <class T>
T* control(const QObject* window, const char* name)
{
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("%s has no control named %s", qPrintable(window->objectName()), name);
    return found;
}
