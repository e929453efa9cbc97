// Qt's own dialogs as the program shows them through QtUi, on a laptop's screen of
// 1366 × 768 less a taskbar: the save and folder pickers, the overwrite question,
// the print preview, プリンタの設定 and the print confirmation speak Japanese once the program has
// loaded Qt's Japanese catalogue; a save dialog opens in the folder the teacher last
// saved in (remembered in the settings file), else where the program suggests; the
// print preview fits the screen; a small dialog is wide enough for its title.

#include "ModalDialogs.h"
#include "OffscreenScreens.h"
#include "output/PrintConfirmDialog.h"
#include "output/PrintSetupDialog.h"
#include "platform/QtTranslations.h"
#include "platform/QtUi.h"
#include "platform/SaveFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <functional>

Q_DECLARE_METATYPE(Ui::Buttons)
Q_DECLARE_METATYPE(Ui::Default)
Q_DECLARE_METATYPE(Ui::Answer)

namespace {

// The screen of the offscreen platform (set in main): 1366 × 768 less a taskbar.
const QRect Laptop(0, 0, 1366, 728);

// The texts a teacher reads in a dialog that contain an English word: its title,
// captions, buttons, tool tips, the entries of its tool bars and the chosen item
// of each of its lists. A path, an extension (".pdf") and a capital abbreviation
// ("PDF") are not words.
QStringList englishIn(QWidget& dialog)
{
    static const QRegularExpression word(QStringLiteral("(?<![./*\\w])[A-Za-z][a-z]{2,}"));
    QStringList texts{dialog.windowTitle()};
    const auto labels = dialog.findChildren<QLabel*>();
    for (const QLabel* label : labels)
        if (label->isVisibleTo(&dialog))
            texts << label->text();
    const auto buttons = dialog.findChildren<QAbstractButton*>();
    for (const QAbstractButton* button : buttons)
        if (button->isVisibleTo(&dialog))
            texts << button->text() << button->toolTip();
    const auto boxes = dialog.findChildren<QComboBox*>();
    for (const QComboBox* box : boxes)
        if (box->isVisibleTo(&dialog) && !box->isEditable())
            texts << box->currentText();
    const auto bars = dialog.findChildren<QToolBar*>();
    for (const QToolBar* bar : bars) {
        const auto actions = bar->actions();
        for (const QAction* action : actions)
            if (action->isVisible())
                texts << action->text() << action->toolTip();
    }
    QStringList english;
    for (const QString& text : texts)
        if (!text.startsWith(QLatin1Char('/')) && text.contains(word) && !english.contains(text))
            english << text;
    return english;
}

// The dialog's frame with its title bar lies on the screen.
bool onScreen(const QWidget& dialog)
{
    return Laptop.contains(dialog.geometry().adjusted(0, -30, 0, 0));
}

}  // namespace

class QtDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void pickersSpeakJapanese();
    void printDialogsSpeakJapaneseAndFit();
    void saveDialogOpensInTheLastFolder();
    void smallDialogShowsItsWholeTitle();
    void enterPressesTheDefaultButton_data();
    void enterPressesTheDefaultButton();

private:
    QTemporaryDir folder;
    QtUi ui{QString()};
};

void QtDialogsTest::initTestCase()
{
    QVERIFY(folder.isValid());
    QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry(), Laptop);
    QVERIFY2(QtTranslations::installJapanese(*qApp), "qtbase_ja.qm was not found (package qt6-translations-l10n)");
}

