// The viewpoint names and the names of a new class in 環境設定, driven as a teacher
// drives them: names typed per subject, the two buttons that set every subject, a
// refused name; names typed, pasted, corrected and removed before 入力終了; the
// guidance of a first start. The settings store and the roster are read back.

#include "SettingsControls.h"
#include "MainWindowControls.h"
#include "EntryTestSupport.h"
#include "TestEnv.h"
#include "DataFiles.h"
#include "model/NewClass.h"
#include "model/ViewpointNames.h"
#include "app/PathBox.h"
#include "app/SettingsWindow.h"
#include "app/MainWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <QTest>

using namespace MainControls;
using namespace SettingsControls;
using namespace DataFiles;
using EntryTest::EntryScreen;

namespace {

SettingsWindow* openDialog(MainWindow& window)
{
    for (QMdiSubWindow* frame : window.mdiArea()->subWindowList())
        if (auto* dialog = qobject_cast<SettingsWindow*>(frame->widget()))
            return dialog;
    return nullptr;
}

SettingsWindow* openSettings(MainWindow& window)
{
    menuEntry(window, "settingsAction")->trigger();
    return openDialog(window);
}

void typeText(QWidget* box, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(box, &event);
}

void replaceText(QLineEdit* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Delete);
    else
        typeText(box, text);
}

void typeName(SettingsWindow* dialog, const QString& name)
{
    typeText(nameInput(dialog), name);
    QTest::keyClick(nameInput(dialog), Qt::Key_Return);
}

// A list pasted with Ctrl+V from the clipboard, as it comes from a spreadsheet.
void paste(SettingsWindow* dialog, const QString& text)
{
    QApplication::clipboard()->setText(text);
    nameInput(dialog)->setFocus();
    QTest::keyClick(nameInput(dialog), Qt::Key_V, Qt::ControlModifier);
    QCoreApplication::processEvents();
}

QStringList shownNames(const SettingsWindow* dialog)
{
    QStringList lines;
    for (int i = 0; i < nameList(dialog)->count(); ++i)
        lines << nameList(dialog)->item(i)->text();
    return lines;
}

QStringList viewpointBoxTexts(const SettingsWindow* dialog)
{
    QStringList texts;
    for (int v = 1; v <= 4; ++v)
        texts << viewpointNameInput(dialog, v)->text();
    return texts;
}

QStringList storedNameKeys(TestEnv& env)
{
    env.settings->sync();
    QSettings store(env.settingsFile(), QSettings::IniFormat);
    store.beginGroup(QStringLiteral("UseMode"));
    return store.childKeys().filter(QStringLiteral("KantenMei"));
}

QString stored(TestEnv& env, const QString& key)
{
    env.settings->sync();
    QSettings store(env.settingsFile(), QSettings::IniFormat);
    return store.value(QStringLiteral("UseMode/") + key).toString();
}

const QStringList Today{QStringLiteral("知識・技能"), QStringLiteral("思考・判断・表現"),
                        QStringLiteral("主体的に学習に取り組む態度"), QString()};

}  // namespace

class SettingsNamesTest : public QObject {
    Q_OBJECT
private slots:
    // Each subject's names in its boxes, the frames of the criteria captioned with
    // them; the buttons set every subject; nothing is stored before 終了, and the
    // older table back leaves no key of its own.
    void viewpointNamesPerSubject()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
        MainWindow& window = env.startMainWindow();
        SettingsWindow* dialog = openSettings(window);
        QVERIFY(dialog);
        // The store as the program writes it while the names are the older ones.
        closeButton(dialog)->click();
        const QByteArray before = env.readBytes(QStringLiteral("../Kazane.ini"));
        QVERIFY(before.contains("rHyotei111=") && !before.contains("KantenMei"));
        dialog = openSettings(window);
        chooseSubject(dialog, 3);
        QCOMPARE(viewpointBoxTexts(dialog), (QStringList{QStringLiteral("関心,意欲,態度"), QStringLiteral("数学的な考え方"),
                                                         QStringLiteral("表現・処理"), QStringLiteral("知識・理解")}));
        QCOMPARE(viewpointNamesGroup(dialog)->title(), QStringLiteral("算数の観点名"));
        QCOMPARE(criteriaGroup(dialog, 2)->title(), QStringLiteral("観点Ⅱ数学的な考え方"));

