#pragma once
// The folder a save dialog opens in: the one the teacher last saved a file in, kept
// in the settings store so that the next start of the program remembers it too.
// Until a file has been saved, or when that folder is gone, the dialog opens where
// the caller suggests (the documents folder).

#include "model/Status.h"

#include <QString>

class QSettings;

namespace SaveFolder {
// The settings key ("group/name") of the folder.
constexpr const char* Key = "Dialogs/SaveFolder";

// The path to open the dialog with: the suggested file name in the remembered
// folder when that is still a folder, else the suggested path as it is.
QString startPath(const QSettings& store, const QString& suggestedPath);
// Remembers the folder of a file just chosen, through the checked settings write.
// The store must have no group open.
Status remember(QSettings& store, const QString& chosenFile);
}  // namespace SaveFolder