// The save dialog, the question before a file is replaced, and the folder picker.
void QtDialogsTest::pickersSpeakJapanese()
{
    const QString existing = QDir(folder.path()).filePath(QStringLiteral("名簿.pdf"));
    QFile file(existing);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    QStringList english;
    QString question;
    whenShown<QFileDialog>([&](QFileDialog& dialog) {
        english << englishIn(dialog);
        whenShown<QMessageBox>([&](QMessageBox& box) {
            question = box.text();
            english << englishIn(box);
            box.button(QMessageBox::Yes)->click();
        });
        static_cast<QDialog&>(dialog).accept();  // the suggested name, which exists: Qt asks first
    });
    const QString chosen = ui.saveFileName(nullptr, QStringLiteral("PDFファイルとして保存"), existing,
                                           QStringLiteral("PDFファイル (*.pdf)"));
    QCOMPARE(chosen, existing);
    QVERIFY2(question.contains(QStringLiteral("名簿.pdf")), qPrintable(question));
    QVERIFY2(english.isEmpty(), qPrintable(english.join(QStringLiteral(" | "))));

    whenShown<QFileDialog>([&](QFileDialog& dialog) {
        english << englishIn(dialog);
        dialog.reject();
    });
    QVERIFY(ui.pickFolder(nullptr, QStringLiteral("成績データを格納するフォルダを指定して下さい。"), folder.path()).isEmpty());
    QVERIFY2(english.isEmpty(), qPrintable(english.join(QStringLiteral(" | "))));
}

// The print preview opens at a page's size where the screen allows, inside the
// screen here, its tool bar in Japanese; the printer setup too.
void QtDialogsTest::printDialogsSpeakJapaneseAndFit()
{
    QStringList english;
    QRect previewAt;
    bool previewOnScreen = false;
    bool pageSetupOffered = true;
    whenShown<QPrintPreviewDialog>([&](QPrintPreviewDialog& dialog) {
        english << englishIn(dialog);
        previewAt = dialog.geometry();
        previewOnScreen = onScreen(dialog);
        // Its print command closes it and prints through the program; its page
        // setup, which would change nothing of a sheet, is not offered.
        const auto actions = dialog.findChildren<QAction*>();
        QAction* print = nullptr;
        pageSetupOffered = false;
        for (QAction* action : actions) {
            if (action->text() == QCoreApplication::translate("QPrintPreviewDialog", "Print"))
                print = action;
            if (action->text() == QCoreApplication::translate("QPrintPreviewDialog", "Page setup") && action->isVisible())
                pageSetupOffered = true;
        }
        if (print)
            print->trigger();
        else
            dialog.reject();
    });
    int painted = 0;
    int printed = 0;
    ui.preview(nullptr, QStringLiteral("氏名一覧"), [&](QPrinter*) { ++painted; }, [&] { ++printed; });
    QVERIFY(painted > 0);
    QCOMPARE(printed, 1);
    QVERIFY(!pageSetupOffered);
    QVERIFY2(!previewAt.isEmpty(), "no preview was shown");
    QVERIFY2(previewOnScreen, "the preview reaches past the screen");
    QVERIFY2(previewAt.height() >= Laptop.height() * 3 / 4, "the preview does not use the screen's height");
    QVERIFY2(english.isEmpty(), qPrintable(english.join(QStringLiteral(" | "))));

    // プリンタの設定 and the confirmation of a whole class's sheets (45 pupils).
    const QList<PrintQueue> queues{{QStringLiteral("PX-105"), QStringLiteral("教室のプリンタ"), true},
                                   {QStringLiteral("LBP-6030"), QString(), false}};
    PrintSetupDialog setup(queues, [](const QString&) { return QStringList{QStringLiteral("iso_a4_210x297mm")}; },
                           PrintChoice(), {}, {QStringLiteral("総合集計一覧表")});
    QStringList pupils;
    QList<int> pages;
    for (int p = 1; p <= 45; ++p) {
        pupils << QStringLiteral("%1 児童%1").arg(p);
        pages << 1;
    }
    PrintConfirmDialog confirm(QStringLiteral("個人別成績集計-算数-全員"), QStringLiteral("PX-105"), pupils, pages, 1);
    for (QDialog* dialog : std::initializer_list<QDialog*>{&setup, &confirm}) {
        bool shown = false;
        bool fits = false;
        whenShown<QDialog>([&](QDialog& shownDialog) {
            shown = true;
            english << englishIn(shownDialog);
            fits = onScreen(shownDialog);
            shownDialog.reject();
        });
        ui.runModal(*dialog);
        QVERIFY(shown);
        QVERIFY2(fits, qPrintable(dialog->objectName() + QStringLiteral(" reaches past the screen")));
    }
    QVERIFY2(english.isEmpty(), qPrintable(english.join(QStringLiteral(" | "))));
}

