#include "app/ProgramStart.h"

#include "app/Logo.h"
#include "platform/QtTranslations.h"

#include <QApplication>
#include <QFont>
#include <QIcon>

QFont ProgramStart::screenFont()
{
    QFont font(QStringLiteral("IPAexGothic"), 10);
    // IPAex has the characters of the data files' code page only: a name pasted
    // with 𠮷 or 髙 shows in the refusal that names it from a font that has them.
    font.setFamilies({QStringLiteral("IPAexGothic"), QStringLiteral("Noto Sans CJK JP")});
    return font;
}

void ProgramStart::prepare(QApplication& app)
{
    QApplication::setOrganizationName(QStringLiteral("Mevra"));
    QApplication::setApplicationName(QStringLiteral("Kazane"));
    // The desktop entry, so that the desktop shows the program with its icon.
    QApplication::setDesktopFileName(QStringLiteral("jp.mevra.kazane"));
    QApplication::setFont(screenFont());
    QApplication::setWindowIcon(QIcon(Logo::pixmap()));
    // Qt's pickers, print dialogs and standard buttons speak Japanese too.
    QtTranslations::installJapanese(app);
}
