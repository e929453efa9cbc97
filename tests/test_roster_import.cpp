// A roster from a school system's file, driven as a teacher drives it: a Shift_JIS
// file with tabs in 氏名メンテナンス and a UTF-8 file with a byte-order mark and
// commas at the first start (環境設定, 新規ｸﾗｽ). The columns are guessed from the
// heading; refused rows are listed with their line and reason; the roster file is
// untouched until 読み込む, and untouched when the window is cancelled.

#include "Controls.h"
#include "MainWindowControls.h"
#include "SettingsControls.h"
#include "TestEnv.h"
#include "app/MainWindow.h"
#include "app/SettingsWindow.h"
#include "maintenance/RosterImportWindow.h"
#include "maintenance/RosterWindow.h"
#include "model/Cp932.h"
#include "model/RosterFile.h"
#include "model/RosterImport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using Controls::child;
using namespace MainControls;

namespace {

QByteArray shiftJis(const QString& text)
{
    return *Cp932::encode(text);
}

QStringList listTexts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

QString writeFile(TestEnv& env, const QString& name, const QByteArray& bytes)
{
    const QString path = env.dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

// A school system's export: number, reading, name, sex, with a doubled number, a
// name the data files cannot hold (a double quote) and a row without a name.
const QString SchoolFile = QStringLiteral(
    "出席番号\tふりがな\t氏名\t性別\r\n"
    "2\tいしだ はな\t石田　花\t女\r\n"
    "1\tあおき たろう\t青木　太郎\t男\r\n"
    "3\tうえの\t上野　結衣\t女\r\n"
    "3\tえとう\t江藤　蓮\t男\r\n"
    "4\tよしだ\t吉\"田\t男\r\n"
    "5\tかとう\t\t女\r\n");

}  // namespace

class RosterImportTest : public QObject {
    Q_OBJECT

private slots:
    void fileIsReadInEitherEncoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("name");
        QTest::addColumn<QStringList>("names");
        const QString comma = QStringLiteral("番号,氏名,ふりがな\r\n1,\"青木, 太郎\",あおき\r\n2,石田,いしだ\r\n");
        QTest::newRow("UTF-8 with BOM, commas") << QByteArray("\xEF\xBB\xBF") + comma.toUtf8() << "UTF-8" << 0 << 1
                                                << QStringList{"青木, 太郎", "石田"};
        QTest::newRow("UTF-8, commas") << comma.toUtf8() << "UTF-8" << 0 << 1 << QStringList{"青木, 太郎", "石田"};
        QTest::newRow("Shift_JIS, tabs, reading first")
            << shiftJis(QStringLiteral("よみがな\t児童名\tNo.\r\nいしだ\t石田\t２\r\nあおき\t青木\t1\r\n")) << "Shift_JIS" << 2 << 1
            << QStringList{"青木", "石田"};
        QTest::newRow("no heading") << QStringLiteral("1,青木\n2,石田\n").toUtf8() << "UTF-8" << 0 << 1
                                    << QStringList{"青木", "石田"};
    }

    void fileIsReadInEitherEncoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, encoding);
        QFETCH(int, number);
        QFETCH(int, name);
        QFETCH(QStringList, names);
        QString problem;
        const RosterImport::Table table = RosterImport::read(bytes, problem);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(table.encoding, encoding);
        const RosterImport::Columns columns = RosterImport::guess(table);
        QCOMPARE(columns.number, number);
        QCOMPARE(columns.name, name);
        const RosterImport::Result result = RosterImport::take(table, columns);
        QCOMPARE(result.names, names);
        QVERIFY(result.refused.isEmpty());
    }

    void unreadableFileIsRefused()
    {
        QString problem;
        QVERIFY(RosterImport::read(QByteArray("\x82\xA0\xFF\xFF\x80", 5), problem).rows.isEmpty());
        QVERIFY(problem.contains(QStringLiteral("文字コード")));
    }

    // The 46th pupil is refused by its line, numbered or not; a class of 44 takes
    // only one more.
    void classStopsAtFortyFive()
    {
        QString numbered = QStringLiteral("番号,氏名\n");
        QString plain;
        for (int p = 1; p <= 46; ++p) {
            numbered += QStringLiteral("%1,児童%1\n").arg(p);
            plain += QStringLiteral("児童%1\n").arg(p);
        }
        QString problem;
        const RosterImport::Table table = RosterImport::read(numbered.toUtf8(), problem);
        const RosterImport::Result whole = RosterImport::take(table, RosterImport::guess(table));
        QCOMPARE(whole.names.size(), 45);
        QCOMPARE(whole.names.last(), QStringLiteral("児童45"));
        QCOMPARE(whole.refused.size(), 1);
        QCOMPARE(whole.refused[0].line, 47);
        QCOMPARE(whole.refused[0].reason, QStringLiteral("番号 46 は1～45の外です"));

        const RosterImport::Table names = RosterImport::read(plain.toUtf8(), problem);
        const RosterImport::Columns columns = RosterImport::guess(names);
        QCOMPARE(columns.number, -1);
        const RosterImport::Result listed = RosterImport::take(names, columns);
        QCOMPARE(listed.names.size(), 45);
        QCOMPARE(listed.refused.size(), 1);
        QCOMPARE(listed.refused[0].line, 46);
        QCOMPARE(listed.refused[0].reason, QStringLiteral("クラスは45人までです"));

        const RosterImport::Result added = RosterImport::take(table, RosterImport::guess(table), 44);
        QCOMPARE(added.names, QStringList{QStringLiteral("児童1")});
        QCOMPARE(added.refused.size(), 45);
        QCOMPARE(added.refused[0].line, 3);
        QCOMPARE(added.refused[0].reason, QStringLiteral("クラスは45人までです"));
    }

    // A gap in the numbers is told: the names after it move up.
    void gapInTheNumbersIsTold()
    {
        QString problem;
        const RosterImport::Table table = RosterImport::read(QStringLiteral("番号,氏名\n1,青木\n3,上野\n").toUtf8(), problem);
        const RosterImport::Result result = RosterImport::take(table, RosterImport::guess(table));
        QCOMPARE(result.names, (QStringList{"青木", "上野"}));
        QCOMPARE(result.refused.size(), 1);
        QCOMPARE(result.refused[0].line, 0);
        QVERIFY(result.refused[0].reason.contains(QStringLiteral("番号 2 の児童がいない")));
    }

    // 氏名メンテナンス: a Shift_JIS file with tabs; the columns come from the heading,
    // the refused rows are listed, nothing is written while the window is open, and
    // 読み込む replaces the names number by number.
    void rosterWindowImportsAfterAcceptance()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("前一"), QStringLiteral("前二"), QStringLiteral("前三")});
        const QByteArray before = env.readBytes(QStringLiteral("Class.Nam"));
        MainWindow& window = env.startMainWindow();
        menuEntry(window, "rosterAction")->trigger();
        auto* roster = window.findChild<RosterWindow*>();
        QVERIFY(roster);
        env.ui.clear();
        env.ui.openNames.push_back(writeFile(env, QStringLiteral("名簿.txt"), shiftJis(SchoolFile)));
        QStringList preview, refused;
        bool untouched = false;
        env.ui.modalHandlers.push_back([&](QDialog& dialog) {
            QCOMPARE(child<QComboBox>(&dialog, "numberColumn")->currentText(), QStringLiteral("列1：出席番号"));
            QCOMPARE(child<QComboBox>(&dialog, "nameColumn")->currentText(), QStringLiteral("列3：氏名"));
            QVERIFY(child<QCheckBox>(&dialog, "headingCheck")->isChecked());
            QCOMPARE(child<QTableWidget>(&dialog, "fileRows")->item(1, 2)->text(), QStringLiteral("石田　花"));
            preview = listTexts(child<QListWidget>(&dialog, "previewList"));
            refused = listTexts(child<QListWidget>(&dialog, "refusedList"));
            untouched = env.readBytes(QStringLiteral("Class.Nam")) == before;
            QTest::mouseClick(child<QPushButton>(&dialog, "importButton"), Qt::LeftButton);
        });
        env.ui.answers.push_back(Ui::Answer::Ok);  // replace the three names
        child<QPushButton>(roster, "importButton")->click();
        QVERIFY2(env.ui.modalDialogs == QStringList{QStringLiteral("RosterImportWindow")}, qPrintable(env.ui.messageTexts().join(QLatin1Char('|'))));
        QVERIFY(untouched);
        QCOMPARE(preview, (QStringList{"1番　青木　太郎", "2番　石田　花", "3番　上野　結衣"}));
        QCOMPARE(refused.size(), 3);
        QCOMPARE(refused[0], QStringLiteral("5行目：番号 3 は4行目と同じです"));
        QVERIFY2(refused[1].startsWith(QStringLiteral("6行目：氏名「吉\"田」は保存できません。")), qPrintable(refused[1]));
        QCOMPARE(refused[2], QStringLiteral("7行目：氏名が空です"));
        QVERIFY(env.ui.lastMessage().contains(QStringLiteral("今の3人の氏名")));
        ClassData stored = env.data;
        QVERIFY(RosterFile::load(stored).ok);
        QCOMPARE(stored.pupilCount, 3);
        QCOMPARE((QStringList{stored.pupilName[1], stored.pupilName[2], stored.pupilName[3]}),
                 (QStringList{"青木　太郎", "石田　花", "上野　結衣"}));
    }

    // Cancelled, or of another size than the class: nothing is written.
    void rosterWindowKeepsTheRosterOtherwise()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("前一"), QStringLiteral("前二")});
        const QByteArray before = env.readBytes(QStringLiteral("Class.Nam"));
        MainWindow& window = env.startMainWindow();
        menuEntry(window, "rosterAction")->trigger();
        auto* roster = window.findChild<RosterWindow*>();
        env.ui.clear();
        const QString file = writeFile(env, QStringLiteral("a.csv"), SchoolFile.toUtf8());
        env.ui.openNames = {file, file};
        env.ui.modalHandlers.push_back([](QDialog& dialog) { child<QPushButton>(&dialog, "cancelButton")->click(); });
        env.ui.modalHandlers.push_back([](QDialog& dialog) { child<QPushButton>(&dialog, "importButton")->click(); });
        QPushButton* import = child<QPushButton>(roster, "importButton");
        import->click();
        QCOMPARE(env.readBytes(QStringLiteral("Class.Nam")), before);
        import->click();
        QVERIFY(env.ui.lastMessage().contains(QStringLiteral("読み込んだ名簿は3人、今のクラスは2人です")));
        QCOMPARE(env.readBytes(QStringLiteral("Class.Nam")), before);
        QCOMPARE(env.ui.modalDialogs.size(), 2);
    }

    // The first start: a UTF-8 file with a byte-order mark and commas, read after
    // 新規ｸﾗｽ; the names join the list and 入力終了 writes them.
    void firstStartTakesTheFile()
    {
        TestEnv env;
        MainWindow& window = env.startMainWindow();
        SettingsWindow* dialog = nullptr;
        for (QMdiSubWindow* frame : window.mdiArea()->subWindowList())
            if (auto* found = qobject_cast<SettingsWindow*>(frame->widget()))
                dialog = found;
        QVERIFY(dialog);
        QPushButton* import = child<QPushButton>(dialog, "importNamesButton");
        QVERIFY(!import->isEnabled());
        env.ui.choices.push_back(0);  // OK: a new class
        SettingsControls::newClassButton(dialog)->click();
        QVERIFY(import->isEnabled());
        const QString text = QStringLiteral("学年,組,番号,児童氏名,ふりがな\r\n4,1,1,青木,あおき\r\n4,1,2,=石田,いしだ\r\n4,1,3,上野,うえの\r\n");
        env.ui.openNames.push_back(writeFile(env, QStringLiteral("roster.csv"), QByteArray("\xEF\xBB\xBF") + text.toUtf8()));
        QString about;
        env.ui.modalHandlers.push_back([&](QDialog& d) {
            about = child<QLabel>(&d, "fileAbout")->text();
            QCOMPARE(child<QComboBox>(&d, "numberColumn")->currentIndex(), 3);
            QCOMPARE(child<QComboBox>(&d, "nameColumn")->currentIndex(), 3);
            child<QPushButton>(&d, "importButton")->click();
        });
        import->click();
        QVERIFY2(about.contains(QStringLiteral("UTF-8")) && about.contains(QStringLiteral("コンマ")), qPrintable(about));

        // 43 more names for a list of 3: the one that would be the 46th pupil is
        // refused by its line, and the list ends at 45.
        QString more;
        for (int p = 1; p <= 43; ++p)
            more += QStringLiteral("児童%1\n").arg(p);
        env.ui.openNames.push_back(writeFile(env, QStringLiteral("more.txt"), more.toUtf8()));
        QStringList preview, refused;
        env.ui.modalHandlers.push_back([&](QDialog& d) {
            QVERIFY(!child<QCheckBox>(&d, "headingCheck")->isChecked());
            preview = listTexts(child<QListWidget>(&d, "previewList"));
            refused = listTexts(child<QListWidget>(&d, "refusedList"));
            child<QPushButton>(&d, "importButton")->click();
        });
        import->click();
        QCOMPARE(preview.size(), 42);
        QCOMPARE(preview.first(), QStringLiteral("4番　児童1"));
        QCOMPARE(preview.last(), QStringLiteral("45番　児童42"));
        QCOMPARE(refused, QStringList{QStringLiteral("43行目：クラスは45人までです")});
        QCOMPARE(child<QLabel>(dialog, "pupilCountLabel")->text(), QStringLiteral("45"));
        // A full list takes no file at all.
        env.ui.clear();
        import->click();
        QVERIFY(env.ui.lastMessage().contains(QStringLiteral("すでに45人")));
        QVERIFY(env.ui.modalDialogs.isEmpty());
        SettingsControls::endNameEntryButton(dialog)->click();
        ClassData stored = env.data;
        QVERIFY(RosterFile::load(stored).ok);
        QCOMPARE(stored.pupilCount, 45);
        QCOMPARE((QStringList{stored.pupilName[1], stored.pupilName[2], stored.pupilName[3], stored.pupilName[45]}),
                 (QStringList{"青木", "=石田", "上野", "児童42"}));
    }
};

QTEST_MAIN(RosterImportTest)
#include "test_roster_import.moc"
