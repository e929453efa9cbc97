// Writes the system refuses, at the level of the files: the old file and its
// backup stay byte for byte, nothing is left behind, and the message is Japanese
// with the cause. The settings store is never cut short, and is written as
// QSettings writes it.

#include "RefusedWrites.h"
#include "model/SafeFile.h"
#include "model/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <sys/mount.h>
#include <sys/stat.h>

namespace {

QByteArray content(int bytes)
{
    QByteArray text;
    for (int line = 0; text.size() < bytes; ++line)
        text += QByteArray::number(line * 37 % 101) + "\r\n";
    return text.left(bytes);
}

}  // namespace

class SafeFileTest : public QObject {
    Q_OBJECT
private slots:
    // A write the system cuts short or refuses: the old file and its old backup
    // are kept byte for byte, no temporary file is left, and the message names
    // the file and the cause in Japanese.
    void refusedWriteKeepsFileAndBackup_data() { RefusedWrites::addRows(); }
    void refusedWriteKeepsFileAndBackup()
    {
        QFETCH(Refusal, refusal);
        TestEnv env;
        RefusedWrites refused(refusal, env);
        SKIP_UNLESS_AVAILABLE(refused);
        env.writeBytes(QStringLiteral("国語.dat"), content(300));
        env.writeBytes(QStringLiteral("国語.Bak"), content(200));
        const QString path = env.dataFolder() + QStringLiteral("国語.dat");
        const QStringList before = filesIn(env.dataFolder());

        // The first write goes part of the way (a short write), the next is refused.
        refused.start(1000, 1000);
        const Status written = SafeFile::write(path, content(9000));
        const Status withBackup =
            SafeFile::writeWithBackup(path, env.dataFolder() + QStringLiteral("国語.Bak"), content(9000));
        refused.stop();

        for (const Status& status : {written, withBackup}) {
            QVERIFY(!status.ok);
            QCOMPARE(status.message, QStringLiteral("ファイル「国語.dat」に書き込めませんでした。ディスクの空き容量が足りません。"
                                                    "ディスクがいっぱいになっていないか、読み取り専用になっていないかを確かめてください。"));
        }
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), content(300));
        QCOMPARE(env.readBytes(QStringLiteral("国語.Bak")), content(200));
        QCOMPARE(filesIn(env.dataFolder()), before);

        // With room again the same calls write everything.
        QVERIFY(SafeFile::writeWithBackup(path, env.dataFolder() + QStringLiteral("国語.Bak"), content(9000)).ok);
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), content(9000));
        QCOMPARE(env.readBytes(QStringLiteral("国語.Bak")), content(300));
    }

    // Each save leaves the content before it as the backup, byte for byte, as a
    // file of its own (a later save does not change it), and nothing else beside
    // them; also where the disk refuses a second name for the file (link() fails,
    // as on a FAT memory stick) and the backup is copied instead.
    void backupHoldsTheContentBefore_data()
    {
        QTest::addColumn<bool>("linksRefused");
        QTest::newRow("hard links") << false;
        QTest::newRow("links refused") << true;
    }
    void backupHoldsTheContentBefore()
    {
        QFETCH(bool, linksRefused);
        TestEnv env;
        const QString path = env.dataFolder() + QStringLiteral("国語.dat");
        const QString backup = env.dataFolder() + QStringLiteral("国語.Bak");
        QVERIFY(SafeFile::write(path, content(5000)).ok);
        QStringList files = filesIn(env.dataFolder()) << QStringLiteral("国語.Bak");
        files.sort();
        {
            std::unique_ptr<LinkLimit> limit;
            if (linksRefused) {
                limit = std::make_unique<LinkLimit>(path);
                if (!limit->available())
                    QSKIP("this file system has no limit of hard links to reach");
            }
            QVERIFY(SafeFile::writeWithBackup(path, backup, content(7000)).ok);
        }
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), content(7000));
        QCOMPARE(env.readBytes(QStringLiteral("国語.Bak")), content(5000));
        QVERIFY(SafeFile::writeWithBackup(path, backup, content(6000)).ok);
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), content(6000));
        QCOMPARE(env.readBytes(QStringLiteral("国語.Bak")), content(7000));
        for (const QString& file : {path, backup}) {
            struct stat info {};
            QCOMPARE(::stat(QFile::encodeName(file).constData(), &info), 0);
            QCOMPARE(info.st_nlink, nlink_t(1));
        }
        QStringList after = filesIn(env.dataFolder());
        after.sort();
        QCOMPARE(after, files);
    }

    // Where the backup has to be copied, a write the system refuses still keeps
    // the file and its old backup byte for byte, and leaves nothing behind.
    void refusedWriteWithoutLinksKeepsBoth()
    {
        TestEnv env;
        const QString path = env.dataFolder() + QStringLiteral("国語.dat");
        env.writeBytes(QStringLiteral("国語.dat"), content(300));
        env.writeBytes(QStringLiteral("国語.Bak"), content(200));
        const QStringList before = filesIn(env.dataFolder());
        LinkLimit limit(path);
        if (!limit.available())
            QSKIP("this file system has no limit of hard links to reach");
        Status status;
        {
            FileSizeLimit refused(1000);  // room for the copy of 300 bytes, not for 9000
            status = SafeFile::writeWithBackup(path, env.dataFolder() + QStringLiteral("国語.Bak"), content(9000));
        }
        QVERIFY(!status.ok);
        QVERIFY(status.message.contains(QStringLiteral("ディスクの空き容量が足りません")));
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), content(300));
        QCOMPARE(env.readBytes(QStringLiteral("国語.Bak")), content(200));
        QCOMPARE(filesIn(env.dataFolder()).filter(QStringLiteral("国語")), before.filter(QStringLiteral("国語")));
    }

    // The cause is read from the system: a read-only disk and a missing folder.
    void causesAreNamed()
    {
        TestEnv env;
        const Status missing = SafeFile::write(env.dir.path() + QStringLiteral("/ない/国語.dat"), content(10));
        QVERIFY(missing.message.contains(QStringLiteral("フォルダが見つかりません")));

        SmallDisk disk(64 * 1024, env.dir.path());
        if (!disk.available())
            QSKIP("a small tmpfs cannot be mounted here (the tests do not run as root)");
        const QString path = disk.path() + QStringLiteral("社会.dat");
        QVERIFY(SafeFile::write(path, content(40)).ok);
        const QByteArray mountPoint = QFile::encodeName(disk.path());
        QCOMPARE(::mount(nullptr, mountPoint.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
        const Status readOnly = SafeFile::write(path, content(80));
        ::mount(nullptr, mountPoint.constData(), nullptr, MS_REMOUNT, nullptr);
        QVERIFY(!readOnly.ok);
        QVERIFY2(readOnly.message.contains(QStringLiteral("ディスクが読み取り専用になっています")), qPrintable(readOnly.message));
        QVERIFY(isJapaneseMessage(readOnly.message));
        QByteArray kept;
        QVERIFY(SafeFile::read(path, kept).ok);
        QCOMPARE(kept, content(40));
    }

    // A settings file QSettings would cut short (it reports success) is left as
    // it was, and the failure is reported. With room again the file is written
    // exactly as QSettings writes the same values.
    void refusedSettingsWriteKeepsTheFile_data() { RefusedWrites::addRows(); }
    void refusedSettingsWriteKeepsTheFile()
    {
        QFETCH(Refusal, refusal);
        TestEnv env;
        RefusedWrites refused(refusal, env, true);
        SKIP_UNLESS_AVAILABLE(refused);
        env.writeSettings();
        env.settings->sync();
        QFile file(env.settingsFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        SettingsStore::Values values;
        for (int i = 0; i < 50; ++i)
            values.append({QStringLiteral("UseMode/Key%1").arg(i), QString(40, QLatin1Char('x'))});
        refused.start(before.size() + 100);
        const Status status = SettingsStore::write(*env.settings, values);
        refused.stop();
        QVERIFY(!status.ok);
        QVERIFY2(status.message.startsWith(QStringLiteral("設定を保存できませんでした。ファイル「Kazane.ini」に書き込めませんでした。"
                                                          "ディスクの空き容量が足りません。")),
                 qPrintable(status.message));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        file.close();
        QVERIFY(env.settings->value(QStringLiteral("UseMode/Key1")).isNull());

        values.append({QStringLiteral("UseMode/DataPath"), QStringLiteral("/tmp/ある, フォルダ/")});
        values.append({QStringLiteral("Other/Key"), QStringLiteral(" 前後に空白 ")});
        QVERIFY(SettingsStore::write(*env.settings, values).ok);
        QCOMPARE(env.settings->value(QStringLiteral("UseMode/Key1")).toString(), QString(40, QLatin1Char('x')));
        // QSettings writes the same values, read back from our file, byte for byte alike.
        const QString plain = env.dir.path() + QStringLiteral("/plain.ini");
        {
            QSettings ours(env.settingsFile(), QSettings::IniFormat);
            QSettings store(plain, QSettings::IniFormat);
            const QStringList keys = ours.allKeys();
            QCOMPARE(keys.size(), 5 + values.size());  // dataFolder was there already
            for (const QString& key : keys)
                store.setValue(key, ours.value(key));
        }
        QVERIFY(file.open(QIODevice::ReadOnly));
        QFile written(plain);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), written.readAll());
        QCOMPARE(QDir(env.dir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("Kazane")),
                 QStringList{QStringLiteral("Kazane.ini")});
    }

    // Folders the program makes (the data folder chosen in the settings, the
    // backup folder, the settings' folder) are synced into their parents, each
    // level made once; a folder that exists is left as it is, and a folder that
    // cannot be made is refused with its name.
    void foldersAreMadeAndSyncedLevelByLevel()
    {
        QTemporaryDir dir;
        const QString deepest = dir.path() + QStringLiteral("/データ/2026年度/４年１組");
        const qint64 before = SafeFile::syncCount();
        QVERIFY(SafeFile::makeFolders(deepest).ok);
        QVERIFY(QFileInfo(deepest).isDir());
        QCOMPARE(SafeFile::syncCount() - before, 3);
        QVERIFY(SafeFile::makeFolders(deepest + QStringLiteral("/")).ok);
        QCOMPARE(SafeFile::syncCount() - before, 3);

        QFile file(dir.path() + QStringLiteral("/メモ.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const Status refused = SafeFile::makeFolders(file.fileName() + QStringLiteral("/中"));
        QVERIFY(!refused.ok);
        QVERIFY2(refused.message.contains(QStringLiteral("中")), qPrintable(refused.message));
        QVERIFY(QFileInfo(file.fileName()).isFile());
    }
};

QTEST_MAIN(SafeFileTest)
#include "test_safe_file.moc"
