#pragma once
// Qt's own texts in Japanese: the captions of the file and folder pickers, the
// overwrite question, the print, page-setup and preview dialogs and the standard
// buttons come from Qt, in English unless its Japanese catalogue is loaded.

#include <QStringList>

class QCoreApplication;

namespace QtTranslations {
// Where the catalogue (qtbase_ja.qm) is looked for, in order: a "translations"
// folder beside the program (a copy installed with it), then Qt's own folder.
QStringList folders();
// Makes Japanese the default locale and loads the catalogue into the application
// from the first of `folders` that holds it; returns whether one was found.
// Without one Qt's dialogs stay in English.
bool installJapanese(QCoreApplication& app, const QStringList& folders = QtTranslations::folders());
}  // namespace QtTranslations
