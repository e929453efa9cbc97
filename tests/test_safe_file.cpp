// Writes the system refuses, at the level of the files: the old file and its
// backup stay byte for byte, nothing is left behind, and the message is Japanese
// with the cause. Reads refuse what is no data file (a named pipe, a huge file, a
// folder) at once. The settings store is written as QSettings writes it, and
// never cut short.

#include "RefusedWrites.h"
#include "core/SafeFile.h"
#include "core/ScoreFile.h"
#include "core/SettingsStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QThread>
#include <QTest>

#include <atomic>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

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

    // A named pipe, a file of 9 MB and a folder where a score file should be are
    // refused before a byte is read, with a message naming the file; the pipe does
    // not hold the program (a writer opens it after two seconds, should the read
    // wait for one).
    void whatIsNoDataFileIsRefused()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        const QString pipe = env.dataFolder() + QStringLiteral("国語.dat");
        QFile::remove(pipe);
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
        std::atomic<bool> done{false};
        std::thread writer([&] {
            for (int i = 0; i < 200 && !done; ++i)
                QThread::msleep(10);
            const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        });
        QElapsedTimer clock;
        clock.start();
        const Status fromPipe = LoadScores(env.data);
        const qint64 waited = clock.elapsed();
        done = true;
        writer.join();
        QVERIFY(!fromPipe.ok);
        QVERIFY2(waited < 1000, qPrintable(QString::number(waited)));
        QCOMPARE(fromPipe.message, QStringLiteral("「国語.dat」は普通のファイルではない（フォルダや特殊なファイルです）ので、"
                                                  "読み込みませんでした。このファイルは書き換えていません。"));

        env.data.KyokaNumber = 2;
        env.writeBytes(QStringLiteral("社会.dat"), QByteArray(9 * 1024 * 1024, '0'));
        const Status huge = LoadScores(env.data);
        QVERIFY(!huge.ok);
        QVERIFY(huge.message.startsWith(QStringLiteral("データファイル「社会.dat」は大きすぎます（8 MB を超えています）。")));
        QVERIFY(isJapaneseMessage(huge.message));

        env.data.KyokaNumber = 3;
        QFile::remove(env.dataFolder() + QStringLiteral("算数.dat"));
        QDir().mkpath(env.dataFolder() + QStringLiteral("算数.dat"));
        QVERIFY(LoadScores(env.data).message.startsWith(QStringLiteral("「算数.dat」は普通のファイルではない")));
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
            QCOMPARE(keys.size(), 5 + values.size());  // DataPath was there already
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
};

QTEST_MAIN(SafeFileTest)
#include "test_safe_file.moc"
