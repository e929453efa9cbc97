// The crash tests' driver (tests/test_crash.cpp): one change of the class in a
// homeroom data folder, made by the program's own code, in a process of its own
// that the preloaded crash library (crash_shim.c) can stop before any call to the
// file system.
//
//   kazane-crash-driver <change> <data folder>
//
// Changes: transfer-in (a pupil after pupil 2), transfer-out (pupil 2),
// test-insert and test-delete (before / of test 1 of 算数), new-class (the copy
// into 以前のクラス, then the emptied files, as 新規ｸﾗｽ does), end-entry (the names
// of a new class stored, as 入力終了 does); and recover: what the start does with a
// record a stop left (finish or undo the change). Exit status 0 when it was made,
// 1 with the message on stderr when it was refused. With KAZANE_CRASH_NO_JOURNAL
// set, the change is made without its journal.

#include "model/AttendanceFile.h"
#include "model/ClassData.h"
#include "model/NewClass.h"
#include "model/NewClassCopy.h"
#include "model/RosterFile.h"
#include "model/SafeFile.h"
#include "model/SafeFileJournal.h"
#include "model/ScoreFile.h"
#include "model/TestList.h"
#include "model/Transfer.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <cstdio>
#include <memory>

namespace {

Status change(const QString& what, ClassData& data)
{
    if (what == QLatin1String("transfer-in"))
        return Transfer::transferIn(data, 2, QStringLiteral("転入　花子"), QDate(2026, 10, 5));
    if (what == QLatin1String("transfer-out"))
        return Transfer::transferOut(data, 2);
    if (what == QLatin1String("test-insert") || what == QLatin1String("test-delete")) {
        if (Status loaded = ScoreFile::load(data); !loaded)
            return loaded;
        return what == QLatin1String("test-insert") ? TestList::insertBefore(data, 1) : TestList::remove(data, 1);
    }
    if (what == QLatin1String("new-class")) {
        const QStringList files = NewClass::classFiles(data);
        const QString folder = NewClass::copyFolder(data, QDateTime(QDate(2026, 12, 7), QTime(9, 30)));
        if (Status copied = NewClass::copyFiles(files, folder); !copied)
            return copied;
        return NewClass::clearFiles(data);
    }
    if (what == QLatin1String("end-entry")) {
        const QStringList names{QStringLiteral("青木　一郎"), QStringLiteral("石井　次郎"), QStringLiteral("上田　三子")};
        data.pupilCount = int(names.size());
        for (int p = 1; p <= data.pupilCount; ++p)
            data.pupilName[p] = names[p - 1];
        return NewClass::storeNames(data);
    }
    return Status::failure(QStringLiteral("unknown change ") + what);
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: kazane-crash-driver <change> <data folder>\n");
        return 2;
    }
    // The crash test shows what a stop does to a change without its journal.
    if (qEnvironmentVariableIsSet("KAZANE_CRASH_NO_JOURNAL"))
        SafeFile::setJournal(false);
    auto data = std::make_unique<ClassData>();
    data->dataFolder = QString::fromLocal8Bit(argv[2]);
    if (!data->dataFolder.endsWith(QLatin1Char('/')))
        data->dataFolder += QLatin1Char('/');
    if (QString::fromLocal8Bit(argv[1]) == QLatin1String("recover")) {
        const auto outcome = SafeFile::Journal::recover(data->dataFolder);
        return outcome.state == SafeFile::Journal::Outcome::State::Failed ? 1 : 0;
    }
    data->subject = 3;  // 算数
    if (Status roster = RosterFile::load(*data); !roster) {
        std::fprintf(stderr, "%s\n", roster.message.toLocal8Bit().constData());
        return 1;
    }
    const Status done = change(QString::fromLocal8Bit(argv[1]), *data);
    if (!done) {
        std::fprintf(stderr, "%s\n", done.message.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
