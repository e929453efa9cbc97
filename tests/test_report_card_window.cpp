// The report card window as a teacher uses it: opened from the 集計 menu, it shows
// the first pupil's card, follows the term chosen, keeps the school's texts and the
// 評定 choice in the settings, and prints, previews and saves every pupil (one PDF,
// a PDF each, the class's table) from the same cards the tally computes.

#include "Controls.h"
#include "MainWindowControls.h"
#include "PdfText.h"
#include "ReportCardClass.h"
#include "TestEnv.h"
#include "app/MainWindow.h"
#include "model/AppSettings.h"
#include "model/ReportCardSettings.h"
#include "output/CsvWriter.h"
#include "reports/ReportCardWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using Controls::child;

namespace {

// The class of support/ReportCardClass.h with its settings stored, as the program
// reads them at start.
void writeClass(TestEnv& env)
{
    ReportCardClass::write(env);
    QVERIFY(AppSettings::save(env.data, *env.settings).ok);
}

ReportCardWindow* open(MainWindow& window)
{
    MainControls::menuEntry(window, QStringLiteral("reportCardAction"))->trigger();
    auto* opened = qobject_cast<ReportCardWindow*>(window.activeChild());
    QTest::qWait(0);
    return opened;
}

QString pdfPageCount(const QString& path)
{
    return QString::number(PdfText::pages(path).size());
}

ReportCardSettings storedSettings(TestEnv& env)
{
    QSettings store(env.settingsFile(), QSettings::IniFormat);
    return ReportCardSettings::read(store);
}

}  // namespace

class TestReportCardWindow : public QObject {
    Q_OBJECT

private slots:
    void showsTheFirstPupilAndFollowsTheTerm()
    {
        TestEnv env;
        writeClass(env);
        MainWindow& window = env.startMainWindow();
        ReportCardWindow* w = open(window);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("通知表・指導要録"));
        QCOMPARE(w->term(), 1);
        QCOMPARE(w->cards().size(), 3);
        // The window's cards are the tally's: 石田's 評定 of 国語 is the teacher's 2.
        QCOMPARE(w->cards()[1].subjects[0].grade, QStringLiteral("2"));
        QVERIFY(w->cards()[1].subjects[0].overruled);
        const QPixmap page = child<QLabel>(w, QStringLiteral("pagePreview"))->pixmap();
        // A4 portrait at 3 dots per mm.
        QCOMPARE(page.size(), QSize(630, 891));
        QCOMPARE(child<QComboBox>(w, QStringLiteral("pupilChooser"))->count(), 3);
        QCOMPARE(child<QLabel>(w, QStringLiteral("noteLabel"))->text(), QString());

