// The settings store: the first run writes every key with its default, values are
// read back with their defaults when missing or not numbers, and the mode sets the
// file stems and the current unit.

#include "TestEnv.h"
#include "model/AppSettings.h"

#include <QFile>
#include <QTest>

class SettingsTest : public QObject {
    Q_OBJECT

    static QString value(QSettings& store, const QString& key)
    {
        return store.value(QStringLiteral("UseMode/") + key).toString();
    }

private slots:
    void firstRunWritesEveryKey()
    {
        TestEnv env;
        const Status status = AppSettings::load(env.data, *env.settings, env.dataFolder());
        QVERIFY(status.ok);
        QSettings& store = *env.settings;
        store.sync();
        store.beginGroup(QStringLiteral("UseMode"));
        const QStringList keys = store.childKeys();
        store.endGroup();
        int criteria = 0;
        for (const QString& key : keys)
            if (key.contains(QStringLiteral("Hyotei")))
                ++criteria;
        // 9 + 36 + 54 + 216 criteria keys and nine others: 324 keys in all.
        QCOMPARE(criteria, 315);
        QCOMPARE(keys.size(), 324);
        QCOMPARE(value(store, QStringLiteral("SenkaMode")), QStringLiteral("0"));
        QCOMPARE(value(store, QStringLiteral("KyokaNumber")), QStringLiteral("1"));
        QCOMPARE(value(store, QStringLiteral("ClassNumber")), QStringLiteral("1"));
        QCOMPARE(value(store, QStringLiteral("UseKyoka")), QStringLiteral("111111111"));
        QCOMPARE(value(store, QStringLiteral("DataPath")), env.dataFolder());
        QCOMPARE(value(store, QStringLiteral("BackupPath")), env.dataFolder());
        QCOMPARE(value(store, QStringLiteral("Kotei1")), QStringLiteral("60"));
        QCOMPARE(value(store, QStringLiteral("Kotei2")), QStringLiteral("80"));
        QCOMPARE(value(store, QStringLiteral("Kotei3")), QStringLiteral("100"));
        const QStringList defaults{"10", "30", "90", "30", "31", "7"};
        for (int s = 1; s <= 9; ++s) {
            QCOMPARE(value(store, QStringLiteral("sHyoteiMode%1").arg(s)), QStringLiteral("0"));
            for (int k = 1; k <= 6; ++k)
                QCOMPARE(value(store, QStringLiteral("sHyotei%1%2").arg(s).arg(k)), defaults[k - 1]);
            for (int v = 1; v <= 4; ++v) {
                QCOMPARE(value(store, QStringLiteral("rHyoteiMode%1%2").arg(s).arg(v)), QStringLiteral("0"));
                for (int k = 1; k <= 6; ++k)
                    QCOMPARE(value(store, QStringLiteral("rHyotei%1%2%3").arg(s).arg(v).arg(k)), defaults[k - 1]);
            }
        }
        QVERIFY(!env.data.specialistMode);
        QCOMPARE(env.data.subject, 1);
        QCOMPARE(env.data.fileStem[1], QStringLiteral("国語"));
        for (int i = 1; i <= 9; ++i)
            QCOMPARE(env.data.subjectInUse[i], 1);
        QCOMPARE(env.data.criteria[9].viewpoint(4).lowestSharePercent, 7);
    }

