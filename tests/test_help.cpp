// The teacher's manual as the program ships it (the help folder beside the built
// program): F1 in every window opens a page of that window, every page a window or a
// topic number names is there and teaches (what the window is for, its buttons, its
// keys, its messages), every link and picture of the manual resolves, and the help
// window's contents, history and search work.

#include "MainWindowControls.h"
#include "TestEnv.h"
#include "app/MainWindow.h"
#include "frame/ChildWindow.h"
#include "platform/HelpIndex.h"
#include "platform/HelpPicture.h"
#include "platform/HelpTopics.h"
#include "platform/HelpViewer.h"

#include <QAction>
#include <QDialog>
#include <QSettings>
#include <QDir>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>

#include <functional>

namespace {

QString helpFolder()
{
    return TestEnv::buildFolder() + QStringLiteral("/help");
}

QString readPage(const QString& file)
{
    QFile page(QDir(helpFolder()).filePath(file));
    if (!page.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(page.readAll());
}

// The ids and anchor names a page defines.
QStringList anchorsOf(const QString& html)
{
    static const QRegularExpression anchor(QStringLiteral("\\b(?:id|name)=\"([^\"]+)\""));
    QStringList anchors;
    auto it = anchor.globalMatch(html);
    while (it.hasNext())
        anchors << it.next().captured(1);
    return anchors;
}

// What a window's page must hold: its sections on what the window is for, its
// buttons, its keys and its messages, each with real text, and a table of messages.
void checkWindowPage(const QString& page)
{
    const QString file = page.section(QLatin1Char('#'), 0, 0);
    const HelpIndex index(helpFolder());
    const HelpIndex::Page* indexed = index.page(file);
    QVERIFY2(indexed, qPrintable(file + QStringLiteral(" is not in the manual's contents")));
    QStringList missing;
    for (const char* section : {"purpose", "controls", "keys", "messages"}) {
        bool found = false;
        for (const HelpIndex::Section& s : indexed->sections)
            found = found || (s.anchor == QLatin1String(section) && s.text.size() >= 60);
        if (!found)
            missing << QLatin1String(section);
    }
    QVERIFY2(missing.isEmpty(), qPrintable(file + QStringLiteral(" lacks ") + missing.join(QStringLiteral(", "))));
    const QString html = readPage(file);
    const qsizetype messages = html.indexOf(QStringLiteral("id=\"messages\""));
    QVERIFY(html.mid(messages).count(QStringLiteral("<tr>")) >= 3);  // heading and at least two messages
    if (page.contains(QLatin1Char('#')))
        QVERIFY2(anchorsOf(html).contains(page.section(QLatin1Char('#'), 1)), qPrintable(page));
}

}  // namespace

class HelpTest : public QObject {
    Q_OBJECT

private slots:
    // Every page of the help folder is reached from the contents, is more than a
    // stub, and every link (page and section) and picture in it is there.
    void theManualIsWholeAndLinked()
    {
        const QStringList files = QDir(helpFolder()).entryList({QStringLiteral("*.html")}, QDir::Files);
        QVERIFY(files.size() >= 16);
        const HelpIndex index(helpFolder());
        static const QRegularExpression link(QStringLiteral("href=\"([^\"]+)\""));
        static const QRegularExpression picture(QStringLiteral("<img[^>]*src=\"([^\"]+)\""));
        for (const QString& file : files) {
            const QString html = readPage(file);
            const HelpIndex::Page* page = index.page(file);
            QVERIFY2(page, qPrintable(file + QStringLiteral(" is not reached from the contents")));
            QVERIFY2(!page->title.isEmpty(), qPrintable(file));
            QVERIFY(html.contains(QStringLiteral("<h1>")));
            int length = 0;
            for (const HelpIndex::Section& section : page->sections)
                length += section.text.size();
            QVERIFY2(length >= 900, qPrintable(QStringLiteral("%1 has only %2 characters").arg(file).arg(length)));

            auto links = link.globalMatch(html);
            while (links.hasNext()) {
                const QString target = links.next().captured(1);
                if (target.endsWith(QLatin1String(".css")))
                    continue;
                const QString targetFile = target.startsWith(QLatin1Char('#')) ? file : target.section(QLatin1Char('#'), 0, 0);
                const QString anchor = target.section(QLatin1Char('#'), 1);
                QVERIFY2(QFileInfo::exists(QDir(helpFolder()).filePath(targetFile)),
                         qPrintable(file + QStringLiteral(" links to missing ") + target));
                if (!anchor.isEmpty())
                    QVERIFY2(anchorsOf(readPage(targetFile)).contains(anchor),
                             qPrintable(file + QStringLiteral(" links to missing section ") + target));
            }
            auto pictures = picture.globalMatch(html);
            while (pictures.hasNext()) {
                const QString source = pictures.next().captured(1);
                QVERIFY2(QFileInfo::exists(QDir(helpFolder()).filePath(source)), qPrintable(file + QStringLiteral(": ") + source));
            }
        }
    }

