// 氏名メンテナンス driven as a teacher drives it, inside the real main window:
// renaming through the input box (Enter, Tab, a click elsewhere), transfers in and
// out with their confirmations, refusals, the printed and previewed name list.

#include "Controls.h"
#include "ModalDialogs.h"
#include "MainWindowControls.h"
#include "TestEnv.h"
#include "RefusedWrites.h"
#include "model/RosterFile.h"
#include "tally/ListSheets.h"
#include "maintenance/RosterWindow.h"
#include "ListControls.h"
#include "SampleClass.h"
#include "output/ReportStore.h"
#include "app/MainWindow.h"
#include "platform/QtUi.h"

#include <QAction>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMdiArea>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

using namespace MainControls;
using namespace Sample;

using Controls::child;

namespace {

// A class made current while roster maintenance is open, as choosing it in the
// class menu did before those commands went off with the window: the class number
// and that class's roster in the model.
void selectClassBehindTheWindow(TestEnv& env, int classNumber)
{
    env.data.classNumber = classNumber;
    QVERIFY(RosterFile::load(env.data).ok);
}

RosterWindow* openFromMenu(MainWindow& window)
{
    menuEntry(window, "rosterAction")->trigger();
    return window.findChild<RosterWindow*>();
}

// Japanese reaches a text box from the input method, as one committed string.
void typeJapanese(QWidget* box, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(box, &event);
}

// The names the list shows. Every line starts with the pupil's attendance number
// ("  5番 ", "12番 "); a line that does not is returned whole, so the comparison fails.
QStringList listLines(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) {
        const QString text = list->item(i)->text();
        const QString number = (i + 1 < 10 ? QStringLiteral("  ") : QString()) + QStringLiteral("%1番 ").arg(i + 1);
        lines << (text.startsWith(number) ? text.mid(number.size()) : text);
    }
    return lines;
}

struct Fixture {
    TestEnv env;
    MainWindow* window = nullptr;
    RosterWindow* dialog = nullptr;

    // With `real`, every message is Qt's own message box, through the real QtUi.
    explicit Fixture(int pupils, Ui* real = nullptr)
    {
        homeroomClass(env, pupils);
        if (real) {
            env.useUi(*real);
            closeNextDialog();  // the title window
        }
        window = &env.startMainWindow();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        dialog = openFromMenu(*window);
        QVERIFY(dialog);
        env.ui.clear();
    }
};

}  // namespace

class RosterWindowTest : public QObject {
    Q_OBJECT
private slots:
    void opensOnTheClassAndSwitchesTheCommands()
    {
        Fixture f(3);
        RosterWindow* d = f.dialog;
        const ListControls c(d, "nameList");
        QCOMPARE(d->windowTitle(), QStringLiteral("氏名メンテナンス"));
        QCOMPARE(listLines(c.list), classNames(3));
        QCOMPARE(c.count->text(), QStringLiteral("3"));
        QCOMPARE(c.selectedRow(), 0);
        QVERIFY(!c.nameInput->isEnabled());
        QVERIFY(!c.nameInputCaption->isEnabled());
        QCOMPARE(QStringList({c.countCaption->text(), child<QLabel>(d, "countUnit")->text(), c.nameInputCaption->text(), c.renameButton->text(),
                              c.insertButton->text(), c.removeButton->text(), c.printButton->text(), c.previewButton->text(),
                              c.closeButton->text()}),
                 QStringList({"クラス人数", "人", "入力欄", "氏名変更(&C)", "転入処理(&I)", "転出処理(&D)", "氏名印刷(&P)",
                              "ﾌﾟﾚﾋﾞｭｰ(&O)", "閉じる"}));
        QCOMPARE(QStringList({c.fileMenu->title(), c.printAction->text(), c.previewAction->text(), c.closeAction->text(),
                              c.editMenu->title(), c.renameAction->text(), c.insertAction->text(),
                              c.removeAction->text(), c.helpAction->text()}),
                 QStringList({"ﾌｧｲﾙ(&F)", "氏名一覧印刷(&P)", "印刷ﾌﾟﾚﾋﾞｭｰ(&O)", "氏名メンテナンス終了(&X)", "編集(&E)",
                              "氏名変更(&C)", "転入処理(&I)", "転出処理(&D)", "ﾍﾙﾌﾟ(&H)"}));
        // While it is active the editing commands are off and printing is on.
        QVERIFY(toolbarButton(*f.window, "printButton")->isEnabled());
        QVERIFY(toolbarButton(*f.window, "previewButton")->isEnabled());
        QVERIFY(!toolbarButton(*f.window, "scoreEntryButton")->isEnabled());
        QVERIFY(!toolbarButton(*f.window, "rosterButton")->isEnabled());

        c.helpAction->trigger();
        QCOMPARE(f.env.ui.helpTopics, QList<int>{8});

        const auto before = snapshot(f.env);
        QTest::mouseClick(c.closeButton, Qt::LeftButton);
        QTRY_VERIFY(!f.window->findChild<RosterWindow*>());
        QVERIFY(toolbarButton(*f.window, "scoreEntryButton")->isEnabled());
        QVERIFY(!toolbarButton(*f.window, "printButton")->isEnabled());
        QCOMPARE(snapshot(f.env), before);  // closing writes nothing
    }