        auto* term = child<QComboBox>(w, QStringLiteral("termChooser"));
        term->setCurrentIndex(1);
        QCOMPARE(w->term(), 2);
        QCOMPARE(w->cards()[2].subjects[0].viewpoints[2].grade, QStringLiteral("B"));
        QVERIFY(w->cards()[2].subjects[0].viewpoints[2].overruled);
        // 算数 has no test in term 2: the teacher is told why its boxes stay empty.
        QCOMPARE(child<QLabel>(w, QStringLiteral("noteLabel"))->text(),
                 QStringLiteral("２学期のテストがないため、算数の欄は空きます。"));
        term->setCurrentIndex(3);
        QCOMPARE(w->term(), int(ReportCard::Year));
        QCOMPARE(w->sheets().first().stem, QStringLiteral("yoroku"));
        QCOMPARE(w->cards()[0].attendance.attendanceDays, 46);
    }

    void keepsTheSchoolTextsAndTheGradeChoice()
    {
        TestEnv env;
        writeClass(env);
        MainWindow& window = env.startMainWindow();
        ReportCardWindow* w = open(window);
        QVERIFY(w);
        auto* school = child<QLineEdit>(w, QStringLiteral("schoolEdit"));
        school->setFocus();
        // Japanese comes through the input method: the text, then Enter.
        school->insert(QStringLiteral("さくら小学校"));
        QTest::keyClick(school, Qt::Key_Return);
        QCOMPARE(storedSettings(env).school, QStringLiteral("さくら小学校"));
        QCOMPARE(*w->sheets().first().fieldValue(QStringLiteral("School")), QStringLiteral("さくら小学校"));

        child<QCheckBox>(w, QStringLiteral("hideGradesBox"))->click();
        QVERIFY(storedSettings(env).hideGrades);
        QCOMPARE(w->cards()[0].subjects[0].grade, QString());
        QCOMPARE(*w->sheets().first().fieldValue(QStringLiteral("GradeHeading")), QString());

        child<QComboBox>(w, QStringLiteral("paperChooser"))->setCurrentIndex(1);
        QVERIFY(storedSettings(env).a3Folded);
        QCOMPARE(w->sheets().first().stem, QStringLiteral("tsuchihyo_a3"));
        QCOMPARE(child<QLabel>(w, QStringLiteral("pagePreview"))->pixmap().size(), QSize(1260, 891));

        // A text too long for the card is refused and the kept one stays.
        auto* teacher = child<QLineEdit>(w, QStringLiteral("teacherEdit"));
        teacher->setText(QString(41, QChar(u'長')));
        env.ui.answers.push_back(Ui::Answer::Ok);
        emit teacher->editingFinished();
        QVERIFY(env.ui.lastMessage().contains(QStringLiteral("40文字以内")));
        QCOMPARE(storedSettings(env).teacher, QString());
        QCOMPARE(teacher->text(), QString());

        // Opened again, the window shows what was kept.
        w->closeWindow();
        w = open(window);
        QVERIFY(w);
        QCOMPARE(child<QLineEdit>(w, QStringLiteral("schoolEdit"))->text(), QStringLiteral("さくら小学校"));
        QVERIFY(child<QCheckBox>(w, QStringLiteral("hideGradesBox"))->isChecked());
        QCOMPARE(child<QComboBox>(w, QStringLiteral("paperChooser"))->currentIndex(), 1);
    }

    void printsAndSavesEveryPupil()
    {
        TestEnv env;
        writeClass(env);
        MainWindow& window = env.startMainWindow();
        ReportCardWindow* w = open(window);
        QVERIFY(w);

        // A PDF each, into the folder the teacher picks.
        const QString folder = env.dir.filePath(QStringLiteral("通知表"));
        QVERIFY(QDir().mkpath(folder));
        env.ui.folders.push_back(folder);
        env.ui.answers.push_back(Ui::Answer::Ok);
        child<QPushButton>(w, QStringLiteral("eachPdfButton"))->click();
        QCOMPARE(filesIn(folder), (QStringList{QStringLiteral("通知表_１学期_01_青木　一郎.pdf"),
                                               QStringLiteral("通知表_１学期_02_石田　花子.pdf"),
                                               QStringLiteral("通知表_１学期_03_上野　蓮.pdf")}));
        QVERIFY(env.ui.lastMessage().contains(QStringLiteral("3人分のPDFファイル")));

        // Every pupil in one PDF, a page each.
        const QString one = env.dir.filePath(QStringLiteral("all.pdf"));
        env.ui.saveNames.push_back(one);
        env.ui.answers.push_back(Ui::Answer::Ok);
        child<QPushButton>(w, QStringLiteral("onePdfButton"))->click();
        QCOMPARE(pdfPageCount(one), QStringLiteral("3"));
        QVERIFY(PdfText::pages(one).value(2).contains(QStringLiteral("上野")));

        // The preview shows every pupil.
        env.ui.previewFolder = env.dir.path();
        child<QPushButton>(w, QStringLiteral("previewButton"))->click();
        QCOMPARE(env.ui.previews.size(), 1);
        QCOMPARE(pdfPageCount(env.ui.previews.first().pdfPath), QStringLiteral("3"));

        // The class's table as a CSV file: the tally's figures.
        const QString csv = env.dir.filePath(QStringLiteral("class.csv"));
        env.ui.saveNames.push_back(csv);
        env.ui.answers.push_back(Ui::Answer::Ok);
        child<QPushButton>(w, QStringLiteral("csvButton"))->click();
        const QByteArray bytes = fileBytes(csv);
        QVERIFY(bytes.contains("通知表　１学期の一覧"));
        QVERIFY(bytes.contains("2,石田　花子,B,C,,2,B,,,2,30,0,30,0,30,"));
    }

    void specialistModeHasNoReportCard()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")}, true);
        MainWindow& window = env.startMainWindow();
        QVERIFY(!MainControls::menuEntry(window, QStringLiteral("reportCardAction"))->isEnabled());
        QVERIFY(!window.openReportCardWindow());
        QVERIFY(env.ui.lastMessage().contains(QStringLiteral("学級担任用")));
    }
};

QTEST_MAIN(TestReportCardWindow)
#include "test_report_card_window.moc"