    // The topic numbers keep their windows, and each number's page teaches; the
    // dialogs' sections are there too.
    void everyTopicNumberHasItsPage()
    {
        QCOMPARE(HelpTopics::numbers(), (QList<int>{1, 4, 5, 7, 8, 11}));
        QStringList pages;
        for (int topic : HelpTopics::numbers()) {
            checkWindowPage(HelpTopics::pageOf(topic));
            if (QTest::currentTestFailed())
                return;
            pages << HelpTopics::pageOf(topic);
        }
        pages.removeDuplicates();
        QCOMPARE(pages.size(), HelpTopics::numbers().size());
        QCOMPARE(HelpTopics::pageOf(99), HelpTopics::contentsPage());
        for (const QString& dialog : HelpTopics::dialogs()) {
            const QString page = HelpTopics::pageOfDialog(dialog);
            QVERIFY2(anchorsOf(readPage(page.section(QLatin1Char('#'), 0, 0))).contains(page.section(QLatin1Char('#'), 1)),
                     qPrintable(dialog + QStringLiteral(": ") + page));
        }
    }

    // F1 in each window of the sample class asks for that window's page, which
    // teaches; without a window it asks for the main window's topic.
    void f1OpensThePageOfTheActiveWindow()
    {
        TestEnv env;
        env.loadSample(QStringLiteral("homeroom"));
        MainWindow& window = env.startMainWindow();
        window.show();
        auto* help = window.findChild<QAction*>(QStringLiteral("helpAction"));
        QVERIFY(help);
        QCOMPARE(help->shortcut(), QKeySequence(Qt::Key_F1));

        help->trigger();
        QCOMPARE(env.ui.helpTopics, QList<int>{1});
        QVERIFY(env.ui.helpPages.isEmpty());

        env.ui.modalHandlers.push_back([](QDialog& picker) {
            if (auto* all = picker.findChild<QPushButton*>(QStringLiteral("allButton")))
                all->click();
        });
        const QList<std::pair<std::function<ChildWindow*()>, QString>> windows{
            {[&] { return window.openScoreEntryWindow(); }, HelpTopics::pageOf(5)},
            {[&] { return window.openTestListWindow(); }, HelpTopics::pageOf(7)},
            {[&] { return window.openRosterWindow(); }, HelpTopics::pageOf(8)},
            {[&] { return window.openAttendanceWindow(); }, HelpTopics::pageOf(11)},
            {[&] { return window.openSettingsWindow(); }, HelpTopics::pageOf(4)},
            {[&] { return window.openTestTallyWindow(); }, QStringLiteral("test-tally.html")},
            {[&] { return window.openOverallTallyWindow(); }, QStringLiteral("overall-tally.html")},
            {[&] { return window.openPupilResultsWindow(); }, QStringLiteral("pupil-results.html")},
            {[&] { return window.openStatisticsWindow(true); }, QStringLiteral("statistics.html")},
            {[&] { return window.openBackupWindow(); }, QStringLiteral("backup.html")},
            {[&] { return window.openReportCardWindow(); }, QStringLiteral("report-card.html")},
        };
        for (const auto& [open, expected] : windows) {
            env.ui.helpPages.clear();
            ChildWindow* child = open();
            QVERIFY2(child, qPrintable(expected));
            QCOMPARE(window.activeChild(), child);
            help->trigger();
            QCOMPARE(env.ui.helpPages, QStringList{expected});
            checkWindowPage(expected);
            if (QTest::currentTestFailed())
                return;
            child->closeWindow();
            QCoreApplication::processEvents();
        }
        QCOMPARE(env.ui.helpTopics, QList<int>{1});

        // In front of its window, the count prompt of the attendance opens its section.
        ChildWindow* attendance = window.openAttendanceWindow();
        auto* grid = attendance->findChild<QTableView*>(QStringLiteral("attendanceGrid"));
        QVERIFY(grid);
        grid->setCurrentIndex(grid->model()->index(1, 2));
        emit grid->doubleClicked(grid->model()->index(1, 2));
        auto* prompt = attendance->findChild<QDialog*>(QStringLiteral("CountPrompt"));
        QVERIFY(prompt && prompt->isVisible());
        prompt->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(prompt));
        env.ui.helpPages.clear();
        help->trigger();
        QCOMPARE(env.ui.helpPages, QStringList{HelpTopics::pageOfDialog(QStringLiteral("CountPrompt"))});
        QVERIFY(HelpTopics::pageOfDialog(QStringLiteral("CountPrompt")).startsWith(HelpTopics::pageOf(11) + QLatin1Char('#')));
    }