// The first save opens where the program suggests; the teacher saves elsewhere;
// the next save, even after a restart (a new settings object on the same file),
// opens there with the suggested name; once that folder is gone, where suggested.
void QtDialogsTest::saveDialogOpensInTheLastFolder()
{
    QTemporaryDir config;
    const QString iniFile = QDir(config.path()).filePath(QStringLiteral("Kazane.ini"));
    const QString documents = QDir(folder.path()).filePath(QStringLiteral("documents"));
    const QString elsewhere = QDir(folder.path()).filePath(QStringLiteral("学年末の成績"));
    QVERIFY(QDir().mkpath(documents) && QDir().mkpath(elsewhere));
    const QString suggested = QDir(documents).filePath(QStringLiteral("テスト別成績集計.csv"));

    // Saves through a QtUi on the settings file: returns the folder the dialog
    // opened in and the name it proposed, choosing `target` (empty: cancels).
    const auto save = [&](const QString& target, QString* chosen) {
        QSettings store(iniFile, QSettings::IniFormat);
        QtUi real(QString(), &store);
        QString openedIn;
        QString proposed;
        whenShown<QFileDialog>([&](QFileDialog& dialog) {
            openedIn = dialog.directory().absolutePath();
            proposed = dialog.selectedFiles().value(0);
            if (target.isEmpty()) {
                dialog.reject();
                return;
            }
            dialog.setDirectory(QFileInfo(target).absolutePath());
            // The name typed over the proposed one.
            if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(QFileInfo(target).fileName());
            static_cast<QDialog&>(dialog).accept();
        });
        *chosen = real.saveFileName(nullptr, QStringLiteral("CSVファイルとして保存"), suggested,
                                    QStringLiteral("CSVファイル (*.csv)"));
        return QStringList{openedIn, QFileInfo(proposed).fileName()};
    };

    QString chosen;
    const QString target = QDir(elsewhere).filePath(QStringLiteral("集計.csv"));
    QCOMPARE(save(target, &chosen), (QStringList{documents, QStringLiteral("テスト別成績集計.csv")}));
    QCOMPARE(chosen, target);
    QCOMPARE(QSettings(iniFile, QSettings::IniFormat).value(QLatin1String(SaveFolder::Key)).toString(), elsewhere);

    QCOMPARE(save(QString(), &chosen), (QStringList{elsewhere, QStringLiteral("テスト別成績集計.csv")}));
    QVERIFY(chosen.isEmpty());

    // A copy that opened its data folder read-only writes nothing to the settings,
    // not even the folder last saved in.
    {
        const auto bytesOf = [](const QString& path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QByteArray stored = bytesOf(iniFile);
        QSettings store(iniFile, QSettings::IniFormat);
        QtUi readOnly(QString(), &store);
        readOnly.setSettingsWritable(false);
        whenShown<QFileDialog>([&](QFileDialog& dialog) {
            dialog.setDirectory(documents);
            static_cast<QDialog&>(dialog).accept();
        });
        QCOMPARE(readOnly.saveFileName(nullptr, QStringLiteral("CSVファイルとして保存"), suggested,
                                       QStringLiteral("CSVファイル (*.csv)")),
                 QDir(documents).filePath(QStringLiteral("テスト別成績集計.csv")));
        QCOMPARE(bytesOf(iniFile), stored);
    }

    QVERIFY(QDir(elsewhere).removeRecursively());
    QCOMPARE(save(QString(), &chosen), (QStringList{documents, QStringLiteral("テスト別成績集計.csv")}));
}

// A dialog or a message box with little in it but a long title is widened so that
// the title bar shows all of it.
void QtDialogsTest::smallDialogShowsItsWholeTitle()
{
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("集計するテストを選んでください（複数選択できます）"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QFont bold = dialog.font();
    bold.setBold(true);
    // Beside the title, a title bar holds the window's icon and three buttons.
    constexpr int titleBarButtons = 4 * 24;
    const int title = QFontMetrics(bold).horizontalAdvance(dialog.windowTitle()) + titleBarButtons;
    QVERIFY2(dialog.sizeHint().width() < title, "the dialog is wide enough for its title already");
    int width = 0;
    whenShown<QDialog>([&](QDialog& shown) {
        width = shown.width();
        shown.accept();
    });
    QCOMPARE(ui.runModal(dialog), int(QDialog::Accepted));
    QVERIFY2(width > title, qPrintable(QStringLiteral("%1 pixels where the title bar needs %2").arg(width).arg(title)));

    // A short message under the program's title, and a question with short answers.
    const int programTitle = QFontMetrics(bold).horizontalAdvance(Ui::applicationTitle()) + titleBarButtons;
    Ui& seam = ui;
    whenShown<QMessageBox>([&](QMessageBox& box) {
        width = box.width();
        box.button(QMessageBox::Ok)->click();
    });
    QCOMPARE(seam.message(nullptr, QStringLiteral("保存しました。")), Ui::Answer::Ok);
    QVERIFY2(width > programTitle, qPrintable(QStringLiteral("%1 pixels where the title bar needs %2").arg(width).arg(programTitle)));
    whenShown<QMessageBox>([&](QMessageBox& box) {
        width = box.width();
        box.buttons().first()->click();
    });
    seam.ask(nullptr, QStringLiteral("消しますか?"), {QStringLiteral("はい"), QStringLiteral("いいえ")}, 0, 1);
    QVERIFY2(width > programTitle, qPrintable(QStringLiteral("%1 pixels where the title bar needs %2").arg(width).arg(programTitle)));
}

void QtDialogsTest::enterPressesTheDefaultButton_data()
{
    QTest::addColumn<Ui::Buttons>("buttons");
    QTest::addColumn<Ui::Default>("defaultButton");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<Ui::Answer>("answer");
    QTest::newRow("OK") << Ui::Buttons::OkCancel << Ui::Default::Affirmative << "OK" << Ui::Answer::Ok;
    QTest::newRow("キャンセル") << Ui::Buttons::OkCancel << Ui::Default::Cancel << "キャンセル" << Ui::Answer::Cancel;
    QTest::newRow("はい") << Ui::Buttons::YesNo << Ui::Default::Affirmative << "はい(&Y)" << Ui::Answer::Yes;
    QTest::newRow("いいえ") << Ui::Buttons::YesNo << Ui::Default::Cancel << "いいえ(&N)" << Ui::Answer::No;
}

// Enter in a message box presses the button the program made its default.
void QtDialogsTest::enterPressesTheDefaultButton()
{
    QFETCH(Ui::Buttons, buttons);
    QFETCH(Ui::Default, defaultButton);
    QFETCH(QString, caption);
    QFETCH(Ui::Answer, answer);
    Ui& seam = ui;
    EnterPress press;
    pressEnterInNextMessageBox(press);
    QCOMPARE(seam.message(nullptr, QStringLiteral("削除します."), buttons, Ui::Icon::Question, QString(), defaultButton), answer);
    QVERIFY(press.closed);
    QCOMPARE(press.defaultCaption, caption);
}

// The laptop's screen for the offscreen platform, set before the application starts.
int main(int argc, char* argv[])
{
    QTemporaryDir folder;
    useOffscreenScreens(folder, {{QStringLiteral("laptop"), Laptop}});
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("IPAexGothic"), 10));
    QtDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_qt_dialogs.moc"