        env.ui.answers = {Ui::Answer::Cancel};
        currentCurriculumButton(dialog)->click();
        QCOMPARE(viewpointBoxTexts(dialog)[0], QStringLiteral("関心,意欲,態度"));
        currentCurriculumButton(dialog)->click();
        QCOMPARE(viewpointBoxTexts(dialog), Today);
        QCOMPARE(criteriaGroup(dialog, 4)->title(), QStringLiteral("観点Ⅳ"));
        QVERIFY(storedNameKeys(env).isEmpty());

        // 算数's second name typed; 体育's fourth given a name; each stays with its subject.
        viewpointNameInput(dialog, 2)->setFocus();
        viewpointNameInput(dialog, 2)->selectAll();
        typeText(viewpointNameInput(dialog, 2), QStringLiteral("数学的な思考・表現"));
        QCOMPARE(criteriaGroup(dialog, 2)->title(), QStringLiteral("観点Ⅱ数学的な思考・表現"));
        chooseSubject(dialog, 9);
        QCOMPARE(viewpointBoxTexts(dialog), Today);
        replaceText(viewpointNameInput(dialog, 4), QStringLiteral("健康・安全"));
        chooseSubject(dialog, 3);
        QCOMPARE(viewpointNameInput(dialog, 2)->text(), QStringLiteral("数学的な思考・表現"));

        closeButton(dialog)->click();
        QVERIFY(!openDialog(window));
        QCOMPARE(env.data.viewpointName[3][2], QStringLiteral("数学的な思考・表現"));
        QCOMPARE(env.data.viewpointName[9][4], QStringLiteral("健康・安全"));
        QCOMPARE(env.data.viewpointName[1][3], QStringLiteral("主体的に学習に取り組む態度"));
        QCOMPARE(stored(env, QStringLiteral("KantenMei32")), QStringLiteral("数学的な思考・表現"));
        QCOMPARE(stored(env, QStringLiteral("KantenMei94")), QStringLiteral("健康・安全"));
        QCOMPARE(storedNameKeys(env).size(), 8 * 4 + 3);

        // Score entry of 国語 lists the names; the viewpoint without a name by its heading.
        {
            const EntryScreen s(qobject_cast<ScoreEntryWindow*>(window.openScoreEntryWindow()));
            QVERIFY(s);
            QStringList listed;
            for (int i = 1; i < s.viewpointBoxes[0]->count(); ++i)
                listed << s.viewpointBoxes[0]->itemText(i);
            QCOMPARE(listed, (QStringList{Today[0], Today[1], Today[2], QStringLiteral("観点Ⅳ")}));
            s.closeWithoutSavingButton->click();
        }

