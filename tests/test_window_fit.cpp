// Every window on a teacher's laptop: the real main window on a screen of 1366 × 768
// and of 1280 × 720, each less a taskbar and the main window's title bar, a full
// class of 45 pupils with four-column tests, and each child window opened as its
// menu entry opens it. Each must lie wholly inside the work area, with every
// button, box and list on screen and nothing cut off, alone and after cascading
// with others; a window too large for a smaller screen scrolls inside.
//
// With KAZANE_WINDOW_SHOTS set to a folder, a picture of the main window with each
// child window is saved there, to be looked at.

#include "OffscreenScreens.h"
#include "ChildWindows.h"
#include "DataFiles.h"
#include "TestEnv.h"
#include "app/MainWindow.h"
#include "frame/ToolbarIcon.h"
#include "frame/ChildWindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QStyle>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <functional>
#include <iterator>

namespace {

using namespace DataFiles;

// The screens of the offscreen platform (set in main), less a taskbar of 40 pixels.
struct Screen {
    const char* name;
    QRect free;
};
const Screen Screens[] = {
    {"1366x768", {0, 0, 1366, 728}},
    {"1280x720", {1366, 0, 1280, 680}},
    {"1024x600", {2646, 0, 1024, 560}},
};
constexpr int Laptops = 2;  // the first two: the sizes every window must fit
constexpr int Netbook = 2;

// The height of the title bar a window manager puts above the main window.
constexpr int TitleBar = 30;

// Four tests of four columns, one per viewpoint, for 45 pupils.
Tests fullTests()
{
    Tests tests;
    for (int t = 1; t <= 4; ++t) {
        Test test{QStringLiteral("第%1回 まとめのテスト").arg(t), {}};
        for (int v = 1; v <= 4; ++v) {
            Column column{v, 25, {}};
            for (int p = 1; p <= 45; ++p)
                column.scores << (p * 7 + t * 3 + v) % 26;
            test.columns << column;
        }
        tests << test;
    }
    return tests;
}

// Widgets a teacher must reach: buttons, boxes, lists and grids, and captions.
bool mustBeSeen(const QWidget* widget)
{
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QLineEdit*>(widget)
        || qobject_cast<const QComboBox*>(widget) || qobject_cast<const QAbstractScrollArea*>(widget)
        || qobject_cast<const QLabel*>(widget);
}

// Whether the widget lies in a list, a grid or a scrolling body of `window`: it is
// reached by scrolling, and only the scrolling part itself must be in view.
bool scrolledInto(const QWidget* widget, const QWidget* window)
{
    for (const QWidget* above = widget->parentWidget(); above && above != window; above = above->parentWidget())
        if (qobject_cast<const QAbstractScrollArea*>(above))
            return true;
    return false;
}

// The widget's rectangle in the coordinates of `ancestor`.
QRect rectIn(const QWidget* widget, const QWidget* ancestor)
{
    return QRect(widget->mapTo(ancestor, QPoint(0, 0)), widget->size());
}

}  // namespace

class WindowFitTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void childWindowFitsTheWorkArea_data();
    void childWindowFitsTheWorkArea();
    void cascadedWindowsStayInside_data();
    void cascadedWindowsStayInside();
    void toolbarTalliesCascadeTheirWindows_data();
    void toolbarTalliesCascadeTheirWindows();
    void settingsScrollOnASmallerScreen();
    void firstStartNameEntryShowsItsEnd();
    void toolbarPicturesShareOneSize();
    void toolbarPicturesAreTheStylesOwn();

private:
    MainWindow& startOn(TestEnv& env, int screen);
    void placeOn(MainWindow& window, int screen);
    void checkInside(MainWindow& window, ChildWindow* child, const QString& what);
    void savePicture(MainWindow& window, int screen, const QString& what);
};

void WindowFitTest::init()
{
    QCOMPARE(QGuiApplication::screens().size(), int(std::size(Screens)));
}