    void specialistCaptionCarriesTheClass()
    {
        TestEnv env;
        env.makeClass({}, true);
        env.writeFile("４の２.nam", rosterLines({"青木", "石田"}));
        MainWindow& window = env.startMainWindow();
        chooseClass(window, 2);
        RosterWindow* d = openFromMenu(window);
        QVERIFY(d);
        const ListControls c(d, "nameList");
        QCOMPARE(d->windowTitle(), QStringLiteral("氏名メンテナンス-４の２"));
        QCOMPARE(listLines(c.list), QStringList({"青木", "石田"}));
        QCOMPARE(c.count->text(), QStringLiteral("2"));
    }

    void renameWithEnterRewritesTheRoster()
    {
        Fixture f(5);
        RosterWindow* d = f.dialog;
        const ListControls c(d, "nameList");
        const QByteArray oldRoster = f.env.readBytes("Class.Nam");
        c.list->setCurrentRow(2);
        QTest::mouseClick(c.renameButton, Qt::LeftButton);
        QVERIFY(c.nameInput->isEnabled());
        QVERIFY(c.nameInput->hasFocus());
        QCOMPARE(c.nameInput->text(), QStringLiteral("髙橋　一郎"));
        QCOMPARE(c.nameInput->selectedText(), QStringLiteral("髙橋　一郎"));
        QVERIFY(!c.insertAction->isEnabled());  // the menus wait for the rename to end
        typeJapanese(c.nameInput, QStringLiteral("高橋　一朗"));
        QTest::keyClick(c.nameInput, Qt::Key_Return);

        QStringList names = classNames(5);
        names[2] = QStringLiteral("高橋　一朗");
        QCOMPARE(f.env.readBytes("Class.Nam"), crlf(rosterLines(names)));
        QCOMPARE(f.env.readBytes("Class.bak"), oldRoster);
        QCOMPARE(listLines(c.list), names);
        QCOMPARE(c.selectedRow(), 2);  // the renamed pupil, selected again
        QVERIFY(c.list->hasFocus());
        QVERIFY(!c.nameInput->isEnabled());
        QCOMPARE(c.count->text(), QStringLiteral("5"));
        QCOMPARE(f.env.data.pupilName[3], QStringLiteral("高橋　一朗"));
        QVERIFY(c.insertAction->isEnabled());
        QVERIFY(f.env.ui.messages.isEmpty());
    }

    void renameToEmptyEndsWithTab()
    {
        Fixture f(5);
        RosterWindow* d = f.dialog;
        const ListControls c(d, "nameList");
        c.list->setCurrentRow(2);
        c.renameAction->trigger();
        QTest::keyClick(c.nameInput, Qt::Key_Delete);  // the whole name is selected
        QTest::keyClick(c.nameInput, Qt::Key_Tab);
        QStringList names = classNames(5);
        names[2].clear();
        QCOMPARE(f.env.readBytes("Class.Nam"), crlf(rosterLines(names)));
        QCOMPARE(f.env.data.pupilCount, 5);
        QCOMPARE(listLines(c.list)[2], QString());
    }

    void nameTypedAndClosedIsKept()
    {
        Fixture f(3);
        RosterWindow* d = f.dialog;
        const ListControls c(d, "nameList");
        c.list->setCurrentRow(0);
        QTest::mouseClick(c.renameButton, Qt::LeftButton);
        QTest::keyClicks(c.nameInput, "Aoki");
        QTest::mouseClick(c.closeButton, Qt::LeftButton);
        QTRY_VERIFY(!f.window->findChild<RosterWindow*>());
        QCOMPARE(f.env.readLines("Class.Nam"), QStringList({"3", "\"Aoki\"", "\"児童02\"", "\"髙橋　一郎\""}));
    }