    // The help window: the contents list every page, a page and a section open, back
    // and forward walk the history, and the search finds words in any width.
    // Every picture of the manual links to itself; a click on it opens it at full
    // size in a window of its own, which Esc closes.
    void aClickOnAPictureShowsItAtFullSize()
    {
        static const QRegularExpression picture(QStringLiteral("<img[^>]*src=\"([^\"]+)\""));
        static const QRegularExpression linked(QStringLiteral("<a href=\"([^\"]+)\"><img[^>]*src=\"([^\"]+)\""));
        int pictures = 0;
        for (const QString& file : QDir(helpFolder()).entryList({QStringLiteral("*.html")})) {
            const QString html = readPage(file);
            int wrapped = 0;
            for (auto it = linked.globalMatch(html); it.hasNext();) {
                const QRegularExpressionMatch found = it.next();
                QCOMPARE(found.captured(1), found.captured(2));
                ++wrapped;
            }
            QCOMPARE(wrapped, int(html.count(picture)));
            pictures += wrapped;
        }
        QVERIFY(pictures >= 15);

        HelpViewer viewer(helpFolder());
        viewer.showPage(QStringLiteral("entry.html"));
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        auto* browser = viewer.findChild<QTextBrowser*>(QStringLiteral("helpBrowser"));
        QTextCursor atPicture;
        for (QTextBlock block = browser->document()->begin(); block.isValid() && atPicture.isNull(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().isImageFormat()
                    && it.fragment().charFormat().toImageFormat().name() == QLatin1String("shot-entry.png")) {
                    atPicture = QTextCursor(browser->document());
                    atPicture.setPosition(it.fragment().position());
                    break;
                }
        QVERIFY(!atPicture.isNull());
        browser->setTextCursor(atPicture);
        browser->ensureCursorVisible();
        const QRect at = browser->cursorRect(atPicture);
        QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, QPoint(at.left() + 20, at.center().y()));
        auto* shown = viewer.findChild<HelpPicture*>();
        QVERIFY(shown);
        QTRY_VERIFY(shown->isVisible());
        const QImage full(QDir(helpFolder()).filePath(QStringLiteral("shot-entry.png")));
        QVERIFY(full.width() > 600);  // larger than the page shows it
        QCOMPARE(shown->pictureSize(), full.size());
        QCOMPARE(viewer.currentPage(), QStringLiteral("entry.html"));  // the page stays
        const QPointer<HelpPicture> opened(shown);
        QVERIFY(QTest::qWaitForWindowActive(shown));
        QTest::keyClick(shown, Qt::Key_Escape);
        QVERIFY(viewer.isVisible());  // Esc closes the picture, not the help
        QTRY_VERIFY(opened.isNull());
    }