    void storedValuesAreRead()
    {
        TestEnv env;
        QSettings& store = *env.settings;
        store.setValue(QStringLiteral("UseMode/SenkaMode"), QStringLiteral("-1"));
        store.setValue(QStringLiteral("UseMode/KyokaNumber"), QStringLiteral("6"));
        store.setValue(QStringLiteral("UseMode/ClassNumber"), QStringLiteral("4"));
        store.setValue(QStringLiteral("UseMode/UseKyoka"), QStringLiteral("101"));
        store.setValue(QStringLiteral("UseMode/DataPath"), env.dir.path() + QStringLiteral("/data"));
        store.setValue(QStringLiteral("UseMode/Kotei1"), QStringLiteral("abc"));
        store.setValue(QStringLiteral("UseMode/Kotei2"), QStringLiteral("75"));
        store.setValue(QStringLiteral("UseMode/rHyotei324"), QStringLiteral("44"));
        store.setValue(QStringLiteral("UseMode/sHyoteiMode3"), QStringLiteral("2.5"));
        QVERIFY(AppSettings::load(env.data, store, env.programFolder()).ok);
        const ClassData& data = env.data;
        // Specialist mode: subject 音楽 is kept, the class is always the first one.
        QVERIFY(data.specialistMode);
        QCOMPARE(data.subject, 6);
        QCOMPARE(data.classNumber, 1);
        QCOMPARE(data.fileStem[1], QStringLiteral("４の１"));
        QCOMPARE(data.unitName(), QStringLiteral("４の１"));
        // "101": subjects 1 and 3 only; missing digits count 0.
        QCOMPARE(data.subjectInUse[1], 1);
        QCOMPARE(data.subjectInUse[2], 0);
        QCOMPARE(data.subjectInUse[3], 1);
        QCOMPARE(data.subjectInUse[4], 0);
        QCOMPARE(data.subjectInUse[9], 0);
        // A folder without its final separator gets one.
        QCOMPARE(data.dataFolder, env.dir.path() + QStringLiteral("/data/"));
        // A value that is not a number takes its default.
        QCOMPARE(data.fixedValues[1], 60);
        QCOMPARE(data.fixedValues[2], 75);
        QCOMPARE(data.criteria[3].overall().basis, GradeBasis::Rank);
        QCOMPARE(data.criteria[3].viewpoint(2).lowestUpToScore, 44);
        // The first run is not taken again: the stored values stay.
        QCOMPARE(value(store, QStringLiteral("Kotei1")), QStringLiteral("abc"));
    }

    void homeroomModeStartsOnTheFirstSubject()
    {
        TestEnv env;
        QSettings& store = *env.settings;
        store.setValue(QStringLiteral("UseMode/SenkaMode"), QStringLiteral("0"));
        store.setValue(QStringLiteral("UseMode/KyokaNumber"), QStringLiteral("7"));
        store.setValue(QStringLiteral("UseMode/ClassNumber"), QStringLiteral("5"));
        store.setValue(QStringLiteral("UseMode/DataPath"), env.dataFolder());
        QVERIFY(AppSettings::load(env.data, store, env.programFolder()).ok);
        QCOMPARE(env.data.subject, 1);
        QCOMPARE(env.data.classNumber, 5);
        QCOMPARE(env.data.fileStem[9], QStringLiteral("体育"));
        // With 国語 switched off the first subject in use is current.
        store.setValue(QStringLiteral("UseMode/UseKyoka"), QStringLiteral("001100000"));
        QVERIFY(AppSettings::load(env.data, store, env.programFolder()).ok);
        QCOMPARE(env.data.subject, 3);
    }

    void missingDataFolderIsReported()
    {
        TestEnv env;
        const QString missing = env.dir.path() + QStringLiteral("/nowhere");
        env.settings->setValue(QStringLiteral("UseMode/SenkaMode"), QStringLiteral("0"));
        env.settings->setValue(QStringLiteral("UseMode/DataPath"), missing);
        const Status status = AppSettings::load(env.data, *env.settings, env.programFolder());
        QVERIFY(!status.ok);
        QCOMPARE(status.message, missing + QStringLiteral("/というフォルダは存在しません．ﾌｧｲﾙの環境設定で正しいホルダを指定してください."));
        QCOMPARE(env.data.dataFolder, missing + QStringLiteral("/"));
    }