        dialog = openSettings(window);
        QVERIFY(dialog);
        olderNamesButton(dialog)->click();
        QCOMPARE(viewpointBoxTexts(dialog)[0], QStringLiteral("関心,意欲,態度"));
        closeButton(dialog)->click();
        QVERIFY(storedNameKeys(env).isEmpty());
        QCOMPARE(env.data.viewpointName, ViewpointNames::olderTable());
        QCOMPARE(env.readBytes(QStringLiteral("../Kazane.ini")), before);
    }

    // A name the sheets cannot carry is refused at 終了 with the subject, the
    // viewpoint and the character's code; the box takes the focus and nothing is stored.
    void unusableViewpointNameIsRefused()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        MainWindow& window = env.startMainWindow();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        SettingsWindow* dialog = openSettings(window);
        chooseSubject(dialog, 4);
        replaceText(viewpointNameInput(dialog, 3), QStringLiteral("𠮷野の観察"));
        env.ui.clear();
        chooseSubject(dialog, 6);  // refused: 理科 keeps the focus until its names can be used
        QCOMPARE(env.ui.messageTexts(),
                 QStringList{QStringLiteral("「理科」の観点Ⅲの観点名「𠮷野の観察」は保存できません。「𠮷」(U+20BB7)は使えない文字です。")});
        QCOMPARE(criteriaSubjectBox(dialog)->currentIndex() + 1, 4);
        QVERIFY(viewpointNameInput(dialog, 3)->hasFocus());
        replaceText(viewpointNameInput(dialog, 3), QStringLiteral("観察・実験の技能"));
        chooseSubject(dialog, 6);
        QCOMPARE(criteriaSubjectBox(dialog)->currentIndex() + 1, 6);
        replaceText(viewpointNameInput(dialog, 1), QString());

        // 終了 checks the subject shown too: nothing is stored, the window stays.
        env.ui.clear();
        closeButton(dialog)->click();
        QCOMPARE(env.ui.messageTexts(),
                 QStringList{QStringLiteral("「音楽」の観点Ⅰの観点名を入力してください（空にできるのは観点Ⅳだけです）。")});
        QCOMPARE(openDialog(window), dialog);
        QVERIFY(viewpointNameInput(dialog, 1)->hasFocus());
        QVERIFY(storedNameKeys(env).isEmpty());
        replaceText(viewpointNameInput(dialog, 1), QStringLiteral("表現"));
        closeButton(dialog)->click();
        QVERIFY(!openDialog(window));
        QCOMPARE(storedNameKeys(env), (QStringList{QStringLiteral("KantenMei43"), QStringLiteral("KantenMei61")}));
    }

    // Names typed and pasted are listed with their numbers; a mistyped name is
    // corrected or removed before 入力終了, which writes them in the listed order.
    void namesTypedPastedCorrectedRemoved()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("前の児童")});
        MainWindow& window = env.startMainWindow();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        SettingsWindow* dialog = openSettings(window);
        newClassButton(dialog)->click();
        QVERIFY(dialog->enteringNames());
        typeName(dialog, QStringLiteral("青木　一郎"));
        typeName(dialog, QStringLiteral("石出　花子"));
        paste(dialog, QStringLiteral("上野\r\n江藤\r\n小野\r\n加藤\r\n木村\r\n工藤\r\n佐藤\r\n"));
        typeName(dialog, QStringLiteral("鈴木"));
        QCOMPARE(pupilCountLabel(dialog)->text(), QStringLiteral("10"));
        QCOMPARE(shownNames(dialog).mid(0, 3), (QStringList{QStringLiteral("  1番 青木　一郎"), QStringLiteral("  2番 石出　花子"),
                                                            QStringLiteral("  3番 上野")}));
        QCOMPARE(shownNames(dialog).last(), QStringLiteral("10番 鈴木"));

        // A refused list: its lines named, nothing added, the box as before.
        typeText(nameInput(dialog), QStringLiteral("高"));
        env.ui.clear();
        paste(dialog, QStringLiteral("田中\n𠮷田\n"));
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY(env.ui.lastMessage().contains(QStringLiteral("2行目「𠮷田」：「𠮷」(U+20BB7)は使えない文字です")));
        QCOMPARE(nameList(dialog)->count(), 10);
        QCOMPARE(nameInput(dialog)->text(), QStringLiteral("高"));
        nameInput(dialog)->clear();

        // Nothing selected: 訂正 and 削除 beep.
        nameList(dialog)->clearSelection();
        env.ui.clear();
        correctNameButton(dialog)->click();
        removeNameButton(dialog)->click();
        QCOMPARE(env.ui.beeps, 2);
        QCOMPARE(nameList(dialog)->count(), 10);

        // 2番 corrected; 4番 removed, the later numbers move up.
        nameList(dialog)->setCurrentRow(1);
        correctNameButton(dialog)->click();
        QCOMPARE(nameInput(dialog)->text(), QStringLiteral("石出　花子"));
        QCOMPARE(nameInputCaption(dialog)->text(), QStringLiteral("2番を訂正中（Escで取消）"));
        typeName(dialog, QStringLiteral("石田　花子"));
        QCOMPARE(nameList(dialog)->item(1)->text(), QStringLiteral("  2番 石田　花子"));
        QCOMPARE(nameList(dialog)->count(), 10);
        nameList(dialog)->setCurrentRow(3);
        removeNameButton(dialog)->click();
        QCOMPARE(nameList(dialog)->item(3)->text(), QStringLiteral("  4番 小野"));
        QCOMPARE(pupilCountLabel(dialog)->text(), QStringLiteral("9"));
        typeName(dialog, QStringLiteral("中村"));

        endNameEntryButton(dialog)->click();
        const QStringList names{QStringLiteral("青木　一郎"), QStringLiteral("石田　花子"), QStringLiteral("上野"),
                                QStringLiteral("小野"),      QStringLiteral("加藤"),      QStringLiteral("木村"),
                                QStringLiteral("工藤"),      QStringLiteral("佐藤"),      QStringLiteral("鈴木"),
                                QStringLiteral("中村")};
        QCOMPARE(env.readBytes(QStringLiteral("Class.Nam")), crlf(rosterLines(names)));
        QCOMPARE(env.data.pupilCount, 10);
    }

    // The data folder box is wide; a path longer than it keeps its start and the
    // folder's own name in sight, and the whole path is its tooltip.
    void dataFolderBoxShowsTheWholePath()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        MainWindow& window = env.startMainWindow();
        SettingsWindow* dialog = openSettings(window);
        auto* box = qobject_cast<PathBox*>(dataFolderInput(dialog));
        QVERIFY(box);
        QCOMPARE(box->text(), env.dataFolder());
        QCOMPARE(box->toolTip(), env.dataFolder());
        QVERIFY(box->width() * 2 > dialog->width());
        closeButton(dialog)->setFocus();
        QCOMPARE(box->shownText(), env.dataFolder());

        const QString deep = QStringLiteral("/home/教員/ドキュメント/令和７年度/第４学年２組/成績処理/").repeated(4)
            + QStringLiteral("かざねデータ");
        box->setText(deep);
        QCOMPARE(box->toolTip(), deep);
        const QString shown = box->shownText();
        QVERIFY2(shown.contains(QChar(0x2026)), qPrintable(shown));
        QVERIFY(shown.startsWith(QStringLiteral("/home/")));
        QVERIFY(shown.endsWith(QStringLiteral("かざねデータ")));
        QVERIFY(box->fontMetrics().horizontalAdvance(shown) <= box->width());
    }

    // A first start: the guidance line says what to do, every refusal for a class
    // without pupils points to the same place, and the line goes once names are in.
    void firstStartGuidance()
    {
        TestEnv env;
        MainWindow& window = env.startMainWindow();
        SettingsWindow* dialog = openDialog(window);
        QVERIFY(dialog);
        QVERIFY(firstStartGuide(dialog)->isVisible());
        QVERIFY(firstStartGuide(dialog)->text().contains(QStringLiteral("「新規ｸﾗｽ」")));
        env.ui.clear();
        closeButton(dialog)->click();
        QCOMPARE(env.ui.messageTexts(), QStringList{NewClass::namesMissingMessage()});
        QVERIFY(NewClass::namesMissingMessage().contains(QStringLiteral("「新規ｸﾗｽ」")));
        QVERIFY(NewClass::noPupilsMessage().contains(QStringLiteral("「新規ｸﾗｽ」")));
        newClassButton(dialog)->click();
        typeName(dialog, QStringLiteral("青木"));
        endNameEntryButton(dialog)->click();
        QVERIFY(!firstStartGuide(dialog)->isVisible());
    }
};

QTEST_MAIN(SettingsNamesTest)
#include "test_settings_names.moc"
