// 所見の入力 driven inside the real main window as a teacher uses it: a comment
// typed with its live count, a phrase of the bank put in at the cursor with {名前}
// made the pupil's name and undone again, a selection added to the bank, the checks
// on request, the term's figures beside the comment, saving (the class file byte for
// byte) and closing with comments not saved; a class file or phrase bank the system
// refuses to write loses nothing and says so.

#include "Controls.h"
#include "MainWindowControls.h"
#include "RefusedWrites.h"
#include "SampleClass.h"
#include "TestEnv.h"
#include "app/MainWindow.h"
#include "model/Comments.h"
#include "model/PhraseBank.h"
#include "reports/CommentWindow.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QTest>
#include <QTreeWidget>

using namespace MainControls;
using namespace Sample;
using Controls::child;

namespace {

// Japanese text arrives as the input method's commit, as it does from a teacher's IME.
void commit(QWidget* box, const QString& text)
{
    box->setFocus();
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(box, &event);
}

const QString Assessment = QStringLiteral("assessment.json");
const QStringList Names{QStringLiteral("青木　一郎"), QStringLiteral("石田　花子"), QStringLiteral("髙橋　一郎"),
                        QStringLiteral("江藤　さくら"), QStringLiteral("大川　翔")};

// Five pupils (青木　一郎, 石田　花子, 髙橋　一郎, 江藤　さくら, 大川　翔); 国語 has two
// tests of term 1 (one of weight 2) and one of term 2.
struct Fixture {
    TestEnv env;
    QTemporaryDir bankFolder;
    MainWindow* window = nullptr;
    CommentWindow* comments = nullptr;

    Fixture()
    {
        homeroomClass(env, 5);
        env.writeFile(QStringLiteral("Class.Nam"), rosterLines(Names));
        env.writeFile(QStringLiteral("国語.dat"),
                      scoreLines({{QStringLiteral("音読"), {{1, 100, {90, 40, 70, 60, 80}}}},
                                  {QStringLiteral("作文"), {{2, 100, {80, 30, 60, 90, 70}}}},
                                  {QStringLiteral("漢字"), {{1, 100, {10, 20, 30, 40, 50}}}}}));
        const QJsonArray tests{QJsonObject{{"term", 1}}, QJsonObject{{"term", 1}, {"weight", 2}},
                               QJsonObject{{"term", 2}}};
        env.writeBytes(Assessment, QJsonDocument(QJsonObject{{"version", 1},
                                                             {"subjects", QJsonObject{{QStringLiteral("国語"), QJsonObject{{"tests", tests}}}}}})
                                       .toJson());
        CommentWindow::setBankPaths(bankPath(), TestEnv::buildFolder() + QStringLiteral("/phrases.json"));
        window = &env.startMainWindow();
        env.ui.clear();
    }
    ~Fixture() { CommentWindow::setBankPaths({}, {}); }

    QString bankPath() const { return bankFolder.path() + QStringLiteral("/Mevra/Kazane/phrases.json"); }

    void open()
    {
        menuEntry(*window, "commentsAction")->trigger();
        comments = window->findChild<CommentWindow*>();
        QVERIFY(comments);
    }
    template <class T>
    T* control(const char* name) const { return child<T>(comments, QLatin1String(name)); }
    QPlainTextEdit* edit() const { return control<QPlainTextEdit>("commentEdit"); }
    QString count() const { return control<QLabel>("countLabel")->text(); }
    void choosePupil(int p) { control<QListWidget>("pupilList")->setCurrentRow(p - 1); }
    void type(const QString& text) { commit(edit(), text); }
    QJsonObject classFile() const { return QJsonDocument::fromJson(env.readBytes(Assessment)).object(); }
};

}  // namespace

