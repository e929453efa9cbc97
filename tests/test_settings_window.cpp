// The environment settings window driven as a teacher drives it: a first start on
// an empty folder, a new class of names, the criteria of several subjects, the mode
// and the data folder; the settings store read back key by key and the files of
// the class byte for byte.

#include "SettingsControls.h"
#include "MainWindowControls.h"
#include "TestEnv.h"
#include "DataFiles.h"
#include "model/DataFolder.h"
#include "model/NewClass.h"
#include "app/SettingsWindow.h"
#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QInputMethodEvent>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <QToolBar>

using namespace MainControls;
using namespace SettingsControls;
using namespace DataFiles;

namespace {

const QString EnterNames = NewClass::namesMissingMessage();

// The threshold boxes of a criteria group, in the order of the store's keys.
const char* const ThresholdBoxes[6] = {"bestUpToRankBox",  "lowestFromRankBox",   "bestFromScoreBox",
                                       "lowestUpToScoreBox", "bestSharePercentBox", "lowestSharePercentBox"};

// The settings store as a second reader sees it on disk.
QString stored(TestEnv& env, const QString& key)
{
    env.settings->sync();
    QSettings store(env.settingsFile(), QSettings::IniFormat);
    return store.value(QStringLiteral("UseMode/") + key).toString();
}

int storedKeyCount(TestEnv& env)
{
    env.settings->sync();
    QSettings store(env.settingsFile(), QSettings::IniFormat);
    store.beginGroup(QStringLiteral("UseMode"));
    return int(store.childKeys().size());
}

QList<SettingsWindow*> openDialogs(MainWindow& window)
{
    QList<SettingsWindow*> found;
    for (QMdiSubWindow* frame : window.mdiArea()->subWindowList())
        if (auto* dialog = qobject_cast<SettingsWindow*>(frame->widget()))
            found.append(dialog);
    return found;
}

SettingsWindow* openSettings(MainWindow& window)
{
    menuEntry(window, "settingsAction")->trigger();
    const auto dialogs = openDialogs(window);
    return dialogs.size() == 1 ? dialogs.first() : nullptr;
}

// Japanese text arrives as the input method's commit, as it does from a teacher's IME.
void typeText(QWidget* box, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(box, &event);
}

void typeName(SettingsWindow* dialog, const QString& name)
{
    typeText(nameInput(dialog), name);
    QTest::keyClick(nameInput(dialog), Qt::Key_Return);
}

void setBox(QLineEdit* box, const QString& text)
{
    box->selectAll();
    typeText(box, text);
}

QByteArray roster(const QStringList& names)
{
    return crlf(rosterLines(names));
}

// The attendance file of a new class: every figure zero, in quotes.
QByteArray zeroAttendance(int pupils)
{
    return crlf(attendanceLines(attendanceYear(pupils), Quoting::Quoted));
}

}  // namespace

class SettingsWindowTest : public QObject {
    Q_OBJECT
private slots:
    // A new teacher on an empty store: the window opens by itself, refuses to close
    // without names, takes a class of three and writes its files.
    void firstStartEntersAClass()
    {
        TestEnv env;
        MainWindow& window = env.startMainWindow();
        const QString folder = env.programFolder() + QLatin1Char('/');
        auto dialogs = openDialogs(window);
        QCOMPARE(dialogs.size(), 1);
        SettingsWindow* dialog = dialogs.first();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("環境設定"));
        QCOMPARE(dataFolderInput(dialog)->text(), folder);
        QVERIFY(homeroomModeOption(dialog)->isChecked());
        QVERIFY(!subjectInChargeGroup(dialog)->isEnabled());
        QVERIFY(subjectsInUseGroup(dialog)->isEnabled());
        QVERIFY(!toolbarButton(window, "scoreEntryButton")->isEnabled());
        QCOMPARE(fileBytes(folder + QStringLiteral("shuketu.dat")), zeroAttendance(0));

        // 終了 without names keeps the window open, the same one, with the message.
        env.ui.clear();
        closeButton(dialog)->click();
        QCOMPARE(env.ui.messageTexts(), QStringList{EnterNames});
        QCOMPARE(openDialogs(window), QList<SettingsWindow*>{dialog});

