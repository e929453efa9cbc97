#pragma once
// Writing the settings store (an INI file through QSettings) so that a full disk
// never empties it.
//
// QSettings::sync() writes through QSaveFile and reports success when a buffered
// write failed for lack of space: the settings file is then cut short or empty and
// status() still says NoError. So the store is never written by QSettings itself.
// The whole new file is first produced by QSettings in a staging file beside it
// and read back from the disk; only when it is complete and holds every value is
// it written over the real file through SafeFile (checked, synced, atomic). The
// store then reads the new file again.

#include "model/Status.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

class QSettings;

namespace SettingsStore {
// Keys with their group ("UseMode/SenkaMode") and the text to store.
using Values = QList<std::pair<QString, QString>>;

// Stores `values` and takes the `removed` keys (with their group) out of the store;
// every other key keeps its value. On failure the file is as it was and the
// message says so. The store must have no group open.
Status write(QSettings& store, const Values& values, const QStringList& removed = {});
}
