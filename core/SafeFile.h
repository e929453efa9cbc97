#pragma once
// Writing data files so that a crash or a full disk never leaves a half-written
// file: the content goes to a temporary file that then replaces the old one.

#include "core/Status.h"

#include <QByteArray>
#include <QString>

namespace SafeFile {
Status write(const QString& path, const QByteArray& bytes);
// Copies `path` over `backupPath` (atomically); does nothing when `path` is missing.
Status backup(const QString& path, const QString& backupPath);
// The whole file, or nothing when it cannot be read.
bool read(const QString& path, QByteArray& bytes);
QString writeFailedMessage(const QString& path, const QString& detail = {});
}
