// What a teacher reads in the windows: Japanese throughout (no English word left in
// a caption, a label or a menu of any child window or of the dialogs they open), and
// characters outside the data files' code page drawn, not shown as boxes, in the
// program's font.

#include "AttendanceDriver.h"
#include "ChildWindows.h"
#include "DataFiles.h"
#include "TestEnv.h"
#include "app/MainWindow.h"
#include "app/ProgramStart.h"
#include "entry/FixedValuesDialog.h"
#include "entry/OtherClassTestPicker.h"
#include "reports/TestPickerDialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRawFont>
#include <QRegularExpression>
#include <QTest>
#include <QTextLayout>

using namespace DataFiles;

namespace {

// Latin words a Japanese interface keeps: key names, file kinds, OK and the version.
const QStringList KeptWords{"OK", "CSV", "PDF", "xlsx", "Ver", "Shift", "Enter", "Ctrl", "Esc", "Alt", "Tab", "No", "Delete"};

// Every text a control of `root` shows, with where it is.
QStringList textsOf(const QWidget* root)
{
    QStringList texts{root->windowTitle()};
    for (const QAbstractButton* button : root->findChildren<QAbstractButton*>())
        texts << button->text();
    for (const QLabel* label : root->findChildren<QLabel*>())
        texts << label->text();
    for (const QGroupBox* box : root->findChildren<QGroupBox*>())
        texts << box->title();
    for (const QAction* action : root->findChildren<QAction*>())
        texts << action->text();
    for (const QMenu* menu : root->findChildren<QMenu*>())
        texts << menu->title();
    return texts;
}

// The English words in the texts, each with its text.
QStringList englishIn(const QStringList& texts)
{
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
    QStringList found;
    for (const QString& text : texts) {
        if (text.contains(QLatin1Char('<')) || text.startsWith(QLatin1Char('/')))
            continue;  // rich text (not shown as written) and a folder's path
        for (auto it = word.globalMatch(text); it.hasNext();) {
            const QString english = it.next().captured();
            if (!KeptWords.contains(english))
                found << QStringLiteral("%1 in 「%2」").arg(english, text);
        }
    }
    return found;
}

}  // namespace

class WindowTextsTest : public QObject {
    Q_OBJECT
private slots:
    void noEnglishInAnyWindow_data()
    {
        QTest::addColumn<int>("opener");
        for (int opener = 0; opener < ChildWindows::all().size(); ++opener)
            QTest::newRow(ChildWindows::all()[opener].name) << opener;
    }

    void noEnglishInAnyWindow()
    {
        QFETCH(int, opener);
        TestEnv env;
        AttendanceDriver::startClass(env, QDate(2026, 5, 12));
        env.writeFile(QStringLiteral("国語.dat"), scoreLines({{QStringLiteral("小テスト"), {{1, 50, {10, 20, 30}}}}}));
        MainWindow& main = env.startMainWindow();
        ChildWindow* child = ChildWindows::all()[opener].open(main);
        QVERIFY(child);
        QStringList texts = textsOf(child);
        const QString name = QLatin1String(ChildWindows::all()[opener].name);
        if (name == QLatin1String("scoreEntry")) {
            texts << textsOf(new FixedValuesDialog(*env.ctx, child)) << textsOf(new OtherClassTestPicker(*env.ctx, child));
        } else if (name == QLatin1String("overallTally")) {
            texts << textsOf(new TestPickerDialog(*env.ctx, child));
        } else if (name == QLatin1String("attendance")) {
            auto* attendance = qobject_cast<AttendanceWindow*>(child);
            AttendanceDriver::setGridCell(attendance, 2, 2);
            QTest::keyClick(AttendanceDriver::grid(attendance), Qt::Key_Return, Qt::ShiftModifier);
            QVERIFY(AttendanceDriver::valuePrompt(attendance));
            texts << textsOf(AttendanceDriver::valuePrompt(attendance));
        }
        QVERIFY(texts.size() > 5);
        const QStringList english = englishIn(texts);
        QVERIFY2(english.isEmpty(), qPrintable(english.join(QStringLiteral("; "))));
    }

    // The checker finds the English it is there for.
    void theCheckerFindsEnglish()
    {
        QCOMPARE(englishIn({QStringLiteral("セルを DblClick で"), QStringLiteral("Cancel"), QStringLiteral("OK")}),
                 (QStringList{"DblClick in 「セルを DblClick で」", "Cancel in 「Cancel」"}));
    }

    // 𠮷 (outside code page 932, which IPAex covers) is drawn from the fallback font
    // in the program's font, as in the refusal of a pasted name that holds it.
    void charactersOutsideTheCodePageAreDrawn()
    {
        const QString text = QStringLiteral("𠮷野さん");
        QVERIFY(!QRawFont::fromFont(QFont(QStringLiteral("IPAexGothic"))).supportsCharacter(text.toUcs4().first()));
        QTextLayout layout(text, ProgramStart::screenFont());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        int glyphs = 0;
        for (const QGlyphRun& run : layout.glyphRuns())
            for (const quint32 glyph : run.glyphIndexes()) {
                QVERIFY2(glyph != 0, qPrintable(run.rawFont().familyName() + QStringLiteral(" has no glyph")));
                ++glyphs;
            }
        QCOMPARE(glyphs, 4);
    }
};

QTEST_MAIN(WindowTextsTest)
#include "test_window_texts.moc"
