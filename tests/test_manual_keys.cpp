// The manual against the program: every statement of the help pages about keys and
// buttons that can be checked mechanically is read and checked against the real
// windows, so that the manual cannot drift from the program again.
//
// Read from the pages as shipped (the help folder beside the built program):
//   - Ctrl+key: a shortcut of the page's window (its actions and shortcuts), of the
//     main window, or a key every child window takes (Ctrl+F4);
//   - Alt+letter (and "/ <letter>" after it): a marked letter of a caption in the
//     page's window or the main window;
//   - 「caption」 before ボタン, を押, をクリック or で閉じ: a caption of a button,
//     menu entry or tool-bar button of some window or dialog of the program;
//   - 「menu」メニューの「entry」: an entry of that menu;
//   - the first column of a table of buttons: each caption with its marked letter
//     ("保存終了(S)") exactly as a control shows it.

#include "ChildWindows.h"
#include "DataFiles.h"
#include "TestEnv.h"
#include "app/MainWindow.h"
#include "entry/FixedValuesDialog.h"
#include "entry/OtherClassTestPicker.h"
#include "frame/ChildWindow.h"
#include "maintenance/RosterImportWindow.h"
#include "reports/OverrulingDialog.h"
#include "reports/TestPickerDialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSet>
#include <QShortcut>
#include <QTest>
#include <QToolButton>

using namespace DataFiles;