        newClassButton(dialog)->click();
        QVERIFY(env.ui.messages.last().text.startsWith(QStringLiteral("新たなクラスを作ります.")));
        QCOMPARE(env.ui.messages.last().choices, (QStringList{"OK", "キャンセル"}));
        QCOMPARE(env.ui.messages.last().icon, Ui::Icon::Question);
        QVERIFY(dialog->enteringNames());
        QVERIFY(nameInput(dialog)->isEnabled() && nameInputCaption(dialog)->isVisible());
        QVERIFY(!closeButton(dialog)->isEnabled() && !closeAction(dialog)->isEnabled() && !newClassButton(dialog)->isEnabled());
        QVERIFY(!dataFolderGroup(dialog)->isEnabled() && !modeGroup(dialog)->isEnabled());
        for (const QString& name : {QStringLiteral("青木　一郎"), QStringLiteral("石田,花子"), QStringLiteral("上野　①")})
            typeName(dialog, name);
        QTest::keyClick(nameInput(dialog), Qt::Key_Return);  // empty: nothing
        typeName(dialog, QStringLiteral("  "));
        QCOMPARE(nameList(dialog)->count(), 3);
        QCOMPARE(pupilCountLabel(dialog)->text(), QStringLiteral("3"));

        // Closing the frame in the middle of the names is refused.
        dialog->subWindow()->close();
        QCOMPARE(openDialogs(window).size(), 1);

        endNameEntryButton(dialog)->click();
        QVERIFY(!dialog->enteringNames());
        QVERIFY(!nameInput(dialog)->isEnabled() && !nameInputCaption(dialog)->isVisible());
        QVERIFY(closeButton(dialog)->isEnabled() && newClassButton(dialog)->isEnabled() && !endNameEntryButton(dialog)->isEnabled());
        const QStringList names{QStringLiteral("青木　一郎"), QStringLiteral("石田,花子"), QStringLiteral("上野　①")};
        QCOMPARE(fileBytes(folder + QStringLiteral("Class.Nam")), roster(names));
        QVERIFY(!QFile::exists(folder + QStringLiteral("Class.NBk")));  // there was no class before
        QCOMPARE(fileBytes(folder + QStringLiteral("shuketu.dat")), zeroAttendance(3));
        QCOMPARE(fileBytes(folder + QStringLiteral("shuketu.bak")), zeroAttendance(0));
        for (const QString& subject : subjectStems())
            QCOMPARE(fileBytes(folder + subject + QStringLiteral(".dat")), QByteArray("0\r\n"));
        QCOMPARE(env.data.pupilCount, 3);

