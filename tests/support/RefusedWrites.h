#pragma once
// The two ways the tests make the operating system refuse a write: a lowered
// file-size limit (every write past it fails with EFBIG, no root needed) and a
// full disk (a small tmpfs filled to the last byte, ENOSPC; only where the tests
// run as root, skipped elsewhere). For the full disk the data folder of a TestEnv
// (and on request its settings file) is moved onto the small disk and left in
// place as a symbolic link, so every helper of TestEnv still finds the files.
//
// Use: addRows() in the _data function; in the test, RefusedWrites refused(env);
// SKIP_UNLESS_AVAILABLE(refused); set everything up; refused.start(); act;
// refused.stop(); check.

#include "FailingDisk.h"
#include "TestEnv.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <memory>

enum class Refusal { FileSizeLimit, FullDisk };
Q_DECLARE_METATYPE(Refusal)

class RefusedWrites {
public:
    static void addRows()
    {
        QTest::addColumn<Refusal>("refusal");
        QTest::newRow("file size limit") << Refusal::FileSizeLimit;
        QTest::newRow("full disk") << Refusal::FullDisk;
    }

    // `withSettings`: the settings file goes onto the small disk as well.
    RefusedWrites(Refusal how, TestEnv& env, bool withSettings = false) : how(how)
    {
        if (how != Refusal::FullDisk)
            return;
        disk = std::make_unique<SmallDisk>(512 * 1024, env.dir.path());
        if (!disk->available())
            return;
        moveOnto(env.dataFolder().chopped(1), disk->path() + QStringLiteral("data"));
        if (withSettings)
            moveOnto(env.settingsFile(), disk->path() + QStringLiteral("Kazane.ini"));
    }

    bool available() const { return how == Refusal::FileSizeLimit || (disk && disk->available()); }

    // From here on writes fail: past `limitBytes` bytes of any file, or on a disk
    // with `leaveOnDisk` bytes free.
    void start(qint64 limitBytes = 8, qint64 leaveOnDisk = 0)
    {
        if (how == Refusal::FileSizeLimit)
            limit = std::make_unique<FileSizeLimit>(limitBytes);
        else
            QVERIFY(disk->fill(leaveOnDisk));
    }

    void stop()
    {
        limit.reset();
        if (disk)
            disk->release();
    }

    ~RefusedWrites() { stop(); }

private:
    // Copies a file or a folder's files onto the disk and leaves a link behind.
    static void moveOnto(const QString& path, const QString& target)
    {
        if (QFileInfo(path).isDir()) {
            QDir().mkpath(target);
            for (const QString& name : QDir(path).entryList(QDir::Files | QDir::Hidden))
                QFile::copy(path + QLatin1Char('/') + name, target + QLatin1Char('/') + name);
            QDir(path).removeRecursively();
        } else if (QFileInfo::exists(path)) {
            QFile::copy(path, target);
            QFile::remove(path);
        }
        QFile::link(target, path);
    }

    Refusal how;
    std::unique_ptr<FileSizeLimit> limit;
    std::unique_ptr<SmallDisk> disk;
};

#define SKIP_UNLESS_AVAILABLE(refused)                                                    \
    do {                                                                                  \
        if (!(refused).available())                                                       \
            QSKIP("a small tmpfs cannot be mounted here (the tests do not run as root)"); \
    } while (false)

// A message for the teacher: Japanese throughout. File names stand between 「」;
// outside them no letter of the system's English text ("No space left on device",
// "Unknown error") may appear.
inline bool isJapaneseMessage(const QString& text)
{
    QString outside = text;
    outside.remove(QRegularExpression(QStringLiteral("「[^」]*」")));
    outside.remove(QStringLiteral("MB"));
    return !text.isEmpty() && !outside.contains(QRegularExpression(QStringLiteral("[A-Za-z]")));
}