MainWindow& WindowFitTest::startOn(TestEnv& env, int screen)
{
    env.makeClass(pupilNames(45, NameStyle::Full));
    for (const QString& stem : subjectStems())
        env.writeFile(stem + QStringLiteral(".dat"), scoreLines(fullTests()));
    MainWindow& window = env.startMainWindow();
    placeOn(window, screen);
    return window;
}

void WindowFitTest::placeOn(MainWindow& window, int screen)
{
    const auto screens = QGuiApplication::screens();
    const auto named = std::find_if(screens.cbegin(), screens.cend(), [screen](const QScreen* each) {
        return each->name() == QLatin1String(Screens[screen].name);
    });
    if (named == screens.cend())
        qFatal("no screen %s", Screens[screen].name);
    // The window as a window system that does not maximise it leaves it: filling the
    // screen below its title bar.
    window.showNormal();
    window.setGeometry((*named)->availableGeometry().adjusted(0, TitleBar, 0, 0));
    QApplication::processEvents();
}

void WindowFitTest::checkInside(MainWindow& window, ChildWindow* child, const QString& what)
{
    QVERIFY2(child, qPrintable(what + QStringLiteral(" did not open")));
    QApplication::processEvents();
    QMdiArea* area = window.mdiArea();
    QMdiSubWindow* frame = child->subWindow();
    const QRect visible = area->viewport()->rect();
    QVERIFY2(visible.contains(frame->geometry()),
             qPrintable(QStringLiteral("%1 at %2,%3 %4x%5 reaches past the work area %6x%7")
                            .arg(what)
                            .arg(frame->x())
                            .arg(frame->y())
                            .arg(frame->width())
                            .arg(frame->height())
                            .arg(visible.width())
                            .arg(visible.height())));
    QVERIFY2(!area->verticalScrollBar()->isVisible() && !area->horizontalScrollBar()->isVisible(),
             qPrintable(what + QStringLiteral(": the work area scrolls")));
    const QRect inner = rectIn(child, frame);
    const auto widgets = child->findChildren<QWidget*>();
    for (const QWidget* widget : widgets) {
        if (!widget->isVisibleTo(child) || !mustBeSeen(widget) || scrolledInto(widget, child))
            continue;
        const QRect at = rectIn(widget, frame);
        // Inside its frame too: a row of a group box squeezed below the box's edge is
        // cut off even while it is inside the window.
        if (const auto* box = qobject_cast<const QGroupBox*>(widget->parentWidget()))
            QVERIFY2(box->contentsRect().contains(widget->geometry()),
                     qPrintable(QStringLiteral("%1: %2 is cut off by the frame of %3")
                                    .arg(what, widget->objectName(), box->title())));
        QVERIFY2(inner.contains(at),
                 qPrintable(QStringLiteral("%1: %2 (%3) is cut off at %4,%5 %6x%7 in %8x%9")
                                .arg(what, widget->objectName(), QString::fromLatin1(widget->metaObject()->className()))
                                .arg(at.x())
                                .arg(at.y())
                                .arg(at.width())
                                .arg(at.height())
                                .arg(inner.width())
                                .arg(inner.height())));
    }
}

