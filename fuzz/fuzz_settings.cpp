// Settings values: any settings file gives a usable model (units 1..9, a data
// folder ending in '/'); saving that model and reading it again gives the same.

#include "FuzzSupport.h"
#include "model/AppSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

namespace {

bool sameSettings(const ClassData& a, const ClassData& b)
{
    if (a.specialistMode != b.specialistMode || a.subject != b.subject || a.classNumber != b.classNumber
        || a.subjectInUse != b.subjectInUse || a.dataFolder != b.dataFolder || a.backupFolder != b.backupFolder || a.fixedValues != b.fixedValues
        || a.fileStem != b.fileStem)
        return false;
    for (int s = 1; s <= Limits::Units; ++s)
        if (a.criteria[s] != b.criteria[s])
            return false;
    return true;
}

// In memory where the system has a RAM disk: the store syncs every file it writes.
const QTemporaryDir& folder()
{
    static const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    static QTemporaryDir dir(base + QStringLiteral("/kazane-fuzz-settings-XXXXXX"));
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // New names each time: the settings store keeps files it has read in a cache.
    static int run = 0;
    ++run;
    const QString given = folder().filePath(QStringLiteral("given-%1.ini").arg(run));
    const QString saved = folder().filePath(QStringLiteral("saved-%1.ini").arg(run));
    {
        QFile file(given);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    }
    QFile::remove(saved);
    const QString program = folder().path() + QLatin1Char('/');

    static auto read = std::make_unique<ClassData>();
    static auto again = std::make_unique<ClassData>();
    *read = ClassData();
    *again = ClassData();
    {
        QSettings store(given, QSettings::IniFormat);
        AppSettings::read(*read, store, program);
    }
    FUZZ_CHECK(read->subject >= 1 && read->subject <= Limits::Units);
    FUZZ_CHECK(read->classNumber >= 1 && read->classNumber <= Limits::Units);
    FUZZ_CHECK(read->dataFolder.endsWith(QLatin1Char('/')));
    {
        QSettings store(saved, QSettings::IniFormat);
        AppSettings::save(*read, store);
        store.sync();
        FUZZ_CHECK(store.status() == QSettings::NoError);
    }
    {
        QSettings store(saved, QSettings::IniFormat);
        AppSettings::read(*again, store, program);
    }
    FUZZ_CHECK(sameSettings(*read, *again));
    QFile::remove(given);
    QFile::remove(saved);
    return 0;
}