    void saveWritesTextForms()
    {
        TestEnv env;
        ClassData& data = env.data;
        data.specialistMode = true;
        data.subject = 6;
        data.classNumber = 2;
        data.subjectInUse = {0, 1, 0, 1, 0, 0, 0, 0, 0, 1};
        data.dataFolder = QStringLiteral("/tmp/ある/フォルダ/");
        data.backupFolder = QStringLiteral("/media/usb");
        data.fixedValues = {0, 55, 77, 99};
        data.criteria[2].groups[SubjectCriteria::Overall].basis = GradeBasis::Score;
        data.criteria[9].groups[4].lowestSharePercent = 12;
        AppSettings::save(data, *env.settings);
        QSettings reread(env.settingsFile(), QSettings::IniFormat);
        QCOMPARE(value(reread, QStringLiteral("SenkaMode")), QStringLiteral("-1"));
        QCOMPARE(value(reread, QStringLiteral("KyokaNumber")), QStringLiteral("6"));
        QCOMPARE(value(reread, QStringLiteral("ClassNumber")), QStringLiteral("2"));
        QCOMPARE(value(reread, QStringLiteral("UseKyoka")), QStringLiteral("101000001"));
        QCOMPARE(value(reread, QStringLiteral("DataPath")), QStringLiteral("/tmp/ある/フォルダ/"));
        QCOMPARE(value(reread, QStringLiteral("BackupPath")), QStringLiteral("/media/usb"));
        QCOMPARE(value(reread, QStringLiteral("Kotei3")), QStringLiteral("99"));
        QCOMPARE(value(reread, QStringLiteral("sHyoteiMode2")), QStringLiteral("1"));
        QCOMPARE(value(reread, QStringLiteral("rHyotei946")), QStringLiteral("12"));
    }

    // The criteria go from the settings file to their named thresholds and back
    // unchanged. The file was written by the program before the thresholds had
    // names: threshold k of subject s (viewpoint v) holds s v k as a number, the
    // even thresholds negative, and the bases include two the window cannot show.
    void criteriaRoundTripKeepsEveryKeyAndText()
    {
        const QByteArray before = fileBytes(QStringLiteral(TESTS_SOURCE_DIR "/data/criteria.ini"));
        QVERIFY(before.startsWith("[UseMode]\n"));
        TestEnv env;
        const QString given = env.dir.filePath(QStringLiteral("given.ini"));
        {
            QFile file(given);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
        }
        ClassData data;
        {
            QSettings store(given, QSettings::IniFormat);
            AppSettings::loadCriteria(data, store);
        }
        const GroupCriteria& overall3 = data.criteria[3].overall();
        QCOMPARE(overall3.basis, GradeBasis::Share);      // sHyoteiMode3=2
        QCOMPARE(overall3.bestUpToRank, 301);             // sHyotei31
        QCOMPARE(overall3.lowestFromRank, -302);          // sHyotei32
        QCOMPARE(overall3.bestFromScore, 303);            // sHyotei33
        QCOMPARE(overall3.lowestUpToScore, -304);         // sHyotei34
        QCOMPARE(overall3.bestSharePercent, 305);         // sHyotei35
        QCOMPARE(overall3.lowestSharePercent, -306);      // sHyotei36
        const GroupCriteria& viewpoint32 = data.criteria[3].viewpoint(2);
        QCOMPARE(int(viewpoint32.basis), -1);             // rHyoteiMode32=-1, kept as stored
        QCOMPARE(viewpoint32.bestUpToRank, 321);          // rHyotei321
        QCOMPARE(viewpoint32.lowestUpToScore, -324);      // rHyotei324
        QCOMPARE(viewpoint32.lowestSharePercent, -326);   // rHyotei326
        QCOMPARE(data.criteria[1].viewpoint(1).basis, GradeBasis::Score);  // rHyoteiMode11=1
        QCOMPARE(int(data.criteria[4].overall().basis), 3);    // sHyoteiMode4=3
        QCOMPARE(int(data.criteria[5].overall().basis), -1);   // sHyoteiMode5=-1
        QCOMPARE(data.criteria[9].viewpoint(4).bestSharePercent, 945);     // rHyotei945

        const QString written = env.dir.filePath(QStringLiteral("written.ini"));
        {
            QSettings store(written, QSettings::IniFormat);
            QVERIFY(AppSettings::saveCriteria(data, store).ok);
        }
        QCOMPARE(fileBytes(written), before);
    }
};

QTEST_MAIN(SettingsTest)
#include "test_settings.moc"