void WindowFitTest::savePicture(MainWindow& window, int screen, const QString& what)
{
    const QString folder = qEnvironmentVariable("KAZANE_WINDOW_SHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    window.grab().save(QStringLiteral("%1/%2-%3.png").arg(folder, QLatin1String(Screens[screen].name), what));
}

// Score entry is checked on the larger laptop here; on the smaller one its own
// layout's tests check it.
void WindowFitTest::childWindowFitsTheWorkArea_data()
{
    QTest::addColumn<int>("screen");
    QTest::addColumn<int>("opener");
    for (int screen = 0; screen < Laptops; ++screen)
        for (int i = 0; i < ChildWindows::all().size(); ++i)
            if (screen == 0 || QLatin1String(ChildWindows::all()[i].name) != QLatin1String("scoreEntry"))
                QTest::addRow("%s %s", Screens[screen].name, ChildWindows::all()[i].name) << screen << i;
}

void WindowFitTest::childWindowFitsTheWorkArea()
{
    QFETCH(int, screen);
    QFETCH(int, opener);
    TestEnv env;
    MainWindow& window = startOn(env, screen);
    const ChildWindows::Opener& open = ChildWindows::all()[opener];
    checkInside(window, open.open(window), QString::fromLatin1(open.name));
    savePicture(window, screen, QString::fromLatin1(open.name));
}

void WindowFitTest::cascadedWindowsStayInside_data()
{
    QTest::addColumn<int>("screen");
    for (int screen = 0; screen < Laptops; ++screen)
        QTest::newRow(Screens[screen].name) << screen;
}

// The tally windows open together and are cascaded, each one below and beside the
// last: every one of them stays inside, its buttons on screen.
void WindowFitTest::cascadedWindowsStayInside()
{
    QFETCH(int, screen);
    TestEnv env;
    MainWindow& window = startOn(env, screen);
    QList<ChildWindow*> opened;
    for (const char* tally : {"testTally", "overallTally", "pupilResults", "statistics"})
        opened.append(ChildWindows::named(tally).open(window));
    for (ChildWindow* child : opened)
        checkInside(window, child, child ? child->objectName() : QStringLiteral("a tally window"));
    savePicture(window, screen, QStringLiteral("cascade"));
}

void WindowFitTest::toolbarTalliesCascadeTheirWindows_data()
{
    QTest::addColumn<QString>("button");
    for (const char* button : {"testTallyButton", "overallTallyButton", "pupilResultsButton", "statisticsButton"})
        QTest::newRow(button) << QString::fromLatin1(button);
}

// Each tally button of the toolbar arranges the windows in cascade: the window it
// opens after another (of a small class) stands a step right of it, and below it as
// far as the work area leaves room, where the main window's cascade puts it.
void WindowFitTest::toolbarTalliesCascadeTheirWindows()
{
    QFETCH(QString, button);
    TestEnv env;
    env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
    MainWindow& window = env.startMainWindow();
    placeOn(window, 0);
    const auto click = [&window](const QString& name) {
        auto* shown = window.findChild<QToolButton*>(name);
        QVERIFY2(shown, qPrintable(name));
        QTest::mouseClick(shown, Qt::LeftButton);
    };
    click(QStringLiteral("testTallyButton"));
    click(button);
    const QList<QMdiSubWindow*> frames = window.mdiArea()->subWindowList();
    QCOMPARE(frames.size(), 2);
    const QRect first = frames[0]->geometry();
    const QRect second = frames[1]->geometry();
    QVERIFY2(second.left() > first.left() && second.top() >= first.top(),
             qPrintable(QStringLiteral("%1,%2 after %3,%4").arg(second.left()).arg(second.top()).arg(first.left()).arg(first.top())));
    window.cascade();
    QCOMPARE(frames[0]->geometry(), first);
    QCOMPARE(frames[1]->geometry(), second);
}

// On a netbook's screen the settings, wider and taller than the work area, fit it
// all the same: their frames scroll, 終了 stays in view.
void WindowFitTest::settingsScrollOnASmallerScreen()
{
    TestEnv env;
    MainWindow& window = startOn(env, Netbook);
    ChildWindow* settings = ChildWindows::named("settings").open(window);
    checkInside(window, settings, QStringLiteral("settings"));
    auto* body = settings->findChild<QAbstractScrollArea*>(QStringLiteral("scrollingBody"));
    QVERIFY(body);
    QVERIFY(body->verticalScrollBar()->isVisible() || body->horizontalScrollBar()->isVisible());
    savePicture(window, Netbook, QStringLiteral("settings"));
}

// At the first start on the smaller laptop the settings scroll; once 新規ｸﾗｽ starts
// the names, the name box and 入力終了 are in view, not cut off below.
void WindowFitTest::firstStartNameEntryShowsItsEnd()
{
    TestEnv env;
    env.ctx->programFolder = env.dataFolder();
    MainWindow& window = env.startMainWindow();
    placeOn(window, 1);
    ChildWindow* settings = window.activeChild();
    QVERIFY(settings && settings->objectName() == QLatin1String("SettingsWindow"));
    checkInside(window, settings, QStringLiteral("settings at the first start"));
    QTest::mouseClick(settings->findChild<QAbstractButton*>(QStringLiteral("newClassButton")), Qt::LeftButton);
    auto* body = settings->findChild<QAbstractScrollArea*>(QStringLiteral("scrollingBody"));
    QVERIFY(body);
    for (const char* name : {"endNameEntryButton", "nameInput"}) {
        auto* widget = settings->findChild<QWidget*>(QLatin1String(name));
        QVERIFY(widget && widget->isEnabled());
        QTRY_VERIFY2(body->viewport()->rect().contains(rectIn(widget, body->viewport())), name);
    }
    savePicture(window, 1, QStringLiteral("first-start-names"));
}

// Every picture of the command bar is drawn at the bar's icon size, so that the
// captions under them stand on one line.
void WindowFitTest::toolbarPicturesShareOneSize()
{
    TestEnv env;
    MainWindow& window = startOn(env, 0);
    auto* bar = window.findChild<QToolBar*>(QStringLiteral("commandBar"));
    QVERIFY(bar);
    const auto buttons = bar->findChildren<QToolButton*>();
    int pictures = 0;
    for (const QToolButton* button : buttons) {
        if (!button->defaultAction())
            continue;  // the bar's own extension button
        ++pictures;
        for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
            const QPixmap picture = button->icon().pixmap(bar->iconSize(), 1.0, mode);
            QVERIFY2(picture.size() == bar->iconSize(),
                     qPrintable(QStringLiteral("%1: %2x%3").arg(button->text()).arg(picture.width()).arg(picture.height())));
        }
    }
    QCOMPARE(pictures, 12);
}

