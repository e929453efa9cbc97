#pragma once
// The bank of phrases (文例) a teacher draws on when writing 所見: phrases grouped
// under headings (学習, 生活, 行事 …), kept in the teacher's own folder so that it
// outlives the class. Until the teacher changes it, the starter bank that ships
// with the program is used. A phrase may hold {名前}, which becomes the pupil's
// given name when it is put into a comment.
//
// The file is UTF-8 JSON: {"groups": [{"heading": "学習", "phrases": ["…", …]}, …],
// "version": 1}, written indented through SafeFile after a copy of the old file to
// its backup name.

#include "model/Status.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace PhraseBank {

struct Group {
    QString heading;
    QStringList phrases;
    bool operator==(const Group& other) const { return heading == other.heading && phrases == other.phrases; }
};
using Bank = QList<Group>;

QString fileName();    // "phrases.json"
QString backupName();  // "phrases.bak"
inline const QString NamePlaceholder = QStringLiteral("{名前}");

// Parses the file's bytes; a file that is not a bank is refused with its name.
Status parse(const QByteArray& bytes, const QString& displayName, Bank& bank);
QByteArray build(const Bank& bank);
// The teacher's bank at `path`, or the starter bank at `starterPath` while the
// teacher has none. A bank that cannot be read is refused with its name (and the
// caller then keeps it unwritten).
Status load(const QString& path, const QString& starterPath, Bank& bank);
// Writes the bank to `path` (its folder made when missing), the old file copied to
// its backup name first; on failure the file is as it was.
Status save(const QString& path, const Bank& bank);

// Adds a phrase under a heading (a new group at the end when there is none). A
// phrase already there, or empty, is not added again; returns whether it was added.
bool add(Bank& bank, const QString& heading, const QString& phrase);
// The phrase for a pupil: {名前} becomes the given name (the part after the
// space of the roster's name, or the whole name).
QString filled(const QString& phrase, const QString& pupilName);
// Whether a phrase matches a search: every word of `words` (split at spaces) is in
// the phrase or its heading; an empty search matches everything.
bool matches(const QString& heading, const QString& phrase, const QString& words);

}  // namespace PhraseBank
