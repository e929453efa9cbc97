#pragma once
// Copying the rosters and data files of the data folder to a backup folder. The
// copies are written together (SafeFile::Batch), so the backup folder never holds
// a half-copied file, nor new copies of some files beside old copies of others.

#include "model/Status.h"

#include <QString>
#include <QStringList>

namespace BackupCopy {
// The names of the files (not folders) of `folder` whose extension is `extension`,
// letter case ignored ("nam" finds "Class.Nam" and "４の１.NAM", never "Class.NBk"),
// in name order.
QStringList matching(const QString& folder, const QString& extension);

// The class file "assessment.json" of `folder` as it is named there (letter case
// ignored), or nothing when there is none: it goes into the backup with the data files.
QStringList classFileNames(const QString& folder);

// Why the backup cannot go to `target`: the data folder itself, a file instead of a
// folder, or a folder that cannot be written. Empty when it can. `target` exists.
QString targetProblem(const QString& dataFolder, const QString& target);

// The folder the backup window proposes: the stored backup folder, unless it is
// the data folder itself (where a backup cannot go; the settings hold the program's
// folder for both until the teacher chooses), then "かざねバックアップ" in
// `documentsFolder`.
QString proposedFolder(const QString& dataFolder, const QString& storedFolder, const QString& documentsFolder);

// Copies the named files of `source` into `target`, keeping their names and times;
// a file of the same name in another letter case is replaced rather than doubled.
// All or nothing: every copy is complete on disk before any older copy is
// replaced, so a failure leaves the previous backup as it was.
Status copyFiles(const QString& source, const QStringList& names, const QString& target);
}