    void theHelpWindowNavigatesAndSearches()
    {
        HelpViewer viewer(helpFolder());
        const HelpIndex index(helpFolder());
        auto* contents = viewer.findChild<QTreeWidget*>(QStringLiteral("helpContents"));
        QVERIFY(contents);
        QCOMPARE(contents->topLevelItemCount(), index.pages().size());

        viewer.showPage(HelpTopics::contentsPage());
        viewer.showPage(QStringLiteral("entry.html#keys"));
        QCOMPARE(viewer.currentPage(), QStringLiteral("entry.html#keys"));
        QVERIFY(viewer.windowTitle().contains(index.page(QStringLiteral("entry.html"))->title));
        auto* back = viewer.findChild<QAction*>(QStringLiteral("helpBack"));
        auto* forward = viewer.findChild<QAction*>(QStringLiteral("helpForward"));
        QVERIFY(back->isEnabled());
        back->trigger();
        QCOMPARE(viewer.currentPage(), HelpTopics::contentsPage());
        QVERIFY(forward->isEnabled());
        forward->trigger();
        QCOMPARE(viewer.currentPage(), QStringLiteral("entry.html#keys"));

        // A click on a section of the contents opens that section.
        QTreeWidgetItem* grading = nullptr;
        for (int i = 0; i < contents->topLevelItemCount(); ++i)
            if (contents->topLevelItem(i)->data(0, Qt::UserRole).toString() == QLatin1String("grading.html"))
                grading = contents->topLevelItem(i);
        QVERIFY(grading && grading->childCount() > 0);
        QTreeWidgetItem* section = grading->child(grading->childCount() - 1);
        emit contents->itemClicked(section, 0);
        QCOMPARE(viewer.currentPage(), section->data(0, Qt::UserRole).toString());

        // Half-width katakana find the full-width word, and the hit opens its section.
        auto* results = viewer.findChild<QListWidget*>(QStringLiteral("helpResults"));
        viewer.search(QStringLiteral("ﾌﾟﾚﾋﾞｭｰ 用紙"));
        QListWidgetItem* printing = nullptr;
        for (int row = 0; row < results->count() && !printing; ++row)
            if (results->item(row)->text().startsWith(index.page(QStringLiteral("printing.html"))->title))
                printing = results->item(row);
        QVERIFY(printing);
        emit results->itemClicked(printing);
        QVERIFY(viewer.currentPage().startsWith(QStringLiteral("printing.html")));
        QVERIFY(viewer.findChild<QTextBrowser*>(QStringLiteral("helpBrowser"))->textCursor().hasSelection());

        viewer.search(QStringLiteral("欠席扱い"));
        QVERIFY(results->count() >= 1);
        emit results->itemClicked(results->item(0));
        QCOMPARE(viewer.currentPage().section(QLatin1Char('#'), 0, 0), QStringLiteral("roster.html"));

        viewer.search(QStringLiteral("ぬばたまのやみ"));
        QCOMPARE(results->count(), 1);
        QVERIFY(results->item(0)->text().contains(QStringLiteral("見つかりませんでした")));
        QCOMPARE(results->item(0)->flags(), Qt::NoItemFlags);

        viewer.showPage(QStringLiteral("nothing.html"));
        QVERIFY(viewer.findChild<QTextBrowser*>(QStringLiteral("helpBrowser"))->toPlainText().contains(QStringLiteral("見つかりません")));
    }
};

QTEST_MAIN(HelpTest)
#include "test_help.moc"
