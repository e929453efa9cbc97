// The installed program: `cmake --install` of this build into a temporary prefix,
// then the installed kazane-export and kazane run as a teacher's desktop would run
// them, with a home folder of their own. They must find their layouts and help in
// <prefix>/share/kazane and keep every file they write in the per-user folders,
// never beside the executable, even when (as here, as root) bin/ could be written.

#include "platform/HelpTopics.h"
#include "platform/ProgramFolder.h"
#include "TestEnv.h"

#include <QDirIterator>
#include <QProcess>
#include <QScopeGuard>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Every file under a folder (relative paths) with its size and time: what a run
// must leave alone.
QMap<QString, QString> treeState(const QString& root)
{
    QMap<QString, QString> state;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        state.insert(QDir(root).relativeFilePath(info.filePath()),
                     QStringLiteral("%1 %2").arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch()));
    }
    return state;
}

}  // namespace

class InstallTest : public QObject {
    Q_OBJECT

    QTemporaryDir root;
    QString prefix;
    QString home;

    QProcessEnvironment userEnvironment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/run"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return env;
    }
    QString userDataFolder() const { return home + QStringLiteral("/.local/share/Mevra/Kazane"); }

private slots:
    void initTestCase()
    {
        const QString cmake = QStandardPaths::findExecutable(QStringLiteral("cmake"));
        if (cmake.isEmpty())
            QSKIP("cmake is not installed");
        prefix = root.filePath(QStringLiteral("usr"));
        home = root.filePath(QStringLiteral("home"));
        QDir().mkpath(home + QStringLiteral("/run"));
        QFile::setPermissions(home + QStringLiteral("/run"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QProcess install;
        install.start(cmake, {QStringLiteral("--install"), TestEnv::buildFolder(), QStringLiteral("--prefix"), prefix});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());
    }

    // What a desktop needs of the package: the programs, the layouts, every page a
    // window opens, the menu entry, its metadata, the icon in every size and the
    // manual pages of kazane-export.
    void theInstalledTreeHoldsEverything()
    {
        QStringList expected{QStringLiteral("bin/kazane"), QStringLiteral("bin/kazane-export"),
                             QStringLiteral("share/applications/jp.mevra.kazane.desktop"),
                             QStringLiteral("share/metainfo/jp.mevra.kazane.metainfo.xml"),
                             QStringLiteral("share/icons/hicolor/scalable/apps/kazane.svg"),
                             QStringLiteral("share/man/man1/kazane-export.1.gz"),
                             QStringLiteral("share/man/ja/man1/kazane-export.1.gz")};
        for (const char* layout : {"testdisp", "kojin", "aryoiki", "Mente", "Shuseki"})
            expected << QStringLiteral("share/kazane/%1.rpt").arg(QLatin1String(layout));
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            expected << QStringLiteral("share/icons/hicolor/%1x%1/apps/kazane.png").arg(size);
        expected << QStringLiteral("share/kazane/help/") + HelpTopics::contentsPage();
        for (int topic : HelpTopics::numbers())
            expected << QStringLiteral("share/kazane/help/") + HelpTopics::pageOf(topic);
        for (const QString& path : expected)
            QVERIFY2(QFileInfo::exists(prefix + QLatin1Char('/') + path), qPrintable(path));
        QVERIFY(QFileInfo(prefix + QStringLiteral("/bin/kazane")).isExecutable());
    }

    // The folders the program works out for itself: installed, the resources are
    // in share/kazane and the program's folder is the user's, though bin/ is writable
    // here; in the build tree the resources are the build folder's, the program's
    // folder still the user's.
    void anInstalledProgramUsesTheUserFolder()
    {
        const QString bin = prefix + QStringLiteral("/bin");
        QVERIFY(ProgramFolder::isInstalled(bin));
        QCOMPARE(ProgramFolder::resourceFolderFor(bin), prefix + QStringLiteral("/share/kazane"));
        QCOMPARE(ProgramFolder::programFolderFor(bin), ProgramFolder::userFolder());
        QVERIFY(ProgramFolder::userFolder().endsWith(QStringLiteral("/Mevra/Kazane")));

        const QString build = TestEnv::buildFolder();
        QVERIFY(!ProgramFolder::isInstalled(build));
        QCOMPARE(ProgramFolder::resourceFolderFor(build), build);
        // Run from the build tree, the resources are read there but the class is
        // proposed in the user's folder: a rebuild or a new clone keeps it.
        QCOMPARE(ProgramFolder::programFolderFor(build), ProgramFolder::userFolder());
    }

    void theInstalledExportFindsItsLayouts()
    {
        QTemporaryDir work;
        const QString sample = QStringLiteral(TESTS_SOURCE_DIR "/data/sample");
        QDir().mkpath(work.filePath(QStringLiteral("data")));
        for (const QString& name : QDir(sample + QStringLiteral("/homeroom")).entryList(QDir::Files))
            QVERIFY(QFile::copy(sample + QStringLiteral("/homeroom/") + name, work.filePath(QStringLiteral("data/")) + name));
        const QMap<QString, QString> installed = treeState(prefix);

        QProcess help;
        help.setProcessEnvironment(userEnvironment());
        help.start(prefix + QStringLiteral("/bin/kazane-export"), {QStringLiteral("--help")});
        QVERIFY(help.waitForFinished(60000));
        QCOMPARE(help.exitCode(), 0);
        QVERIFY(QString::fromUtf8(help.readAllStandardOutput()).startsWith(QStringLiteral("使い方: kazane-export")));

        QProcess pack;
        pack.setProcessEnvironment(userEnvironment());
        pack.start(prefix + QStringLiteral("/bin/kazane-export"),
                   {QStringLiteral("--settings"), sample + QStringLiteral("/homeroom.ini"), QStringLiteral("--data"),
                    work.filePath(QStringLiteral("data")), QStringLiteral("--term-pack"), work.filePath(QStringLiteral("pack")),
                    QStringLiteral("--term"), QStringLiteral("1")});
        QVERIFY(pack.waitForFinished(120000));
        QVERIFY2(pack.exitCode() == 0, pack.readAllStandardError().constData());
        const QStringList made = QDir(work.filePath(QStringLiteral("pack"))).entryList({QStringLiteral("*.pdf")}, QDir::Files);
        QVERIFY(made.contains(QStringLiteral("国語_総合集計.pdf")));
        QVERIFY(made.contains(QStringLiteral("出欠_１学期集計_指導要録用.pdf")));
        QVERIFY(fileBytes(work.filePath(QStringLiteral("pack/国語_総合集計.pdf"))).startsWith("%PDF"));
        QCOMPARE(treeState(prefix), installed);
        QVERIFY(!QFileInfo::exists(userDataFolder()));  // the export only reads
    }

    // The installed kazane, first started by a new user: it runs, and its settings,
    // data files and lock land in the user's folders, nothing in the installed tree.
    void theInstalledProgramKeepsItsFilesInTheUserFolder()
    {
        const QMap<QString, QString> installed = treeState(prefix);
        QProcess kazane;
        const auto stop = qScopeGuard([&] {
            kazane.terminate();
            if (!kazane.waitForFinished(10000))
                kazane.kill();
            kazane.waitForFinished(10000);
        });
        kazane.setProcessEnvironment(userEnvironment());
        kazane.start(prefix + QStringLiteral("/bin/kazane"), QStringList());
        QVERIFY(kazane.waitForStarted());
        const QString data = userDataFolder();
        const QStringList wanted{QStringLiteral("shuketu.dat"), QStringLiteral("国語.dat"), QStringLiteral("体育.dat"),
                                 QStringLiteral("kazane.lock")};
        const auto allThere = [&] {
            for (const QString& name : wanted)
                if (!QFileInfo::exists(data + QLatin1Char('/') + name))
                    return false;
            return true;
        };
        QTRY_VERIFY_WITH_TIMEOUT(allThere() || kazane.state() != QProcess::Running, 30000);
        QVERIFY2(kazane.state() == QProcess::Running, kazane.readAllStandardError().constData());
        QVERIFY(allThere());

        QSettings settings(home + QStringLiteral("/.config/Mevra/Kazane.ini"), QSettings::IniFormat);
        QCOMPARE(QDir::cleanPath(settings.value(QStringLiteral("UseMode/DataPath")).toString()), data);
        QCOMPARE(treeState(prefix), installed);
    }
};

QTEST_GUILESS_MAIN(InstallTest)
#include "test_install.moc"