// The command bar reads Qt's own pictures straight from Qt's files: each must be
// the picture the style draws for that name when the desktop has no icon theme
// (a wrong file would put another picture on a button).
void WindowFitTest::toolbarPicturesAreTheStylesOwn()
{
    const QString theme = QIcon::themeName();
    QIcon::setThemeName(QStringLiteral("kazane-test-no-such-theme"));
    const QSize size(24, 24);
    QStyle* style = QApplication::style();
    int pictures = 0;
    for (int which = QStyle::SP_TitleBarMenuButton; which <= int(QStyle::SP_LineEditClearButton); ++which) {
        const auto pixmap = QStyle::StandardPixmap(which);
        const QIcon ours = ToolbarIcon::standard(pixmap, *style, size);
        const QIcon styles = ToolbarIcon::sized(style->standardIcon(pixmap), size);
        if (styles.isNull())
            continue;
        const QImage a = ours.pixmap(size, 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage b = styles.pixmap(size, 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(a.size(), size);
        QVERIFY2(a == b, qPrintable(QStringLiteral("standard picture %1 is not the style's own").arg(which)));
        ++pictures;
    }
    QIcon::setThemeName(theme);
    QVERIFY(pictures > 20);
}

// The screens for the offscreen platform, set before the application starts.
int main(int argc, char* argv[])
{
    QTemporaryDir folder;
    QList<std::pair<QString, QRect>> screens;
    for (const Screen& screen : Screens)
        screens.append({QLatin1String(screen.name), screen.free});
    useOffscreenScreens(folder, screens);
    QApplication app(argc, argv);
    // The program's own font, which sets the size of every control.
    QApplication::setFont(QFont(QStringLiteral("IPAexGothic"), 10));
    WindowFitTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_window_fit.moc"