class CommentWindowTest : public QObject {
    Q_OBJECT
private slots:
    void aCommentTypedIsCountedAndSavedWithItsPupil()
    {
        Fixture f;
        f.open();
        QCOMPARE(f.comments->windowTitle(), QStringLiteral("所見の入力"));
        // June: the first term is chosen; the window keeps the other windows shut.
        QCOMPARE(f.control<QComboBox>("termBox")->currentText(), QStringLiteral("1学期"));
        QVERIFY(!menuEntry(*f.window, "rosterAction")->isEnabled());
        f.choosePupil(2);
        QCOMPARE(f.control<QLabel>("pupilHeading")->text(), QStringLiteral("2番 石田　花子　1学期の所見"));
        f.type(QStringLiteral("音読がabc上手"));
        QCOMPARE(f.count(), QStringLiteral("7／200字"));  // 5 full width + 3 half width = 6.5, rounded up
        QCOMPARE(f.control<QListWidget>("pupilList")->item(1)->text(), QStringLiteral("  2番 石田　花子　　 ✓7"));
        f.control<QSpinBox>("limitBox")->setValue(6);
        QCOMPARE(f.count(), QStringLiteral("7／6字（1字超えています）"));
        QCOMPARE(f.control<QListWidget>("pupilList")->item(1)->text(), QStringLiteral("  2番 石田　花子　　 ！7"));
        QCOMPARE(f.env.settings->value(CommentWindow::limitKey()).toString(), QStringLiteral("6"));
        QVERIFY(f.comments->unsaved());

        f.control<QPushButton>("saveButton")->click();
        QVERIFY(!f.comments->unsaved());
        QCOMPARE(f.classFile()["comments"].toObject(),
                 (QJsonObject{{"1", QJsonArray{QString(), QStringLiteral("音読がabc上手")}}}));
        QVERIFY(f.classFile()["subjects"].toObject()[QStringLiteral("国語")].toObject()["tests"].toArray().size() == 3);
        QCOMPARE(Comments::of(f.env.data, 1, 2), QStringLiteral("音読がabc上手"));

        // The second term is a page of its own.
        f.control<QComboBox>("termBox")->setCurrentIndex(1);
        QCOMPARE(f.edit()->toPlainText(), QString());
        QCOMPARE(f.count(), QStringLiteral("0／6字"));
        f.control<QPushButton>("closeButton")->click();
        QTRY_VERIFY(!f.window->findChild<CommentWindow*>());
        QVERIFY(f.env.ui.messages.isEmpty());
        QVERIFY(menuEntry(*f.window, "rosterAction")->isEnabled());

        // Opened again: the comment and the limit are there.
        f.open();
        f.choosePupil(2);
        QCOMPARE(f.edit()->toPlainText(), QStringLiteral("音読がabc上手"));
        QCOMPARE(f.control<QSpinBox>("limitBox")->value(), 6);
    }

    void theTermsFiguresStandBesideTheComment()
    {
        Fixture f;
        f.open();
        f.choosePupil(1);
        // Term 1: 音読 90 (weight 1) and 作文 80 (weight 2) both 観点Ⅰ..Ⅱ: the lines
        // name the tests counted and the term's attendance of April to July.
        const QString figures = f.control<QLabel>("figuresView")->text();
        QVERIFY2(figures.startsWith(QStringLiteral("国語（1学期のテスト2件）：")), qPrintable(figures));
        QVERIFY2(figures.contains(QStringLiteral("評定 ")), qPrintable(figures));
        QVERIFY2(figures.contains(QStringLiteral("出欠（4月～7月）：授業日数 70")), qPrintable(figures));
        f.control<QComboBox>("termBox")->setCurrentIndex(2);
        QVERIFY2(f.control<QLabel>("figuresView")->text().startsWith(QStringLiteral("国語：3学期のテストはまだありません")),
                 qPrintable(f.control<QLabel>("figuresView")->text()));
    }

