// Where each output command of the six printing windows goes, clicked as a teacher
// clicks it: every 印刷, ﾌﾟﾚﾋﾞｭｰ and CSV保存 button, every such menu entry, and the
// main toolbar's 印刷 and ﾌﾟﾚﾋﾞｭｰ. The printer prints into a PDF file, the preview
// is recorded by the scripted Ui and a CSV file is saved where the Ui answers, so
// each click must reach exactly its own destination with the window's own sheet.
// Each window prints the tally it keeps, never what its widgets show. And the main
// window's commands while each tally window is open.

#include "Controls.h"
#include "MainWindowControls.h"
#include "TestEnv.h"
#include "DataFiles.h"
#include "PdfText.h"
#include "output/CsvWriter.h"
#include "output/ReportStore.h"
#include "frame/ChildWindow.h"
#include "app/MainWindow.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using Controls::child;
using namespace DataFiles;

namespace {

const QString Unit = QStringLiteral("国語");

// A window that prints: the main toolbar's button that opens it, its sheet's store,
// the first "Titles" value and the preview's title.
struct Printing {
    const char* opener;
    const char* stem;
    QString title;
    QString previewTitle;
    QStringList menuEntries;  // 印刷, プレビュー, CSV保存, xlsx保存 in its ﾌｧｲﾙ menu; none without a menu
};

QList<Printing> printingWindows()
{
    const QString first = pupilNames(3, NameStyle::Full).first();
    return {
        {"testTallyButton", "testdisp", QStringLiteral("【テスト別成績集計-国語】"), QStringLiteral("テスト別集計-漢字"), {}},
        {"overallTallyButton", "aryoiki", QStringLiteral("【総合集計一覧表-国語】教科内総合集計一覧表"),
         QStringLiteral("総合集計一覧表-国語-出席番号順"), {}},
        {"pupilResultsButton", "kojin", QStringLiteral("【個人別成績集計-国語】"), QStringLiteral("個人別成績集計-国語 1 ") + first, {}},
        {"attendanceButton", "Shuseki", QStringLiteral("【出欠集計一覧表】"), QStringLiteral("出欠集計-年度末集計"),
         {QStringLiteral("印刷(&P)"), QStringLiteral("印刷プレビュー(&O)"), QStringLiteral("CSV保存"), QStringLiteral("xlsx保存")}},
        {"rosterButton", "Mente", QStringLiteral("【児童氏名一覧表】"), QStringLiteral("氏名一覧"),
         {QStringLiteral("氏名一覧印刷(&P)"), QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ(&O)"), QStringLiteral("CSV保存"), QStringLiteral("xlsx保存")}},
        {"testListButton", "Mente", QStringLiteral("【テスト一覧表】"), QStringLiteral("テスト名一覧"),
         {QStringLiteral("テスト一覧印刷(&P)"), QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ(&O)"), QStringLiteral("CSV保存"), QStringLiteral("xlsx保存")}},
    };
}

const ReportDestination Destinations[4] = {ReportDestination::Printer, ReportDestination::Preview, ReportDestination::Csv,
                                           ReportDestination::Xlsx};

// The class of every row: three pupils, one test of 国語.
void writeClass(TestEnv& env)
{
    env.makeClass(pupilNames(3, NameStyle::Full));
    env.writeFile(Unit + QStringLiteral(".dat"), scoreLines({{QStringLiteral("漢字"), {{1, 50, {40, 30, -1}}}}}));
}

QMenu* menuTitled(const QWidget* window, const QString& title)
{
    for (QMenu* menu : window->findChildren<QMenu*>())
        if (menu->title() == title)
            return menu;
    return nullptr;
}

// The main window's command of a caption: a toolbar button, a menu or a menu entry.
QAction* command(const MainWindow& main, const QString& caption)
{
    for (QToolBar* bar : main.findChildren<QToolBar*>())
        for (QToolButton* button : bar->findChildren<QToolButton*>())
            if (button->text() == caption && button->defaultAction())
                return button->defaultAction();
    for (QAction* action : main.menuBar()->actions())
        if (action->text() == caption)
            return action;
    for (QMenu* menu : main.menuBar()->findChildren<QMenu*>())
        for (QAction* action : menu->actions())
            if (action->text() == caption)
                return action;
    for (QMenu* menu : main.menuBar()->findChildren<QMenu*>())
        if (menu->title() == caption)
            return menu->menuAction();
    return nullptr;
}

ChildWindow* activeWindow(const MainWindow& main)
{
    QMdiSubWindow* frame = main.findChild<QMdiArea*>()->currentSubWindow();
    return frame ? qobject_cast<ChildWindow*>(frame->widget()) : nullptr;
}

// Opens a window with its button on the main toolbar: the overall tally takes
// every test; the attendance shows the year's tally.
ChildWindow* openWindow(TestEnv& env, MainWindow& main, const QString& opener)
{
    if (opener == QLatin1String("overallTallyButton"))
        env.ui.modalHandlers.push_back([](QDialog& picker) { child<QPushButton>(&picker, "allButton")->click(); });
    MainControls::toolbarButton(main, opener)->trigger();
    ChildWindow* window = activeWindow(main);
    if (window && opener == QLatin1String("attendanceButton"))
        Controls::menuEntry(menuTitled(window, QStringLiteral("集計(&S)")), QStringLiteral("年度末集計(&N)"))->trigger();
    return window;
}

// Writes over every text the window shows: labels, cells, list lines, chooser
// items and its caption.
void overwriteShownTexts(ChildWindow* window, const QString& text)
{
    window->setWindowTitle(text);
    for (QLabel* label : window->findChildren<QLabel*>())
        label->setText(text);
    for (QTableWidget* grid : window->findChildren<QTableWidget*>())
        for (int r = 0; r < grid->rowCount(); ++r)
            for (int c = 0; c < grid->columnCount(); ++c)
                if (QTableWidgetItem* item = grid->item(r, c))
                    item->setText(text);
    for (QListWidget* list : window->findChildren<QListWidget*>())
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setText(text);
    for (QComboBox* chooser : window->findChildren<QComboBox*>())
        for (int i = 0; i < chooser->count(); ++i)
            chooser->setItemText(i, text);
}

}  // namespace

class OutputWiringTest : public QObject {
    Q_OBJECT
private slots:
    void everyOutputCommandReachesItsDestination_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("control");  // "button:<name>", "menu:<caption>" or "toolbar:<name>"
        QTest::addColumn<int>("destination");
        const char* const buttons[4] = {"printButton", "previewButton", "csvButton", "xlsxButton"};
        const QList<Printing> windows = printingWindows();
        for (int w = 0; w < windows.size(); ++w) {
            const Printing& printing = windows[w];
            for (int d = 0; d < 4; ++d) {
                QTest::addRow("%s %s", printing.opener, buttons[d]) << w << QStringLiteral("button:") + QLatin1String(buttons[d]) << d;
                if (d < printing.menuEntries.size())
                    QTest::addRow("%s menu %s", printing.opener, qPrintable(printing.menuEntries[d]))
                        << w << QStringLiteral("menu:") + printing.menuEntries[d] << d;
            }
            QTest::addRow("%s toolbar 印刷", printing.opener) << w << QStringLiteral("toolbar:printButton") << 0;
            QTest::addRow("%s toolbar ﾌﾟﾚﾋﾞｭｰ", printing.opener) << w << QStringLiteral("toolbar:previewButton") << 1;
        }
    }

    void everyOutputCommandReachesItsDestination()
    {
        QFETCH(int, window);
        QFETCH(QString, control);
        QFETCH(int, destination);
        const Printing printing = printingWindows()[window];
        const ReportDestination expected = Destinations[destination];

        TestEnv env;
        writeClass(env);
        MainWindow& main = env.startMainWindow();
        ChildWindow* shown = openWindow(env, main, QLatin1String(printing.opener));
        QVERIFY(shown);
        QVERIFY(shown->printsNow());

        const QString printed = env.dir.filePath(QStringLiteral("printed.pdf"));
        const bool workbook = expected == ReportDestination::Xlsx;
        const QString saved = env.dir.filePath(workbook ? QStringLiteral("saved.xlsx") : QStringLiteral("saved.csv"));
        env.reports->printer().setOutputFormat(QPrinter::PdfFormat);
        env.reports->printer().setOutputFileName(printed);
        env.ui.clear();
        env.ui.saveNames = {saved};
        QStringList stores;
        QStringList storeTitles;
        env.reports->setStoreObserver([&](const QString& store) {
            stores.append(QFileInfo(store).fileName());
            ReportSheet sheet;
            QVERIFY(ReportStore::read(store, sheet).ok);
            storeTitles.append(sheet.titleValues.value(0));
        });

        const QString kind = control.section(QLatin1Char(':'), 0, 0);
        const QString name = control.section(QLatin1Char(':'), 1);
        if (kind == QLatin1String("button")) {
            QTest::mouseClick(child<QPushButton>(shown, name), Qt::LeftButton);
        } else if (kind == QLatin1String("menu")) {
            QAction* entry = Controls::menuEntry(menuTitled(shown, QStringLiteral("ﾌｧｲﾙ(&F)")), name);
            QVERIFY2(entry, qPrintable(name));
            QVERIFY(entry->isEnabled());
            entry->trigger();
        } else {
            QAction* button = MainControls::toolbarButton(main, name);
            QVERIFY(button->isEnabled());
            button->trigger();
        }

        QCOMPARE(QFile::exists(printed), expected == ReportDestination::Printer);
        QCOMPARE(env.ui.previews.size(), expected == ReportDestination::Preview ? 1 : 0);
        QCOMPARE(QFile::exists(saved), expected == ReportDestination::Csv || workbook);
        if (workbook) {
            QVERIFY(stores.isEmpty());
            QCOMPARE(env.ui.messageTexts(), QStringList{QStringLiteral("ブック「%1」に保存しました。").arg(saved)});
            QVERIFY(fileBytes(saved).startsWith("PK\x03\x04"));  // a zip archive, as every .xlsx is
            return;
        }
        if (expected == ReportDestination::Csv) {
            QVERIFY(stores.isEmpty());
            QCOMPARE(env.ui.messageTexts(), QStringList{QStringLiteral("CSVファイル「%1」に保存しました。").arg(saved)});
            QFile csv(saved);
            QVERIFY(csv.open(QIODevice::ReadOnly));
            QCOMPARE(CsvWriter::parse(csv.readAll()).value(0).value(0), printing.title);
            return;
        }
        QVERIFY2(env.ui.messages.isEmpty(), qPrintable(env.ui.lastMessage()));
        QCOMPARE(stores, QStringList{QLatin1String(printing.stem) + QStringLiteral(".mdb")});
        QCOMPARE(storeTitles, QStringList{printing.title});
        if (expected == ReportDestination::Preview)
            QCOMPARE(env.ui.previews[0].title, printing.previewTitle);
        else
            QVERIFY(PdfText::pages(printed).value(0).contains(printing.title));
    }

    void sheetsComeFromTheTallyNotFromTheWidgets_data()
    {
        QTest::addColumn<int>("window");
        const QList<Printing> windows = printingWindows();
        for (int w = 0; w < windows.size(); ++w)
            QTest::newRow(windows[w].opener) << w;
    }

    void sheetsComeFromTheTallyNotFromTheWidgets()
    {
        QFETCH(int, window);
        const Printing printing = printingWindows()[window];
        TestEnv env;
        writeClass(env);
        MainWindow& main = env.startMainWindow();
        ChildWindow* shown = openWindow(env, main, QLatin1String(printing.opener));
        QVERIFY(shown);
        QList<ReportSheet> sheets;
        env.reports->setStoreObserver([&sheets](const QString& store) {
            ReportSheet sheet;
            QVERIFY(ReportStore::read(store, sheet).ok);
            sheets.append(sheet);
        });
        child<QPushButton>(shown, QStringLiteral("previewButton"))->click();
        overwriteShownTexts(shown, QStringLiteral("書き換え"));
        child<QPushButton>(shown, QStringLiteral("previewButton"))->click();
        QCOMPARE(sheets.size(), 2);
        QCOMPARE(sheets[1].titleValues, sheets[0].titleValues);
        QCOMPARE(sheets[1].rows, sheets[0].rows);
        QCOMPARE(sheets[0].titleValues.value(0), printing.title);
        QCOMPARE(env.ui.previews.size(), 2);
        QCOMPARE(env.ui.previews[1].title, printing.previewTitle);
    }

    // While a tally window is active the editing commands are locked and 印刷 and
    // ﾌﾟﾚﾋﾞｭｰ are on exactly when it prints; closing it gives everything back.
    void commandStatesWhileEachTallyWindowIsOpen_data()
    {
        QTest::addColumn<QString>("opener");
        QTest::addColumn<bool>("prints");
        QTest::newRow("テスト別") << QStringLiteral("testTallyButton") << true;
        QTest::newRow("総合集計") << QStringLiteral("overallTallyButton") << true;
        QTest::newRow("個人集計") << QStringLiteral("pupilResultsButton") << true;
        QTest::newRow("自由集計") << QStringLiteral("statisticsButton") << false;
    }

    void commandStatesWhileEachTallyWindowIsOpen()
    {
        QFETCH(QString, opener);
        QFETCH(bool, prints);
        TestEnv env;
        writeClass(env);
        MainWindow& main = env.startMainWindow();
        const QStringList locked{QStringLiteral("点数入力"), QStringLiteral("出欠処理"), QStringLiteral("設定"),
                                 QStringLiteral("氏名設定"), QStringLiteral("ﾃｽﾄ設定"), QStringLiteral("点数入力(&I)"),
                                 QStringLiteral("出欠管理(&A)"), QStringLiteral("かざね使用環境の設定 (&C)"),
                                 QStringLiteral("編集 (&E)"), QStringLiteral("教科(&K)"), QStringLiteral("算数")};
        const QStringList open{QStringLiteral("テスト別"), QStringLiteral("総合集計"), QStringLiteral("個人集計"),
                               QStringLiteral("自由集計"), QStringLiteral("終　了"), QStringLiteral("集 計(&S)")};
        auto enabled = [&main](const QString& caption) {
            QAction* action = command(main, caption);
            if (!action)
                qFatal("no command %s", qPrintable(caption));
            return action->isEnabled();
        };
        for (const QString& caption : locked + open)
            QVERIFY2(enabled(caption), qPrintable(caption));
        QVERIFY(!enabled(QStringLiteral("印　刷")));

        ChildWindow* window = openWindow(env, main, opener);
        QVERIFY(window);
        for (const QString& caption : locked)
            QVERIFY2(!enabled(caption), qPrintable(caption));
        for (const QString& caption : open)
            QVERIFY2(enabled(caption), qPrintable(caption));
        QCOMPARE(enabled(QStringLiteral("印　刷")), prints);
        QCOMPARE(enabled(QStringLiteral("ﾌﾟﾚﾋﾞｭｰ")), prints);

        child<QPushButton>(window, QStringLiteral("closeButton"))->click();
        QTRY_VERIFY(!activeWindow(main));
        for (const QString& caption : locked + open)
            QVERIFY2(enabled(caption), qPrintable(caption));
        QVERIFY(!enabled(QStringLiteral("印　刷")));
        QVERIFY(!enabled(QStringLiteral("ﾌﾟﾚﾋﾞｭｰ")));
    }
};

QTEST_MAIN(OutputWiringTest)
#include "test_output_wiring.moc"
