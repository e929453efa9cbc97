#pragma once
// The persistent part of ClassData in the per-user settings store: organisation
// "Mevra", application "Kazane", group "UseMode", every value as text. The store is
// an INI file ($XDG_CONFIG_HOME/Mevra/Kazane.ini) through QSettings.

#include "model/ClassData.h"
#include "model/Status.h"

#include <QString>

class QSettings;

namespace AppSettings {
constexpr const char* Group = "UseMode";

// Reads every key into `data` (writing the defaults first on the first run), the
// viewpoint names included, sets
// fileStem for the mode and makes the first unit current, then checks the data
// folder. The returned failure carries the message to show; dataFolder is always set.
// Applying the mode to the menus and toolbars is the main window's part.
Status load(ClassData& data, QSettings& store, const QString& programFolder);
// The same without ever writing to the store: a first run takes the defaults in memory.
Status read(ClassData& data, QSettings& store, const QString& programFolder);
// The settings of `data`, read or just stored, take effect: fileStem for the mode,
// the first unit made current, the data folder checked (as the end of load and read).
Status takeEffect(ClassData& data);
// The writes go through SettingsStore: all values or none, and a failure (a full
// disk, a read-only settings folder) comes back with its message.
Status save(const ClassData& data, QSettings& store);
Status writeDefaultCriteria(QSettings& store);
void loadCriteria(ClassData& data, QSettings& store);
// The viewpoint names of every subject (model/ViewpointNames.h); the older table
// where the store has none.
void loadViewpointNames(ClassData& data, QSettings& store);
Status saveCriteria(const ClassData& data, QSettings& store);

// Key names of the criteria of subject s, viewpoint v, threshold k (GroupCriteria's
// numbering): "sHyoteiMode3", "rHyoteiMode32", "sHyotei35", "rHyotei324".
QString sModeKey(int s);
QString rModeKey(int s, int v);
QString sKey(int s, int k);
QString rKey(int s, int v, int k);
// The keys of the overall grade from the viewpoints: "sHyoteiKanten3" holds four
// characters "1"/"0", which viewpoints count. Its thresholds are sKey(s, 7) and
// sKey(s, 8) ("2.5", "1.5"); a viewpoint's thresholds against goals are
// rKey(s, v, 7) and rKey(s, v, 8) ("80", "50").
QString countedViewpointsKey(int s);
constexpr int GoalBest = 7;
constexpr int GoalLowest = 8;
}
