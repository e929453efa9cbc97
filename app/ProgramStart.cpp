#include "app/ProgramStart.h"

#include "app/Logo.h"
#include "platform/QtTranslations.h"

#include <QApplication>
#include <QFont>
#include <QIcon>

void ProgramStart::prepare(QApplication& app)
{
    QApplication::setOrganizationName(QStringLiteral("Mevra"));
    QApplication::setApplicationName(QStringLiteral("Kazane"));
    // The desktop entry, so that the desktop shows the program with its icon.
    QApplication::setDesktopFileName(QStringLiteral("jp.mevra.kazane"));
    QApplication::setFont(QFont(QStringLiteral("IPAexGothic"), 10));
    QApplication::setWindowIcon(QIcon(Logo::pixmap()));
    // Qt's pickers, print dialogs and standard buttons speak Japanese too.
    QtTranslations::installJapanese(app);
}
