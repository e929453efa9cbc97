// A roster and a score file saved as UTF-8 by a text editor, met by the real
// program: named when the class opens and again when a window would read them;
// stored back in CP932 on はい (the old file kept as its backup) and read with the
// names they hold; left byte for byte as they were on いいえ, refused by every
// window that needs them, never read as mojibake.

#include "DataFiles.h"
#include "ListControls.h"
#include "MainWindowControls.h"
#include "TestEnv.h"
#include "app/MainWindow.h"
#include "maintenance/TestListWindow.h"
#include "model/TextFile.h"

#include <QMdiArea>
#include <QTest>

using namespace DataFiles;
using namespace MainControls;

namespace {

// Names and a test name whose UTF-8 bytes are valid CP932 as well: read as CP932
// they would be 「菴占陸闢ｮ」, 「螻ｱ逕ｰ邨占｡｣」 and 「貍｢蟄励ユ繧ｹ繝遺蔵」.
const QStringList ClassNames{QStringLiteral("佐藤蓮"), QStringLiteral("山田結衣")};
const QString TestName = QStringLiteral("漢字テスト①");

Tests kanjiTest()
{
    return {{TestName, {{1, 100, {80, 95}}}}};
}

// The lines as a text editor saves them: UTF-8, LF line ends.
QByteArray editorBytes(const QStringList& lines)
{
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

// A homeroom class whose roster and 国語 score file were saved by a text editor.
void classSavedAsUtf8(TestEnv& env)
{
    env.makeClass(ClassNames);
    env.writeBytes(QStringLiteral("Class.Nam"), editorBytes(rosterLines(ClassNames)));
    env.writeBytes(QStringLiteral("国語.dat"), editorBytes(scoreLines(kanjiTest())));
}

bool offersConversion(const ScriptedUi::Message& message, const QString& file, const QString& backup)
{
    return message.buttons == Ui::Buttons::YesNo
        && message.text.startsWith(QStringLiteral("データファイル「%1」は UTF-8 で保存されています").arg(file))
        && message.text.contains(QStringLiteral("「%1」として残します").arg(backup));
}

TestListWindow* openTestList(MainWindow& window)
{
    menuEntry(window, "testListAction")->trigger();
    return window.findChild<TestListWindow*>();
}

QStringList listed(const TestListWindow* window)
{
    const ListControls c(window, "testList");
    QStringList texts;
    for (int i = 0; i < c.list->count(); ++i)
        texts << c.list->item(i)->text();
    return texts;
}

}  // namespace

class EncodingWindowsTest : public QObject {
    Q_OBJECT
private slots:
    // はい to each offer at start: both files are CP932 with CR LF, the UTF-8 bytes
    // are the backups, the names are in the class and the test in its list.
    void convertedOnYes()
    {
        TestEnv env;
        classSavedAsUtf8(env);
        const QByteArray rosterUtf8 = env.readBytes(QStringLiteral("Class.Nam"));
        const QByteArray scoresUtf8 = env.readBytes(QStringLiteral("国語.dat"));
        env.ui.answers = {Ui::Answer::Yes, Ui::Answer::Yes};
        MainWindow& window = env.startMainWindow();

        QCOMPARE(env.ui.messages.size(), 2);
        QVERIFY2(offersConversion(env.ui.messages[0], QStringLiteral("Class.Nam"), QStringLiteral("Class.bak")),
                 qPrintable(env.ui.messages[0].text));
        QVERIFY2(offersConversion(env.ui.messages[1], QStringLiteral("国語.dat"), QStringLiteral("国語.Bak")),
                 qPrintable(env.ui.messages[1].text));
        QCOMPARE(env.readBytes(QStringLiteral("Class.Nam")), crlf(rosterLines(ClassNames)));
        QCOMPARE(env.readBytes(QStringLiteral("Class.bak")), rosterUtf8);
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf(scoreLines(kanjiTest())));
        QCOMPARE(env.readBytes(QStringLiteral("国語.Bak")), scoresUtf8);
        QCOMPARE(env.data.pupilCount, 2);
        QCOMPARE(env.data.pupilName[1], ClassNames[0]);
        QCOMPARE(env.data.pupilName[2], ClassNames[1]);

        env.ui.clear();
        TestListWindow* list = openTestList(window);
        QVERIFY(list);
        QCOMPARE(listed(list).size(), 1);
        QVERIFY2(listed(list).first().endsWith(TestName), qPrintable(listed(list).first()));
        QVERIFY(env.ui.messages.isEmpty());
    }