        closeButton(dialog)->click();
        QVERIFY(openDialogs(window).isEmpty());
        QCOMPARE(env.data.pupilCount, 3);
        QCOMPARE(env.data.pupilName[2], QStringLiteral("石田,花子"));
        QVERIFY(toolbarButton(window, "scoreEntryButton")->isEnabled());
        QVERIFY(!toolbarButton(window, "printButton")->isEnabled());
        QCOMPARE(storedKeyCount(env), 324);
        QCOMPARE(stored(env, QStringLiteral("SenkaMode")), QStringLiteral("0"));
        QCOMPARE(stored(env, QStringLiteral("DataPath")), folder);
        QCOMPARE(stored(env, QStringLiteral("UseKyoka")), QStringLiteral("111111111"));
    }

    // A new class over an existing one: the old files go to their backups, the
    // class files are emptied, then the names are written.
    void newClassKeepsTheOldFilesInBackups()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
        env.writeFile(QStringLiteral("算数.dat"), scoreLines({{QStringLiteral("小テスト"), {{1, 10, {8, -1}}}}}));
        const QByteArray oldRoster = env.readBytes(QStringLiteral("Class.Nam"));
        const QByteArray oldScores = env.readBytes(QStringLiteral("算数.dat"));
        const QByteArray oldAttendance = env.readBytes(QStringLiteral("shuketu.dat"));
        MainWindow& window = env.startMainWindow();
        SettingsWindow* dialog = openSettings(window);
        QVERIFY(dialog);
        QCOMPARE(nameList(dialog)->count(), 2);
        QCOMPARE(pupilCountLabel(dialog)->text(), QStringLiteral("2"));

        env.ui.choices = {1};  // キャンセル
        newClassButton(dialog)->click();
        QVERIFY(!dialog->enteringNames());
        QCOMPARE(env.readBytes(QStringLiteral("Class.Nam")), oldRoster);
        QVERIFY(!env.exists(QStringLiteral("Class.NBk")));

        newClassButton(dialog)->click();
        QVERIFY(dialog->enteringNames());
        QCOMPARE(nameList(dialog)->count(), 0);
        QCOMPARE(env.readBytes(QStringLiteral("Class.NBk")), oldRoster);
        QCOMPARE(env.readBytes(QStringLiteral("Class.Nam")), QByteArray("0\r\n"));
        QCOMPARE(env.readBytes(QStringLiteral("算数.Bak")), oldScores);
        QCOMPARE(env.readBytes(QStringLiteral("国語.Bak")), QByteArray("0\r\n"));
        for (const QString& subject : subjectStems())
            QCOMPARE(env.readBytes(subject + QStringLiteral(".dat")), QByteArray("0\r\n"));
        QCOMPARE(env.readBytes(QStringLiteral("shuketu.bak")), oldAttendance);
        QVERIFY(!env.exists(QStringLiteral("shuketu.dat")));

        for (const QString& name : {QStringLiteral("上田"), QStringLiteral("江藤"), QStringLiteral("小野")})
            typeName(dialog, name);
        endNameEntryButton(dialog)->click();
        QCOMPARE(env.readBytes(QStringLiteral("Class.Nam")), roster({QStringLiteral("上田"), QStringLiteral("江藤"), QStringLiteral("小野")}));
        QCOMPARE(env.readBytes(QStringLiteral("Class.bak")), QByteArray("0\r\n"));
        QCOMPARE(env.readBytes(QStringLiteral("Class.NBk")), oldRoster);
        QCOMPARE(env.readBytes(QStringLiteral("shuketu.dat")), zeroAttendance(3));
        QCOMPARE(env.data.pupilCount, 3);
    }

    // A new class that cannot be written completely changes nothing: the files
    // emptied so far are put back and the window stays out of name entry.
    void newClassIsAllOrNothing()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
        env.writeFile(QStringLiteral("国語.dat"), scoreLines({{QStringLiteral("漢字"), {{1, 10, {8, 9}}}}}));
        MainWindow& window = env.startMainWindow();
        const QByteArray oldRoster = env.readBytes(QStringLiteral("Class.Nam"));
        const QByteArray oldScores = env.readBytes(QStringLiteral("国語.dat"));
        const QByteArray oldAttendance = env.readBytes(QStringLiteral("shuketu.dat"));
        QVERIFY(QFile::remove(env.dataFolder() + QStringLiteral("体育.dat")));
        QDir().mkpath(env.dataFolder() + QStringLiteral("体育.dat"));  // cannot be written as a file
        SettingsWindow* dialog = openSettings(window);
        env.ui.clear();
        newClassButton(dialog)->click();
        QCOMPARE(env.ui.messages.size(), 2);
        QVERIFY(env.ui.messages.last().text.contains(QStringLiteral("体育.dat")));
        QVERIFY(env.ui.messages.last().text.endsWith(QStringLiteral("新規クラスは作成されていません。")));
        QVERIFY(!dialog->enteringNames());
        QCOMPARE(nameList(dialog)->count(), 2);
        QCOMPARE(env.data.pupilCount, 2);
        QCOMPARE(env.readBytes(QStringLiteral("Class.Nam")), oldRoster);
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), oldScores);
        QCOMPARE(env.readBytes(QStringLiteral("shuketu.dat")), oldAttendance);
    }

    // Ending the program in the middle of the names keeps the names typed so far.
    void programEndKeepsTypedNames()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        MainWindow& window = env.startMainWindow();
        SettingsWindow* dialog = openSettings(window);
        newClassButton(dialog)->click();
        typeName(dialog, QStringLiteral("上田"));
        typeName(dialog, QStringLiteral("江藤"));
        env.ui.clear();
        window.close();
        QCOMPARE(env.ui.messageTexts(), QStringList());
        QCOMPARE(env.readBytes(QStringLiteral("Class.Nam")), roster({QStringLiteral("上田"), QStringLiteral("江藤")}));
        QCOMPARE(env.readBytes(QStringLiteral("shuketu.dat")), zeroAttendance(2));
    }

    // The list holds 45 names; a 46th and names the roster cannot hold are refused
    // with a message and the text stays in the box.
    void refusesNamesTheRosterCannotHold()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        SettingsWindow* dialog = openSettings(env.startMainWindow());
        newClassButton(dialog)->click();
        for (const QString& bad : {QStringLiteral("山田\"太郎"), QStringLiteral("𠮷田"), QStringLiteral("Ｋim 😀")}) {
            env.ui.clear();
            typeName(dialog, bad);
            QCOMPARE(env.ui.messages.size(), 1);
            QVERIFY(env.ui.messages.first().text.startsWith(QStringLiteral("氏名「%1」は保存できません。").arg(bad)));
            QCOMPARE(nameInput(dialog)->text(), bad);
            QCOMPARE(nameList(dialog)->count(), 0);
            nameInput(dialog)->clear();
        }
        const QStringList names = pupilNames(45);
        for (const QString& name : names)
            typeName(dialog, name);
        env.ui.clear();
        typeName(dialog, QStringLiteral("四十六番"));
        QCOMPARE(env.ui.messageTexts(), QStringList{QStringLiteral("１クラスの人数は45人までです。これ以上の氏名は入力できません。")});
        QCOMPARE(nameList(dialog)->count(), 45);
        QCOMPARE(pupilCountLabel(dialog)->text(), QStringLiteral("45"));
        nameInput(dialog)->clear();
        endNameEntryButton(dialog)->click();
        QCOMPARE(env.readBytes(QStringLiteral("Class.Nam")), roster(names));
        QCOMPARE(env.readLines(QStringLiteral("shuketu.dat")).size(), 12 * 46);
    }

    // Specialist mode: only the current class's roster and score file are renewed,
    // the attendance file of the folder is left alone.
    void specialistNewClassRenewsOneClass()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")}, true);
        env.writeFile(QStringLiteral("４の２.nam"), rosterLines({QStringLiteral("木村")}));
        env.writeFile(QStringLiteral("４の１.dat"), scoreLines({{QStringLiteral("歌"), {{1, 10, {9, 7}}}}}));
        env.writeFile(QStringLiteral("shuketu.dat"), {QStringLiteral("0")});
        const QByteArray oldRoster = env.readBytes(QStringLiteral("４の１.nam"));
        const QByteArray oldScores = env.readBytes(QStringLiteral("４の１.dat"));
        const QByteArray otherClass = env.readBytes(QStringLiteral("４の２.nam"));
        SettingsWindow* dialog = openSettings(env.startMainWindow());
        QVERIFY(specialistModeOption(dialog)->isChecked());
        QVERIFY(subjectInChargeGroup(dialog)->isEnabled() && !subjectsInUseGroup(dialog)->isEnabled());
        newClassButton(dialog)->click();
        QCOMPARE(env.readBytes(QStringLiteral("４の１.NBk")), oldRoster);
        QCOMPARE(env.readBytes(QStringLiteral("４の１.Bak")), oldScores);
        QCOMPARE(env.readBytes(QStringLiteral("４の１.dat")), QByteArray("0\r\n"));
        typeName(dialog, QStringLiteral("中村"));
        endNameEntryButton(dialog)->click();
        QCOMPARE(env.readBytes(QStringLiteral("４の１.nam")), roster({QStringLiteral("中村")}));
        QCOMPARE(env.readBytes(QStringLiteral("４の２.nam")), otherClass);
        QCOMPARE(env.readBytes(QStringLiteral("shuketu.dat")), crlf({QStringLiteral("0")}));
        QVERIFY(!env.exists(QStringLiteral("shuketu.bak")));
        closeButton(dialog)->click();  // specialist mode closes even for a small class
        QVERIFY(openDialogs(*env.mainWindow()).isEmpty());
    }

    // The criteria of several subjects live in the window until 終了 stores them all.
    void criteriaOfSeveralSubjects()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        SettingsWindow* dialog = openSettings(env.startMainWindow());
        QCOMPARE(criteriaSubjectBox(dialog)->currentText(), QStringLiteral("国語"));
        QCOMPARE(criteriaGroup(dialog, 1)->title(), QStringLiteral("観点Ⅰ関心,意欲,態度"));
        QVERIFY(thresholdBox(dialog, 0, "bestUpToRankBox")->isEnabled() && thresholdBox(dialog, 0, "lowestFromRankBox")->isEnabled()
                && !thresholdBox(dialog, 0, "bestFromScoreBox")->isEnabled());
        setBox(thresholdBox(dialog, 0, "bestUpToRankBox"), QStringLiteral("5"));

        chooseSubject(dialog, 3);
        QCOMPARE(dialog->editedSubject(), 3);
        QCOMPARE(criteriaGroup(dialog, 2)->title(), QStringLiteral("観点Ⅱ数学的な考え方"));
        QCOMPARE(thresholdBox(dialog, 0, "bestUpToRankBox")->text(), QStringLiteral("10"));
        // 点数で for viewpoint Ⅱ enables exactly its 点以上がＡ and 点以下がＣ.
        basisOption(dialog, 2, "scoreOption")->click();
        for (int v = 1; v <= 4; ++v)
            for (const char* box : ThresholdBoxes) {
                const QString name = QLatin1String(box);
                const bool expected = v == 2 ? name.contains(QLatin1String("Score")) : name.contains(QLatin1String("Rank"));
                QVERIFY2(thresholdBox(dialog, v, box)->isEnabled() == expected, qPrintable(QStringLiteral("%1 %2").arg(v).arg(name)));
            }
        setBox(thresholdBox(dialog, 2, "bestFromScoreBox"), QStringLiteral("８５"));  // full-width digits
        basisOption(dialog, 0, "shareOption")->click();
        QVERIFY(thresholdBox(dialog, 0, "bestSharePercentBox")->isEnabled() && thresholdBox(dialog, 0, "lowestSharePercentBox")->isEnabled()
                && !thresholdBox(dialog, 0, "bestUpToRankBox")->isEnabled());
        setBox(thresholdBox(dialog, 0, "bestSharePercentBox"), QStringLiteral("20"));

        chooseSubject(dialog, 5);
        QCOMPARE(criteriaGroup(dialog, 4)->title(), QStringLiteral("観点Ⅳ"));  // 生活 has three viewpoints
        chooseSubject(dialog, 1);
        QCOMPARE(thresholdBox(dialog, 0, "bestUpToRankBox")->text(), QStringLiteral("5"));
        QVERIFY(basisOption(dialog, 0, "rankOption")->isChecked());
        chooseSubject(dialog, 3);
        QVERIFY(basisOption(dialog, 2, "scoreOption")->isChecked() && basisOption(dialog, 0, "shareOption")->isChecked());
        QCOMPARE(thresholdBox(dialog, 2, "bestFromScoreBox")->text(), QStringLiteral("85"));

        closeButton(dialog)->click();
        QVERIFY(openDialogs(*env.mainWindow()).isEmpty());
        QCOMPARE(storedKeyCount(env), 324);
        QCOMPARE(stored(env, QStringLiteral("sHyotei11")), QStringLiteral("5"));
        QCOMPARE(stored(env, QStringLiteral("sHyoteiMode3")), QStringLiteral("2"));
        QCOMPARE(stored(env, QStringLiteral("sHyotei35")), QStringLiteral("20"));
        QCOMPARE(stored(env, QStringLiteral("rHyoteiMode32")), QStringLiteral("1"));
        QCOMPARE(stored(env, QStringLiteral("rHyotei323")), QStringLiteral("85"));
        QCOMPARE(stored(env, QStringLiteral("rHyoteiMode31")), QStringLiteral("0"));
        QCOMPARE(stored(env, QStringLiteral("rHyotei324")), QStringLiteral("30"));
        QCOMPARE(stored(env, QStringLiteral("sHyotei21")), QStringLiteral("10"));
        QCOMPARE(env.data.criteria[1].overall().bestUpToRank, 5);
        QCOMPARE(env.data.criteria[3].viewpoint(2).bestFromScore, 85);
    }

    // Every box of every group holds its own threshold: a value typed into each
    // lands in its field of the model and under its key of the store (the digit k
    // of "sHyotei" + s + k and "rHyotei" + s + v + k counts the boxes in their order).
    void everyBoxHoldsItsOwnThreshold()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        SettingsWindow* dialog = openSettings(env.startMainWindow());
        chooseSubject(dialog, 4);
        static const char* const options[3] = {"rankOption", "scoreOption", "shareOption"};
        // Group g's box k gets 10 g + k; each basis is chosen before its boxes are typed.
        for (int group = 0; group <= 4; ++group)
            for (int k = 1; k <= 6; ++k) {
                if (k % 2 == 1)
                    basisOption(dialog, group, options[k / 2])->click();
                setBox(thresholdBox(dialog, group, ThresholdBoxes[k - 1]), QString::number(10 * group + k));
            }
        closeButton(dialog)->click();
        QVERIFY(openDialogs(*env.mainWindow()).isEmpty());
        int GroupCriteria::*const fields[6] = {&GroupCriteria::bestUpToRank,     &GroupCriteria::lowestFromRank,
                                               &GroupCriteria::bestFromScore,    &GroupCriteria::lowestUpToScore,
                                               &GroupCriteria::bestSharePercent, &GroupCriteria::lowestSharePercent};
        for (int group = 0; group <= 4; ++group) {
            const GroupCriteria& held = env.data.criteria[4].groups[group];
            QCOMPARE(int(held.basis), int(GradeBasis::Share));
            for (int k = 1; k <= 6; ++k) {
                QCOMPARE(held.*fields[k - 1], 10 * group + k);
                const QString key = group == 0 ? QStringLiteral("sHyotei4%1").arg(k) : QStringLiteral("rHyotei4%1%2").arg(group).arg(k);
                QCOMPARE(stored(env, key), QString::number(10 * group + k));
            }
        }
        QVERIFY(env.data.criteria[3] == SubjectCriteria());
    }

    // The settings file after 終了 is the one the program has always written for
    // the same choices, byte for byte.
    void settingsFileAsWritten()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        SettingsWindow* dialog = openSettings(env.startMainWindow());
        subjectInUseBox(dialog, 7)->click();
        setBox(thresholdBox(dialog, 0, "bestUpToRankBox"), QStringLiteral("5"));
        basisOption(dialog, 3, "shareOption")->click();
        setBox(thresholdBox(dialog, 3, "bestSharePercentBox"), QStringLiteral("２５"));
        setBox(thresholdBox(dialog, 3, "lowestSharePercentBox"), QStringLiteral("10"));
        chooseSubject(dialog, 3);
        basisOption(dialog, 0, "scoreOption")->click();
        setBox(thresholdBox(dialog, 0, "bestFromScoreBox"), QStringLiteral("85"));
        setBox(thresholdBox(dialog, 0, "lowestUpToScoreBox"), QStringLiteral("40"));
        setBox(viewpointNameInput(dialog, 2), QStringLiteral("数学的な思考・表現"));
        chooseSubject(dialog, 9);
        setBox(viewpointNameInput(dialog, 4), QStringLiteral("健康・安全"));
        closeButton(dialog)->click();
        QVERIFY(openDialogs(*env.mainWindow()).isEmpty());
        env.settings->sync();
        QByteArray expected = fileBytes(QStringLiteral(TESTS_SOURCE_DIR "/data/settings-after-close.ini"));
        QVERIFY(!expected.isEmpty());
        expected.replace("@FOLDER@", env.dir.path().toUtf8());
        QCOMPARE(fileBytes(env.settingsFile()), expected);
    }

    // A box without a sensible whole number keeps the window open with a message
    // naming the subject and the box; nothing is stored.
    void refusesThresholdsThatMakeNoSense()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        SettingsWindow* dialog = openSettings(env.startMainWindow());
        subjectInUseBox(dialog, 9)->click();
        struct Case {
            int subject;
            QLineEdit* box;
            QString text;
            QString message;
        };
        const QList<Case> cases{
            {1, thresholdBox(dialog, 0, "bestUpToRankBox"), QStringLiteral("abc"), QStringLiteral("「国語」の評定基準「総合」の「位以内が３」には整数を入力してください。")},
            {1, thresholdBox(dialog, 0, "lowestFromRankBox"), QStringLiteral("-1"), QStringLiteral("「国語」の評定基準「総合」の「位以下が１」には0以上の順位を入力してください。")},
            {4, thresholdBox(dialog, 1, "bestFromScoreBox"), QStringLiteral("101"), QStringLiteral("「理科」の評定基準「観点Ⅰ」の「点以上がＡ」には100以下の点数を入力してください。")},
            {4, thresholdBox(dialog, 4, "lowestSharePercentBox"), QStringLiteral("-5"), QStringLiteral("「理科」の評定基準「観点Ⅳ」の「％がＣ」には0から100までの数を入力してください。")},
            {2, thresholdBox(dialog, 2, "bestUpToRankBox"), QStringLiteral("1.5"), QStringLiteral("「社会」の評定基準「観点Ⅱ」の「位以内がＡ」には整数を入力してください。")},
        };
        for (const Case& c : cases) {
            chooseSubject(dialog, c.subject);
            const QString before = c.box->text();
            c.box->setText(c.text);
            env.ui.clear();
            closeButton(dialog)->click();
            QCOMPARE(env.ui.messageTexts(), QStringList{c.message});
            if (c.box->isEnabled())  // the box to correct, when its basis is chosen
                QCOMPARE(c.box->window()->focusWidget(), c.box);
            QCOMPARE(openDialogs(*env.mainWindow()).size(), 1);
            QCOMPARE(stored(env, QStringLiteral("UseKyoka")), QStringLiteral("111111111"));
            // Switching the subject is refused the same way.
            env.ui.clear();
            QTest::keyClick(criteriaSubjectBox(dialog), c.subject == 9 ? Qt::Key_Up : Qt::Key_Down);
            QCOMPARE(env.ui.messageTexts(), QStringList{c.message});
            QCOMPARE(criteriaSubjectBox(dialog)->currentIndex(), c.subject - 1);
            QCOMPARE(dialog->editedSubject(), c.subject);
            c.box->setText(before);
        }
        closeButton(dialog)->click();
        QVERIFY(openDialogs(*env.mainWindow()).isEmpty());
        QCOMPARE(stored(env, QStringLiteral("UseKyoka")), QStringLiteral("111111110"));

        // A stored threshold that makes no sense is shown with its subject on 終了.
        env.settings->setValue(QStringLiteral("UseMode/rHyotei523"), QStringLiteral("150"));
        env.mainWindow()->loadSettings();
        dialog = openSettings(*env.mainWindow());
        env.ui.clear();
        closeButton(dialog)->click();
        QCOMPARE(env.ui.messageTexts(),
                 QStringList{QStringLiteral("「生活」の評定基準「観点Ⅱ」の「点以上がＡ」には100以下の点数を入力してください。")});
        QCOMPARE(dialog->editedSubject(), 5);
        QCOMPARE(criteriaSubjectBox(dialog)->currentText(), QStringLiteral("生活"));
        QCOMPARE(thresholdBox(dialog, 2, "bestFromScoreBox")->text(), QStringLiteral("150"));
    }

    // Homeroom to specialist with 音楽 in charge and back: the main window follows
    // at once.
    void modeSwitchReachesTheMainWindow()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
        MainWindow& window = env.startMainWindow();
        SettingsWindow* dialog = openSettings(window);
        specialistModeOption(dialog)->click();
        QVERIFY(subjectInChargeGroup(dialog)->isEnabled() && !subjectsInUseGroup(dialog)->isEnabled());
        QVERIFY(!env.data.specialistMode);  // not before 終了
        subjectInChargeOption(dialog, 6)->click();
        // A new class waits until the chosen mode is saved.
        env.ui.clear();
        newClassButton(dialog)->click();
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY(!dialog->enteringNames());
        QCOMPARE(env.readBytes(QStringLiteral("Class.Nam")), roster({QStringLiteral("青木"), QStringLiteral("石田")}));
        env.ui.clear();
        closeButton(dialog)->click();
        QCOMPARE(env.ui.messageTexts(), QStringList());  // the new class rosters are made, not missed
        QVERIFY(openDialogs(window).isEmpty());
        QCOMPARE(stored(env, QStringLiteral("SenkaMode")), QStringLiteral("-1"));
        QCOMPARE(stored(env, QStringLiteral("KyokaNumber")), QStringLiteral("6"));
        QVERIFY(env.data.specialistMode);
        QCOMPARE(env.data.subject, 6);
        QCOMPARE(env.data.classNumber, 1);
        QCOMPARE(env.data.fileStem[1], QStringLiteral("４の１"));
        QCOMPARE(env.data.unitName(), QStringLiteral("４の１"));
        QVERIFY(menu(window, "classMenu")->menuAction()->isVisible() && !menu(window, "subjectMenu")->menuAction()->isVisible());
        QVERIFY(toolbar(window, "classBar")->isVisibleTo(&window) && !toolbar(window, "subjectBar")->isVisibleTo(&window));
        QVERIFY(!menuEntry(window, "attendanceAction")->isEnabled());
        QVERIFY(DataFolder::exists(env.dataFolder(), QStringLiteral("４の１.nam")) && env.exists(QStringLiteral("６の３.dat")));
        QCOMPARE(env.data.pupilCount, 0);

        dialog = openSettings(window);
        QVERIFY(subjectInChargeOption(dialog, 6)->isChecked());
        homeroomModeOption(dialog)->click();
        closeButton(dialog)->click();
        QVERIFY(openDialogs(window).isEmpty());
        QVERIFY(!env.data.specialistMode);
        QCOMPARE(env.data.fileStem[1], QStringLiteral("国語"));
        QCOMPARE(env.data.subject, 1);
        QVERIFY(subjectEntry(window, 1)->isChecked());
        QVERIFY(menu(window, "subjectMenu")->menuAction()->isVisible() && toolbar(window, "subjectBar")->isVisibleTo(&window));
        QVERIFY(menuEntry(window, "attendanceAction")->isEnabled());
        QCOMPARE(env.data.pupilCount, 2);

        // A mode chosen and then abandoned with the frame's close changes nothing.
        dialog = openSettings(window);
        specialistModeOption(dialog)->click();
        dialog->subWindow()->close();
        QVERIFY(openDialogs(window).isEmpty());
        QVERIFY(!env.data.specialistMode && toolbar(window, "subjectBar")->isVisibleTo(&window));
        QCOMPARE(stored(env, QStringLiteral("SenkaMode")), QStringLiteral("0"));
    }

    // The data folder: picked, created on request, refused when not created, and a
    // new folder asks for the class's names.
    void dataFolderChoice()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        MainWindow& window = env.startMainWindow();
        SettingsWindow* dialog = openSettings(window);
        const QString fresh = env.dir.path() + QStringLiteral("/新しいフォルダ");
        env.ui.folders = {fresh};
        browseButton(dialog)->click();
        QCOMPARE(env.ui.folderTitles, QStringList{QStringLiteral("成績データを格納するフォルダを指定して下さい。")});
        QCOMPARE(dataFolderInput(dialog)->text(), fresh);
        browseButton(dialog)->click();  // cancelled: the box keeps the folder
        QCOMPARE(dataFolderInput(dialog)->text(), fresh);

        // A new class waits until the changed folder is saved.
        env.ui.clear();
        newClassButton(dialog)->click();
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY(!dialog->enteringNames());

        env.ui.clear();
        env.ui.answers = {Ui::Answer::No};
        closeButton(dialog)->click();
        QCOMPARE(env.ui.messageTexts(), QStringList{QStringLiteral("指定されたホルダ－は存在しません。作成しますか？")});
        QCOMPARE(env.ui.messages.first().buttons, Ui::Buttons::YesNo);
        QVERIFY(!QFileInfo::exists(fresh));
        QCOMPARE(env.data.dataFolder, env.dataFolder());
        QCOMPARE(stored(env, QStringLiteral("DataPath")), env.dataFolder());

        env.ui.clear();
        closeButton(dialog)->click();  // Yes
        QVERIFY(QFileInfo(fresh).isDir());
        QCOMPARE(env.data.dataFolder, fresh + QLatin1Char('/'));
        QCOMPARE(stored(env, QStringLiteral("DataPath")), fresh + QLatin1Char('/'));
        QCOMPARE(env.ui.messageTexts().last(), EnterNames);
        QCOMPARE(openDialogs(window), QList<SettingsWindow*>{dialog});
        QCOMPARE(nameList(dialog)->count(), 0);
        QCOMPARE(fileBytes(fresh + QStringLiteral("/国語.dat")), QByteArray("0\r\n"));
        QVERIFY(!toolbarButton(window, "settingsButton")->isEnabled());

        newClassButton(dialog)->click();
        typeName(dialog, QStringLiteral("原田"));
        endNameEntryButton(dialog)->click();
        QCOMPARE(fileBytes(fresh + QStringLiteral("/Class.Nam")), roster({QStringLiteral("原田")}));
        QCOMPARE(env.readBytes(QStringLiteral("Class.Nam")), roster({QStringLiteral("青木")}));
        closeButton(dialog)->click();
        QVERIFY(openDialogs(window).isEmpty());

        // An empty folder box is answered with a message.
        dialog = openSettings(window);
        dataFolderInput(dialog)->clear();
        env.ui.clear();
        closeButton(dialog)->click();
        QCOMPARE(env.ui.messageTexts(), QStringList{QStringLiteral("データ保存フォルダを指定してください。")});
        QCOMPARE(openDialogs(window).size(), 1);
    }

    // Help, the menu entry 終了, the main window's commands while the window is open.
    void helpMenuAndCommands()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        MainWindow& window = env.startMainWindow();
        SettingsWindow* dialog = openSettings(window);
        for (const char* key : {"scoreEntryButton", "settingsButton", "rosterButton"})
            QVERIFY(!toolbarButton(window, key)->isEnabled());
        QVERIFY(toolbarButton(window, "endButton")->isEnabled());
        QVERIFY(!subjectButton(window, 1)->isEnabled());
        helpButton(dialog)->click();
        QCOMPARE(env.ui.helpTopics, QList<int>{4});
        // A box that gets the focus selects its whole text.
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        thresholdBox(dialog, 0, "lowestFromRankBox")->setFocus();
        QTRY_COMPARE(thresholdBox(dialog, 0, "lowestFromRankBox")->selectedText(), QStringLiteral("30"));
        // Alt+X is the window's 終了(&X).
        QTest::keyClick(thresholdBox(dialog, 0, "lowestFromRankBox"), Qt::Key_X, Qt::AltModifier);
        QVERIFY(openDialogs(window).isEmpty());
        QVERIFY(toolbarButton(window, "scoreEntryButton")->isEnabled());
        QVERIFY(subjectButton(window, 1)->isEnabled());
        QVERIFY(!toolbarButton(window, "printButton")->isEnabled());

        // The toolbar's 設定 opens it too, and a second request brings the same window up.
        toolbarButton(window, "settingsButton")->trigger();
        QCOMPARE(openDialogs(window).size(), 1);
        window.openSettingsWindow();
        QCOMPARE(openDialogs(window).size(), 1);
    }
};

QTEST_MAIN(SettingsWindowTest)
#include "test_settings_window.moc"
