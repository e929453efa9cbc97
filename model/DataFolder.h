#pragma once
// File names in a data folder, matched without regard to letter case: a folder
// copied from another computer may hold "CLASS.NAM" or "国語.DAT".

#include <QString>

namespace DataFolder {
// The folder with a final '/'.
QString withSlash(const QString& folder);
// The path of the file in the folder whose name equals `name` ignoring case; when
// there is none, folder + name. Writing to the result replaces an existing file of
// another case instead of creating a second one.
QString resolve(const QString& folder, const QString& name);
bool exists(const QString& folder, const QString& name);
}