    void programEndingMidRenameKeepsTheNameWithoutAsking()
    {
        Fixture f(3);
        RosterWindow* d = f.dialog;
        const ListControls c(d, "nameList");
        c.list->setCurrentRow(1);
        c.renameButton->click();
        QTest::keyClicks(c.nameInput, "Ishida");
        f.window->close();
        QCOMPARE(f.env.readLines("Class.Nam"), QStringList({"3", "\"児童01\"", "\"Ishida\"", "\"髙橋　一郎\""}));
        QVERIFY(f.env.ui.messages.isEmpty());
    }

    void nameTheFilesCannotHoldIsRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("double quote") << QStringLiteral("\"ニック\"") << QStringLiteral("二重引用符");
        QTest::newRow("outside code page 932") << QStringLiteral("李😀") << QStringLiteral("使えない文字");
    }
    void nameTheFilesCannotHoldIsRefused()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        Fixture f(4);
        RosterWindow* d = f.dialog;
        const ListControls c(d, "nameList");
        const auto before = snapshot(f.env);
        c.list->setCurrentRow(1);
        c.renameButton->click();
        typeJapanese(c.nameInput, name);
        QTest::keyClick(c.nameInput, Qt::Key_Enter);
        QCOMPARE(f.env.ui.messages.size(), 1);
        QVERIFY(f.env.ui.lastMessage().contains(QStringLiteral("保存できません")));
        QVERIFY(f.env.ui.lastMessage().contains(reason));
        QCOMPARE(snapshot(f.env), before);
        QCOMPARE(f.env.data.pupilName[2], QStringLiteral("児童02"));
        QCOMPARE(listLines(c.list), classNames(4));
        QVERIFY(c.renameAction->isEnabled());
    }

    void transferInAfterTheSelectedPupil()
    {
        Fixture f(30);
        // A subject other than the first is current (made so before the window
        // opened: its buttons are off while the window is open).
        f.env.data.subject = 3;
        RosterWindow* d = f.dialog;
        const ListControls c(d, "nameList");
        const QByteArray oldRoster = f.env.readBytes("Class.Nam");
        c.list->setCurrentRow(1);
        f.env.ui.inputs.push_back(QStringLiteral("転入　花子"));
        QTest::mouseClick(c.insertButton, Qt::LeftButton);

        QCOMPARE(f.env.ui.messages.size(), 2);
        const ScriptedUi::Message ask = f.env.ui.messages[0];
        QCOMPARE(ask.text, QStringLiteral("2番 児童02 の後ろに新しい児童を挿入します"));
        QCOMPARE(ask.title, QStringLiteral("転入処理"));
        QCOMPARE(ask.buttons, Ui::Buttons::OkCancel);
        QCOMPARE(ask.icon, Ui::Icon::Question);
        QCOMPARE(f.env.ui.inputPrompts, QStringList{"新しい児童名は？"});
        QCOMPARE(f.env.ui.messages[1].text, QStringLiteral("過去のテストはすべて欠席扱いにしてあります"));
        QCOMPARE(f.env.ui.messages[1].buttons, Ui::Buttons::Ok);
        QCOMPARE(f.env.ui.busyDepth, 0);

        QStringList names = classNames(30);
        names.insert(2, QStringLiteral("転入　花子"));
        QCOMPARE(listLines(c.list), names);
        QCOMPARE(c.count->text(), QStringLiteral("31"));
        QCOMPARE(f.env.readBytes("Class.Nam"), crlf(rosterLines(names)));
        QCOMPARE(f.env.readBytes("Class.bak"), oldRoster);
        for (int unit = 1; unit <= 9; ++unit)
            QCOMPARE(f.env.readBytes(subjectStems()[unit - 1] + ".dat"), crlf(scoreLines(insertAbsent(tests(unit, 30), 2))));
        // The date seam says 15 June: 出停 for April and May.
        QCOMPARE(f.env.readBytes("shuketu.dat"), crlf(attendanceLines(insertPupil(attendance(30), 2, 3))));
        QCOMPARE(f.env.data.subject, 3);
        QCOMPARE(f.env.data.pupilCount, 31);
        QVERIFY(toolbarButton(*f.window, "printButton")->isEnabled());
    }

    // キャンセル in the name box cancels the whole transfer: every file of the folder
    // stays byte for byte, no backup is made, the class keeps its pupils.
    void cancelledNameBoxCancelsTheTransfer()
    {
        Fixture f(3);
        RosterWindow* d = f.dialog;
        const ListControls c(d, "nameList");
        const auto before = snapshot(f.env);
        c.list->setCurrentRow(1);
        f.env.ui.inputs.push_back(std::nullopt);
        QTest::mouseClick(c.insertButton, Qt::LeftButton);
        QCOMPARE(f.env.ui.inputPrompts, QStringList{"新しい児童名は？"});
        QCOMPARE(f.env.ui.messageTexts(), QStringList{"2番 児童02 の後ろに新しい児童を挿入します"});
        QCOMPARE(snapshot(f.env), before);
        QCOMPARE(f.env.data.pupilCount, 3);
        QCOMPARE(listLines(c.list), classNames(3));
        QCOMPARE(c.count->text(), QStringLiteral("3"));
        QVERIFY(c.insertAction->isEnabled());

        // The same command again, with a name, takes the pupil in.
        f.env.ui.inputs.push_back(QStringLiteral("転入生"));
        QTest::mouseClick(c.insertButton, Qt::LeftButton);
        QStringList names = classNames(3);
        names.insert(2, QStringLiteral("転入生"));
        QCOMPARE(f.env.readBytes("Class.Nam"), crlf(rosterLines(names)));
        QCOMPARE(c.count->text(), QStringLiteral("4"));
    }

    void cancelOnTheConfirmationChangesNothing()
    {
        Fixture f(6);
        RosterWindow* d = f.dialog;
        const ListControls c(d, "nameList");
        const auto before = snapshot(f.env);
        c.list->setCurrentRow(3);
        f.env.ui.answers = {Ui::Answer::Cancel, Ui::Answer::Cancel};
        QTest::mouseClick(c.insertButton, Qt::LeftButton);
        QTest::mouseClick(c.removeButton, Qt::LeftButton);
        QCOMPARE(f.env.ui.messages.size(), 2);
        QCOMPARE(f.env.ui.messages[1].text, QStringLiteral("4番 児童04 の氏名データ、成績データを削除します."));
        QCOMPARE(f.env.ui.messages[1].title, QStringLiteral("転出処理"));
        // Enter answers OK to 転入処理 (nothing is lost), キャンセル to 転出処理.
        QCOMPARE(f.env.ui.messages[0].defaultButton, Ui::Default::Affirmative);
        QCOMPARE(f.env.ui.messages[1].defaultButton, Ui::Default::Cancel);
        QVERIFY(f.env.ui.inputPrompts.isEmpty());
        QCOMPARE(snapshot(f.env), before);
        QCOMPARE(listLines(c.list), classNames(6));
    }

    // A single Enter on the question of 転出処理 keeps the pupil, pressed in Qt's own
    // message box through the real QtUi.
    void aSingleEnterOnTransferOutChangesNothing()
    {
        QtUi real{QString()};
        Fixture f(6, &real);
        const ListControls c(f.dialog, "nameList");
        const auto before = snapshot(f.env);
        c.list->setCurrentRow(3);
        EnterPress press;
        pressEnterInNextMessageBox(press);
        QTest::mouseClick(c.removeButton, Qt::LeftButton);
        QVERIFY(press.closed);
        QCOMPARE(press.defaultCaption, QStringLiteral("キャンセル"));
        QCOMPARE(snapshot(f.env), before);
        QCOMPARE(listLines(c.list), classNames(6));
        QCOMPARE(f.env.data.pupilCount, 6);
    }

    void transferOutOfTheSelectedPupil()
    {
        Fixture f(30);
        RosterWindow* d = f.dialog;
        const ListControls c(d, "nameList");
        c.list->setCurrentRow(4);
        c.removeAction->trigger();
        QCOMPARE(f.env.ui.messageTexts(), QStringList{"5番 児童05 の氏名データ、成績データを削除します."});
        QCOMPARE(c.list->item(4)->text(), QStringLiteral("  5番 児童06"));
        QStringList names = classNames(30);
        names.removeAt(4);
        QCOMPARE(listLines(c.list), names);
        QCOMPARE(c.count->text(), QStringLiteral("29"));
        QCOMPARE(c.selectedRow(), -1);
        QCOMPARE(f.env.readBytes("Class.Nam"), crlf(rosterLines(names)));
        QCOMPARE(f.env.readBytes("shuketu.dat"), crlf(attendanceLines(removePupil(attendance(30), 5))));
        QCOMPARE(f.env.readBytes("体育.dat"), crlf(scoreLines(removePupil(tests(9, 30), 5))));
        QCOMPARE(f.env.data.subject, 1);
    }

    // Each edit command, by button, menu entry and key, beeps while no pupil is
    // selected, and changes nothing.
    void commandsWithoutASelectedPupilBeep()
    {
        Fixture f(4);
        const ListControls c(f.dialog, "nameList");
        const auto before = snapshot(f.env);
        c.list->clearSelection();
        for (QPushButton* button : c.editButtons())
            QTest::mouseClick(button, Qt::LeftButton);
        for (QAction* action : c.editActions())
            action->trigger();
        QCOMPARE(f.env.ui.beeps, 6);
        QVERIFY(f.env.ui.messages.isEmpty());
        QVERIFY(f.env.ui.inputPrompts.isEmpty());
        QVERIFY(!c.nameInput->isEnabled());
        QCOMPARE(snapshot(f.env), before);
    }

    void fullClassIsRefusedBeforeAsking()
    {
        Fixture f(45);
        RosterWindow* d = f.dialog;
        const ListControls c(d, "nameList");
        const auto before = snapshot(f.env);
        c.list->setCurrentRow(10);
        c.insertButton->click();
        QCOMPARE(f.env.ui.messageTexts(), QStringList{"クラスの人数は45人までです。これ以上転入させることはできません。"});
        QVERIFY(f.env.ui.inputPrompts.isEmpty());
        QCOMPARE(snapshot(f.env), before);
    }

    void otherOpenWindowsAreClosedFirst()
    {
        Fixture f(8);
        RosterWindow* d = f.dialog;
        const ListControls c(d, "nameList");
        ChildWindow* attendance = f.window->openAttendanceWindow();
        QVERIFY(attendance);
        const auto before = snapshot(f.env);
        c.list->setCurrentRow(3);
        c.removeButton->click();
        QCOMPARE(f.env.ui.messages.size(), 1);
        QVERIFY(f.env.ui.lastMessage().startsWith(QStringLiteral("転出処理の前に、次の画面を閉じてください。")));
        QVERIFY(f.env.ui.lastMessage().contains(attendance->windowTitle()));
        QCOMPARE(snapshot(f.env), before);

        // Test maintenance beside it holds nothing the transfer rewrites.
        attendance->closeWindow();
        QVERIFY(f.window->openTestListWindow());
        f.env.ui.clear();
        c.removeButton->click();
        QCOMPARE(f.env.ui.messageTexts(), QStringList{"4番 児童04 の氏名データ、成績データを削除します."});
        QCOMPARE(f.env.data.pupilCount, 7);
    }

    // A disk that refuses the files of a transfer: the message, the list and
    // every file as before, the window open.
    void refusedWriteLeavesListAndFiles_data() { RefusedWrites::addRows(); }
    void refusedWriteLeavesListAndFiles()
    {
        QFETCH(Refusal, refusal);
        Fixture f(10);
        RefusedWrites refused(refusal, f.env);
        SKIP_UNLESS_AVAILABLE(refused);
        RosterWindow* d = f.dialog;
        const ListControls c(d, "nameList");
        const auto before = snapshot(f.env);
        c.list->setCurrentRow(4);
        f.env.ui.inputs.push_back(QStringLiteral("転入生"));
        refused.start();
        QTest::mouseClick(c.insertButton, Qt::LeftButton);
        refused.stop();
        QCOMPARE(f.env.ui.messages.size(), 2);
        QVERIFY(f.env.ui.lastMessage().contains(QStringLiteral("に書き込めませんでした。ディスクの空き容量が足りません。")));
        QVERIFY(f.env.ui.lastMessage().contains(QStringLiteral("転入処理は行われませんでした")));
        QVERIFY2(isJapaneseMessage(f.env.ui.lastMessage()), qPrintable(f.env.ui.lastMessage()));
        QCOMPARE(f.env.ui.messages.last().icon, Ui::Icon::Warning);
        QCOMPARE(snapshot(f.env), before);
        QCOMPARE(listLines(c.list), classNames(10));
        QCOMPARE(f.env.data.pupilCount, 10);
        QVERIFY(f.window->findChild<RosterWindow*>());
    }

    void classChosenElsewhereIsReloadedNotWritten()
    {
        TestEnv env;
        env.makeClass({"一組一", "一組二"}, true);
        env.writeFile("４の２.nam", rosterLines({"二組一", "二組二", "二組三"}));
        MainWindow& window = env.startMainWindow();
        RosterWindow* d = openFromMenu(window);
        QVERIFY(d);
        const ListControls c(d, "nameList");
        const auto before = snapshot(env);
        // The class menu and buttons are off while the window is open...
        chooseClass(window, 2);
        QCOMPARE(env.data.classNumber, 1);
        // ...but a class made current all the same is noticed before a write.
        selectClassBehindTheWindow(env, 2);
        env.ui.clear();
        c.list->setCurrentRow(1);
        c.removeButton->click();
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY(env.ui.lastMessage().contains(QStringLiteral("読み直しました")));
        QCOMPARE(listLines(c.list), QStringList({"二組一", "二組二", "二組三"}));
        QCOMPARE(d->windowTitle(), QStringLiteral("氏名メンテナンス-４の２"));
        QCOMPARE(snapshot(env), before);
    }

    void classChosenDuringARenameWritesNeitherRoster()
    {
        TestEnv env;
        env.makeClass({"一組一", "一組二"}, true);
        env.writeFile("４の２.nam", rosterLines({"二組一", "二組二", "二組三"}));
        MainWindow& window = env.startMainWindow();
        RosterWindow* d = openFromMenu(window);
        QVERIFY(d);
        const ListControls c(d, "nameList");
        const auto before = snapshot(env);
        c.list->setCurrentRow(1);
        c.renameButton->click();
        QTest::keyClicks(c.nameInput, "X");
        selectClassBehindTheWindow(env, 2);
        env.ui.clear();
        QTest::keyClick(c.nameInput, Qt::Key_Return);
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(snapshot(env), before);
        QCOMPARE(listLines(c.list), QStringList({"二組一", "二組二", "二組三"}));
        QVERIFY(!c.nameInput->isEnabled());
        QVERIFY(c.renameAction->isEnabled());
    }

    void nameListPrintedAndPreviewed()
    {
        Fixture f(45);
        RosterWindow* d = f.dialog;
        const ListControls c(d, "nameList");
        QList<ReportSheet> stored;
        f.env.reports->setStoreObserver([&stored](const QString& path) {
            QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("Mente.mdb"));
            ReportSheet sheet;
            QVERIFY(ReportStore::read(path, sheet).ok);
            stored.append(sheet);
        });
        QTest::mouseClick(c.previewButton, Qt::LeftButton);
        QCOMPARE(f.env.ui.previews.size(), 1);
        QCOMPARE(f.env.ui.previews[0].title, QStringLiteral("氏名一覧"));
        QCOMPARE(stored.size(), 1);
        const ReportSheet sheet = stored[0];
        QCOMPARE(sheet.titleFields, QStringList({"Title", "ClassName", "Number", "Names"}));
        QCOMPARE(sheet.titleValues, QStringList({"【児童氏名一覧表】", "国語", "番号", "氏　　名"}));
        QCOMPARE(sheet.dataFields, QStringList({"Number", "Name"}));
        QCOMPARE(sheet.rows.size(), 45);
        QCOMPARE(sheet.rows[0], QStringList({"1", "児童01"}));
        QCOMPARE(sheet.rows[2], QStringList({"3", "髙橋　一郎"}));
        QCOMPARE(sheet.rows[44], QStringList({"45", "児童45"}));
        QVERIFY(!QFile::exists(f.env.programFolder() + "/Mente.mdb"));
        QCOMPARE(ListSheets::names(f.env.data).rows, sheet.rows);

        // 印刷 on the main toolbar prints the active window's sheet.
        const QString pdf = f.env.dir.path() + "/printed.pdf";
        f.env.reports->printer().setOutputFormat(QPrinter::PdfFormat);
        f.env.reports->printer().setOutputFileName(pdf);
        toolbarButton(*f.window, "printButton")->trigger();
        QVERIFY(QFile::exists(pdf));
        QCOMPARE(stored.size(), 2);
        QCOMPARE(stored[1].rows, sheet.rows);
        QVERIFY(!QFile::exists(f.env.programFolder() + "/Mente.mdb"));
    }
};

QTEST_MAIN(RosterWindowTest)
#include "test_roster_window.moc"