    // いいえ: nothing is written, the roster is refused with its name, and a window
    // that needs the files asks again and stays shut; はい then converts them and
    // the window opens on them.
    void untouchedOnNoUntilYes()
    {
        TestEnv env;
        classSavedAsUtf8(env);
        const auto before = folderFiles(env.dataFolder());
        env.ui.answers = {Ui::Answer::No, Ui::Answer::No};
        MainWindow& window = env.startMainWindow();

        QCOMPARE(env.ui.messages.size(), 3);
        QVERIFY(offersConversion(env.ui.messages[0], QStringLiteral("Class.Nam"), QStringLiteral("Class.bak")));
        QVERIFY(offersConversion(env.ui.messages[1], QStringLiteral("国語.dat"), QStringLiteral("国語.Bak")));
        QCOMPARE(env.ui.messages[2].text, TextFile::utf8Message(QStringLiteral("Class.Nam")));
        QCOMPARE(folderFiles(env.dataFolder()), before);
        QCOMPARE(env.data.pupilCount, 0);

        for (const char* command : {"testListAction", "scoreEntryAction"}) {
            env.ui.clear();
            env.ui.answers = {Ui::Answer::No, Ui::Answer::No};
            menuEntry(window, command)->trigger();
            QVERIFY(window.mdiArea()->subWindowList().isEmpty());
            QCOMPARE(env.ui.messages.size(), 3);
            QCOMPARE(env.ui.messages[2].text, TextFile::utf8Message(QStringLiteral("Class.Nam")));
            QCOMPARE(folderFiles(env.dataFolder()), before);
        }

        // The roster converted, the score file not: test maintenance reads it and
        // refuses it by name.
        env.ui.clear();
        env.ui.answers = {Ui::Answer::Yes, Ui::Answer::No};
        QVERIFY(!openTestList(window));
        QCOMPARE(env.ui.messages.last().text, TextFile::utf8Message(QStringLiteral("国語.dat")));
        QCOMPARE(env.readBytes(QStringLiteral("Class.Nam")), crlf(rosterLines(ClassNames)));
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), before.value(QStringLiteral("国語.dat")));

        env.ui.clear();
        env.ui.answers = {Ui::Answer::Yes};
        TestListWindow* list = openTestList(window);
        QVERIFY(list);
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY2(listed(list).value(0).endsWith(TestName), qPrintable(listed(list).value(0)));
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf(scoreLines(kanjiTest())));
    }

    // A specialist's class roster saved with a byte-order mark is offered when the
    // class is chosen.
    void specialistClassOfferedWhenChosen()
    {
        TestEnv env;
        env.makeClass({}, true);
        const QByteArray utf8 = QByteArray("\xEF\xBB\xBF") + editorBytes(rosterLines(ClassNames));
        env.writeBytes(QStringLiteral("４の２.nam"), utf8);
        MainWindow& window = env.startMainWindow();
        QVERIFY(env.ui.messages.isEmpty());
        env.ui.answers = {Ui::Answer::Yes};
        chooseClass(window, 2);
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY(offersConversion(env.ui.messages[0], QStringLiteral("４の２.nam"), QStringLiteral("４の２.NBk")));
        QCOMPARE(env.readBytes(QStringLiteral("４の２.nam")), crlf(rosterLines(ClassNames)));
        QCOMPARE(env.readBytes(QStringLiteral("４の２.NBk")), utf8);
        QCOMPARE(env.data.pupilCount, 2);
        QCOMPARE(env.data.pupilName[2], ClassNames[1]);
    }

    // A character CP932 cannot hold: the conversion is refused by its line, the file
    // stays, and so does the refusal.
    void unstorableCharacterRefusedByLine()
    {
        TestEnv env;
        env.makeClass(ClassNames);
        const QByteArray utf8 = editorBytes(rosterLines({QStringLiteral("青木"), QStringLiteral("𠮷田")}));
        env.writeBytes(QStringLiteral("Class.Nam"), utf8);
        env.startMainWindow();
        QCOMPARE(env.ui.messages.size(), 3);
        QVERIFY(offersConversion(env.ui.messages[0], QStringLiteral("Class.Nam"), QStringLiteral("Class.bak")));
        QVERIFY2(env.ui.messages[1].text.contains(QStringLiteral("「Class.Nam」の3行目の「𠮷」(U+20BB7)")),
                 qPrintable(env.ui.messages[1].text));
        QCOMPARE(env.ui.messages[2].text, TextFile::utf8Message(QStringLiteral("Class.Nam")));
        QCOMPARE(env.readBytes(QStringLiteral("Class.Nam")), utf8);
        QVERIFY(!env.exists(QStringLiteral("Class.bak")));
    }
};

QTEST_MAIN(EncodingWindowsTest)
#include "test_encoding_windows.moc"