namespace {

// What the windows show: captions without their marks, the marked letters, the
// shortcuts, and each menu's entries.
struct Vocabulary {
    QSet<QString> captions;
    QSet<QChar> letters;
    QSet<QKeySequence> shortcuts;
    QMap<QString, QSet<QString>> menus;
    QSet<QString> markedCaptions;  // "保存終了(S)": the caption with its letter shown
};

const QRegularExpression Mark(QStringLiteral("&(.)"));

QString bare(QString text)
{
    static const QRegularExpression letterInBrackets(QStringLiteral("\\s*[(（]&.[)）]"));
    return text.remove(letterInBrackets).remove(QLatin1Char('&')).trimmed();
}

void addCaption(Vocabulary& words, const QString& text)
{
    if (text.isEmpty())
        return;
    const QRegularExpressionMatch mark = Mark.match(text);
    if (mark.hasMatch())
        words.letters.insert(mark.captured(1).at(0).toUpper());
    QString shown = text;
    shown.replace(Mark, QStringLiteral("\\1"));
    words.captions.insert(bare(text));
    words.captions.insert(shown.trimmed());
    words.markedCaptions.insert(shown.trimmed().remove(QLatin1Char(' ')));
}

void collect(const QWidget* root, Vocabulary& words)
{
    for (const QAbstractButton* button : root->findChildren<QAbstractButton*>())
        addCaption(words, button->text());
    for (const QGroupBox* box : root->findChildren<QGroupBox*>())
        addCaption(words, box->title());
    for (const QLabel* label : root->findChildren<QLabel*>())
        if (label->buddy())
            addCaption(words, label->text());
    for (const QAction* action : root->findChildren<QAction*>()) {
        addCaption(words, action->text());
        addCaption(words, action->iconText());
        for (const QKeySequence& key : action->shortcuts())
            words.shortcuts.insert(key);
    }
    for (const QShortcut* shortcut : root->findChildren<QShortcut*>())
        for (const QKeySequence& key : shortcut->keys())
            words.shortcuts.insert(key);
    // A menu bar's entry that opens a window at once counts as a menu of its own.
    for (const QMenuBar* bar : root->findChildren<QMenuBar*>())
        for (const QAction* title : bar->actions())
            if (!title->isSeparator())
                words.menus[bare(title->text())];
    for (const QMenu* menu : root->findChildren<QMenu*>()) {
        addCaption(words, menu->title());
        QSet<QString>& entries = words.menus[bare(menu->title())];
        for (const QAction* entry : menu->actions())
            entries.insert(bare(entry->text()));
    }
}

// A class of three with a test in every subject, the main window started on it.
MainWindow& startClass(TestEnv& env)
{
    env.makeClass(pupilNames(3));
    for (const QString& stem : subjectStems())
        env.writeFile(stem + QStringLiteral(".dat"), scoreLines({{QStringLiteral("小テスト"), {{1, 50, {10, 20, 30}}}}}));
    MainWindow& main = env.startMainWindow();
    main.activateWindow();
    if (!QTest::qWaitForWindowActive(&main))
        qWarning("the main window did not become active");
    return main;
}

// The page of each child window (the others describe the main window or no window).
const QMap<QString, QString>& windowOfPage()
{
    static const QMap<QString, QString> pages{
        {"entry.html", "scoreEntry"},     {"tests.html", "testList"},       {"roster.html", "roster"},
        {"test-tally.html", "testTally"}, {"overall-tally.html", "overallTally"}, {"pupil-results.html", "pupilResults"},
        {"statistics.html", "statistics"}, {"attendance.html", "attendance"}, {"backup.html", "backup"},
        {"settings.html", "settings"},
    };
    return pages;
}

// The main window with the page's window open (none for the other pages).
Vocabulary wordsOfPage(const QString& page)
{
    TestEnv env;
    MainWindow& main = startClass(env);
    if (windowOfPage().contains(page)) {
        ChildWindow* child = ChildWindows::named(qPrintable(windowOfPage()[page])).open(main);
        if (!child)
            qFatal("the window of %s did not open", qPrintable(page));
    }
    Vocabulary words;
    collect(&main, words);
    // Every child window closes with Ctrl+F4 and Esc; Ctrl+Tab steps through them.
    words.shortcuts << ChildWindow::closeKey() << QKeySequence(Qt::CTRL | Qt::Key_Tab);
    return words;
}

// Every caption of every window and of the dialogs the windows open.
Vocabulary everyWord()
{
    Vocabulary words;
    for (const ChildWindows::Opener& opener : ChildWindows::all()) {
        TestEnv env;
        MainWindow& main = startClass(env);
        opener.open(main);
        collect(&main, words);
        if (qstrcmp(opener.name, "scoreEntry") == 0) {
            FixedValuesDialog fixed(*env.ctx, main.activeChild());
            collect(&fixed, words);
            OtherClassTestPicker picker(*env.ctx, main.activeChild());
            collect(&picker, words);
        }
        if (qstrcmp(opener.name, "roster") == 0) {
            RosterImportWindow import(RosterImport::Table{}, QStringLiteral("名簿.csv"), 0, main.activeChild());
            collect(&import, words);
        }
        if (qstrcmp(opener.name, "overallTally") == 0) {
            TestPickerDialog picker(*env.ctx, main.activeChild());
            collect(&picker, words);
            const OverrulingDialog::Shown shown{QStringLiteral("1番"), QStringLiteral("評定"), QStringLiteral("すべてのテスト"),
                                                QStringLiteral("3"), {"3", "2", "1"}, QStringLiteral("2"), QStringLiteral("面談")};
            OverrulingDialog overruling(env.ui, shown, main.activeChild());
            collect(&overruling, words);
        }
    }
    words.shortcuts << ChildWindow::closeKey() << QKeySequence(Qt::CTRL | Qt::Key_Tab);
    return words;
}

QStringList helpPages()
{
    return QDir(TestEnv::buildFolder() + QStringLiteral("/help")).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}

QString readPage(const QString& page)
{
    QFile file(TestEnv::buildFolder() + QStringLiteral("/help/") + page);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString plainText(QString html)
{
    static const QRegularExpression tag(QStringLiteral("<[^>]+>"));
    return html.remove(tag).replace(QStringLiteral("&amp;"), QStringLiteral("&")).trimmed();
}

// Statements about other programs (the file manager), not about this one.
bool aboutAnotherProgram(const QString& page, const QString& key)
{
    return page == QLatin1String("data-safety.html") && key == QLatin1String("Ctrl+H");
}

}  // namespace

class ManualKeysTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(helpPages().size() >= 15);
        all = everyWord();
        QVERIFY(all.captions.contains(QStringLiteral("保存終了")));
    }

    void keysOfEveryPage_data()
    {
        QTest::addColumn<QString>("page");
        for (const QString& page : helpPages())
            QTest::newRow(qPrintable(page)) << page;
    }

    // Ctrl+ and Alt+ keys named by a page are the keys of its window.
    void keysOfEveryPage()
    {
        QFETCH(QString, page);
        const QString html = readPage(page);
        static const QRegularExpression combination(QStringLiteral(
            "<kbd>(Ctrl|Alt)</kbd>\\s*[+＋]\\s*<kbd>([^<]+)</kbd>((?:\\s*[/／]\\s*<kbd>[^<]+</kbd>)*)"));
        static const QRegularExpression more(QStringLiteral("<kbd>([^<]+)</kbd>"));
        // A page of no window (printing, the term's end) speaks of keys of them all.
        const Vocabulary words = windowOfPage().contains(page) || page == QLatin1String("main.html") ? wordsOfPage(page) : all;
        QStringList wrong;
        int checked = 0;
        for (auto it = combination.globalMatch(html); it.hasNext();) {
            const QRegularExpressionMatch found = it.next();
            QStringList keys{found.captured(2)};
            for (auto extra = more.globalMatch(found.captured(3)); extra.hasNext();)
                keys << extra.next().captured(1);
            for (const QString& key : keys) {
                const QString statement = found.captured(1) + QLatin1Char('+') + key;
                if (aboutAnotherProgram(page, statement))
                    continue;
                ++checked;
                if (found.captured(1) == QLatin1String("Alt")) {
                    if (key.size() != 1 || !words.letters.contains(key.at(0).toUpper()))
                        wrong << statement + QStringLiteral(": no caption marks this letter");
                } else if (!words.shortcuts.contains(QKeySequence::fromString(statement))) {
                    wrong << statement + QStringLiteral(": no such shortcut");
                }
            }
        }
        if (html.contains(QStringLiteral("<kbd>F1</kbd>"))) {
            ++checked;
            if (!words.shortcuts.contains(QKeySequence(Qt::Key_F1)))
                wrong << QStringLiteral("F1: no such shortcut");
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(page + QStringLiteral(": ") + wrong.join(QStringLiteral("; "))));
        if (windowOfPage().contains(page) || page == QLatin1String("main.html"))
            QVERIFY2(checked > 0, qPrintable(page + QStringLiteral(" names no key of its window")));
    }

    // Captions quoted as buttons, menus and their entries, and the tables of buttons.
    void captionsOfEveryPage_data() { keysOfEveryPage_data(); }

    void captionsOfEveryPage()
    {
        QFETCH(QString, page);
        const QString html = readPage(page);
        QStringList wrong;
        static const QRegularExpression pressed(QStringLiteral("「([^」]+)」(?:ボタン|を押|をクリック|で閉じ)"));
        for (auto it = pressed.globalMatch(html); it.hasNext();) {
            const QString caption = plainText(it.next().captured(1));
            if (!all.captions.contains(caption) && !all.captions.contains(bare(caption)))
                wrong << QStringLiteral("「%1」: no button says so").arg(caption);
        }
        static const QRegularExpression menu(QStringLiteral("「([^」]+)」メニュー(?:の「([^」]+)」)?"));
        for (auto it = menu.globalMatch(html); it.hasNext();) {
            const QRegularExpressionMatch found = it.next();
            const QString title = found.captured(1);
            if (!all.menus.contains(title))
                wrong << QStringLiteral("「%1」: no such menu").arg(title);
            else if (!found.captured(2).isEmpty() && !all.menus[title].contains(found.captured(2)))
                wrong << QStringLiteral("「%1」メニューの「%2」: no such entry").arg(title, found.captured(2));
        }
        // A button table's captions with a marked letter are checked as shown.
        static const QRegularExpression table(QStringLiteral("<tr><th>ボタン</th>(.*?)</table>"),
                                              QRegularExpression::DotMatchesEverythingOption);
        static const QRegularExpression firstCell(QStringLiteral("<tr><td>(.*?)</td>"));
        static const QRegularExpression marked(QStringLiteral("^[^()（）]+\\([A-Z0-9]\\)$"));
        for (auto it = table.globalMatch(html); it.hasNext();) {
            const QString rows = it.next().captured(1);
            for (auto cell = firstCell.globalMatch(rows); cell.hasNext();) {
                const QStringList pieces = plainText(cell.next().captured(1)).split(QRegularExpression(QStringLiteral("[・／]")));
                for (const QString& piece : pieces)
                    if (marked.match(piece).hasMatch() && !all.markedCaptions.contains(QString(piece).remove(QLatin1Char(' '))))
                        wrong << QStringLiteral("%1: no control shows this caption with its letter").arg(piece);
            }
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(page + QStringLiteral(": ") + wrong.join(QStringLiteral("; "))));
    }

    // The checker itself finds a caption that is not there, and a key no window has.
    void theCheckerSeesADrift()
    {
        QVERIFY(!all.captions.contains(QStringLiteral("保存して閉じる")));
        QVERIFY(all.markedCaptions.contains(QStringLiteral("必要日揃え(S)")));
        QVERIFY(!all.markedCaptions.contains(QStringLiteral("必要日揃え(X)")));
        const Vocabulary attendance = wordsOfPage(QStringLiteral("attendance.html"));
        QVERIFY(attendance.shortcuts.contains(QKeySequence(Qt::CTRL | Qt::Key_P)));
        QVERIFY(!attendance.shortcuts.contains(QKeySequence(Qt::CTRL | Qt::Key_K)));
    }

private:
    Vocabulary all;
};

QTEST_MAIN(ManualKeysTest)
#include "test_manual_keys.moc"