    void aPhraseGoesInAtTheCursorWithTheNameAndIsUndone()
    {
        Fixture f;
        f.open();
        f.choosePupil(4);
        f.type(QStringLiteral("一学期は。"));
        f.edit()->moveCursor(QTextCursor::Start);
        f.edit()->moveCursor(QTextCursor::Right);
        f.edit()->moveCursor(QTextCursor::Right);
        f.edit()->moveCursor(QTextCursor::Right);
        auto* tree = f.control<QTreeWidget>("phraseTree");
        commit(f.control<QLineEdit>("phraseSearch"), QStringLiteral("あいさつ"));
        QTreeWidgetItem* found = nullptr;
        int shown = 0;
        for (int g = 0; g < tree->topLevelItemCount(); ++g)
            for (int i = 0; i < tree->topLevelItem(g)->childCount(); ++i)
                if (!tree->topLevelItem(g)->child(i)->isHidden()) {
                    found = tree->topLevelItem(g)->child(i);
                    ++shown;
                }
        QCOMPARE(shown, 1);
        QCOMPARE(found->text(0), QStringLiteral("{名前}さんは、毎朝元気なあいさつで学級を明るくしてくれました。"));
        tree->setCurrentItem(found);
        f.control<QPushButton>("insertPhraseButton")->click();
        QCOMPARE(f.edit()->toPlainText(), QStringLiteral("一学期さくらさんは、毎朝元気なあいさつで学級を明るくしてくれました。は。"));
        QCOMPARE(f.count(), QStringLiteral("36／200字"));
        // Ctrl+Z takes the phrase out again; the other pupils keep their own undo.
        QTest::keyClick(f.edit(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.edit()->toPlainText(), QStringLiteral("一学期は。"));
        f.choosePupil(1);
        QVERIFY(!f.edit()->document()->isUndoAvailable());
        f.choosePupil(4);
        QVERIFY(f.edit()->document()->isUndoAvailable());
        // Nothing chosen in the list: the teacher is told to choose.
        tree->setCurrentItem(tree->topLevelItem(0));
        f.control<QPushButton>("insertPhraseButton")->click();
        QCOMPARE(f.env.ui.lastMessage(), QStringLiteral("入れる文例を一覧から選んでください。"));
        QCOMPARE(f.edit()->toPlainText(), QStringLiteral("一学期は。"));
    }

    void aSelectionIsAddedToTheTeachersBank()
    {
        Fixture f;
        f.open();
        f.choosePupil(1);
        f.type(QStringLiteral("前置き。音楽会で堂々と歌いました。"));
        QTextCursor cursor = f.edit()->textCursor();
        cursor.setPosition(4);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        f.edit()->setTextCursor(cursor);
        f.env.ui.inputs.push_back(QStringLiteral("行事"));
        f.control<QPushButton>("addToBankButton")->click();
        QCOMPARE(f.env.ui.inputPrompts.size(), 1);
        PhraseBank::Bank bank;
        QVERIFY(PhraseBank::parse(fileBytes(f.bankPath()), QStringLiteral("phrases.json"), bank).ok);
        QCOMPARE(bank[2].heading, QStringLiteral("行事"));
        QCOMPARE(bank[2].phrases.last(), QStringLiteral("音楽会で堂々と歌いました。"));
        QCOMPARE(bank.size(), 4);
        // The tree shows it, and a search finds it.
        commit(f.control<QLineEdit>("phraseSearch"), QStringLiteral("音楽会"));
        auto* tree = f.control<QTreeWidget>("phraseTree");
        QVERIFY(!tree->topLevelItem(2)->isHidden());
        QVERIFY(tree->topLevelItem(0)->isHidden());
        // Nothing selected: nothing is asked or added.
        f.edit()->moveCursor(QTextCursor::End);
        f.control<QPushButton>("addToBankButton")->click();
        QCOMPARE(f.env.ui.inputPrompts.size(), 1);
        QCOMPARE(f.env.ui.lastMessage(), QStringLiteral("文例にしたい部分を所見の中で選んでから押してください。"));
    }

    void checksOnRequestNameWhatToLookAt()
    {
        Fixture f;
        f.open();
        f.control<QSpinBox>("limitBox")->setValue(10);
        const QStringList typed{QStringLiteral("一郎さんはよく発表しました。"), QStringLiteral("江藤さんと仲良し"),
                                QStringLiteral("短い"), QString(), QStringLiteral("翔さん")};
        for (int p = 1; p <= 5; ++p)
            if (!typed[p - 1].isEmpty()) {
                f.choosePupil(p);
                f.type(typed[p - 1]);
            }
        f.choosePupil(5);
        f.control<QPushButton>("checkButton")->click();
        QCOMPARE(f.env.ui.lastMessage(),
                 QStringLiteral("1学期の所見を確かめてください（3件）。\n\n"
                                "1番 青木　一郎：14字で、10字を4字超えています。\n"
                                "2番 石田　花子：ほかの児童の名前「江藤さん」（4番 江藤　さくら）が入っています。\n"
                                "4番 江藤　さくら：所見がまだ空です。"));
        // The first pupil to look at is shown.
        QCOMPARE(f.control<QListWidget>("pupilList")->currentRow(), 0);
        QCOMPARE(f.edit()->toPlainText(), typed[0]);
        f.choosePupil(4);
        f.type(QStringLiteral("元気"));
        f.choosePupil(1);
        f.edit()->selectAll();
        f.type(QStringLiteral("よく発表"));
        f.choosePupil(2);
        f.edit()->selectAll();
        f.type(QStringLiteral("仲良し"));
        f.control<QPushButton>("checkButton")->click();
        QCOMPARE(f.env.ui.lastMessage(), QStringLiteral("1学期の所見に気になるところはありません。"));
    }

    void closingWithCommentsNotSavedAsks()
    {
        Fixture f;
        const QByteArray before = f.env.readBytes(Assessment);
        f.open();
        f.type(QStringLiteral("書きかけ"));
        f.env.ui.choices.push_back(2);  // キャンセル
        f.control<QPushButton>("closeButton")->click();
        QVERIFY(f.window->findChild<CommentWindow*>());
        QCOMPARE(f.env.ui.messages.last().choices,
                 (QStringList{QStringLiteral("保存する"), QStringLiteral("保存しない"), QStringLiteral("キャンセル")}));
        f.env.ui.choices.push_back(1);  // 保存しない
        f.control<QPushButton>("closeButton")->click();
        QTRY_VERIFY(!f.window->findChild<CommentWindow*>());
        QCOMPARE(f.env.readBytes(Assessment), before);
        QCOMPARE(Comments::of(f.env.data, 1, 1), QString());

        f.open();
        f.type(QStringLiteral("保存して閉じる"));
        f.env.ui.choices.push_back(0);  // 保存する
        f.control<QPushButton>("closeButton")->click();
        QTRY_VERIFY(!f.window->findChild<CommentWindow*>());
        QCOMPARE(f.classFile()["comments"].toObject()["1"].toArray()[0].toString(), QStringLiteral("保存して閉じる"));
    }

    void aRefusedClassFileLosesNoComment_data() { RefusedWrites::addRows(); }
    void aRefusedClassFileLosesNoComment()
    {
        QFETCH(Refusal, refusal);
        Fixture f;
        RefusedWrites refused(refusal, f.env);
        SKIP_UNLESS_AVAILABLE(refused);
        f.open();
        const QByteArray before = f.env.readBytes(Assessment);
        f.choosePupil(3);
        f.type(QString(150, QChar(u'所')));
        refused.start(before.size() + 10, 0);
        f.control<QPushButton>("saveButton")->click();
        refused.stop();
        QVERIFY2(f.env.ui.lastMessage().contains(QStringLiteral("「assessment.json」")), qPrintable(f.env.ui.lastMessage()));
        QVERIFY(f.env.ui.lastMessage().contains(QStringLiteral("所見は画面に残っています")));
        QVERIFY(isJapaneseMessage(f.env.ui.lastMessage()));
        QCOMPARE(f.env.readBytes(Assessment), before);
        QVERIFY(f.comments->unsaved());
        QCOMPARE(f.edit()->toPlainText(), QString(150, QChar(u'所')));
        f.control<QPushButton>("saveButton")->click();
        QCOMPARE(f.classFile()["comments"].toObject()["1"].toArray()[2].toString(), QString(150, QChar(u'所')));
    }

    void aRefusedBankLosesNothing()
    {
        Fixture f;
        f.open();
        // The teacher's bank exists already.
        PhraseBank::Bank bank{{QStringLiteral("学習"), {QStringLiteral("自分の文例")}}};
        QVERIFY(PhraseBank::save(f.bankPath(), bank).ok);
        f.control<QPushButton>("closeButton")->click();
        QTRY_VERIFY(!f.window->findChild<CommentWindow*>());
        f.open();
        const QByteArray before = fileBytes(f.bankPath());
        f.type(QString(400, QChar(u'長')));
        f.edit()->selectAll();
        f.env.ui.inputs.push_back(QStringLiteral("学習"));
        {
            FileSizeLimit limit(before.size() + 10);
            f.control<QPushButton>("addToBankButton")->click();
        }
        QVERIFY2(f.env.ui.lastMessage().contains(QStringLiteral("文例は追加されていません")), qPrintable(f.env.ui.lastMessage()));
        QVERIFY(isJapaneseMessage(f.env.ui.lastMessage()));
        QCOMPARE(fileBytes(f.bankPath()), before);
        QCOMPARE(f.edit()->toPlainText(), QString(400, QChar(u'長')));
        QCOMPARE(f.control<QTreeWidget>("phraseTree")->topLevelItem(0)->childCount(), 1);
    }
};

QTEST_MAIN(CommentWindowTest)
#include "test_comment_window.moc"
