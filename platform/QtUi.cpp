#include "platform/QtUi.h"

#include "platform/DialogFit.h"
#include "platform/HelpTopics.h"
#include "platform/HelpViewer.h"
#include "platform/SaveFolder.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>

QtUi::QtUi(const QString& helpFolder, QSettings* store) : helpFolder(helpFolder), store(store) {}

QtUi::~QtUi()
{
    delete help;
}

namespace {
void setIcon(QMessageBox& box, Ui::Icon icon)
{
    switch (icon) {
    case Ui::Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Ui::Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Ui::Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Ui::Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Ui::Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
}
}  // namespace

Ui::Answer QtUi::message(QWidget* owner, const QString& text, Buttons buttons, Icon icon, const QString& title,
                         Default defaultButton)
{
    QMessageBox box(owner);
    box.setWindowTitle(title.isEmpty() ? applicationTitle() : title);
    box.setText(text);
    setIcon(box, icon);
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
        break;
    }
    if (defaultButton == Default::Cancel && buttons != Buttons::Ok)
        box.setDefaultButton(buttons == Buttons::YesNo ? QMessageBox::No : QMessageBox::Cancel);
    else
        box.setDefaultButton(buttons == Buttons::YesNo ? QMessageBox::Yes : QMessageBox::Ok);
    DialogFit::showWholeTitle(box);
    const int result = box.exec();
    switch (result) {
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return buttons == Buttons::OkCancel && result != QMessageBox::Ok ? Answer::Cancel : Answer::Ok;
    }
}

int QtUi::ask(QWidget* owner, const QString& text, const QStringList& buttons, int defaultButton, int escapeButton,
              Icon icon, const QString& title)
{
    QMessageBox box(owner);
    box.setWindowTitle(title.isEmpty() ? applicationTitle() : title);
    box.setText(text);
    setIcon(box, icon);
    QList<QPushButton*> shown;
    for (int i = 0; i < buttons.size(); ++i) {
        // The roles place the buttons as the desktop expects: the affirmative one
        // first, the one that gives up last.
        const QMessageBox::ButtonRole role = i == escapeButton ? QMessageBox::RejectRole
            : i == 0                                            ? QMessageBox::AcceptRole
                                                                : QMessageBox::DestructiveRole;
        shown.append(box.addButton(buttons[i], role));
    }
    if (defaultButton >= 0 && defaultButton < shown.size())
        box.setDefaultButton(shown[defaultButton]);
    if (escapeButton >= 0 && escapeButton < shown.size())
        box.setEscapeButton(shown[escapeButton]);
    DialogFit::showWholeTitle(box);
    box.exec();
    const int chosen = int(shown.indexOf(qobject_cast<QPushButton*>(box.clickedButton())));
    return chosen >= 0 ? chosen : escapeButton;
}

void QtUi::beep()
{
    QApplication::beep();
}

std::optional<QString> QtUi::input(QWidget* owner, const QString& prompt, const QString& title, const QString& defaultText)
{
    QInputDialog dialog(owner);
    dialog.setWindowTitle(title.isEmpty() ? applicationTitle() : title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("キャンセル"));
    DialogFit::showWholeTitle(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QString QtUi::pickFolder(QWidget* owner, const QString& title, const QString& startFolder)
{
    return QFileDialog::getExistingDirectory(owner, title, startFolder, QFileDialog::ShowDirsOnly);
}

QString QtUi::saveFileName(QWidget* owner, const QString& title, const QString& suggestedPath, const QString& filter)
{
    const QString start = store ? SaveFolder::startPath(*store, suggestedPath) : suggestedPath;
    const QString file = QFileDialog::getSaveFileName(owner, title, start, filter);
    // A folder that cannot be remembered (the settings folder is full or read-only)
    // costs only the next dialog's starting place; the file is saved all the same.
    if (store && settingsWritable && !file.isEmpty())
        SaveFolder::remember(*store, file);
    return file;
}

int QtUi::runModal(QDialog& dialog)
{
    DialogFit::showWholeTitle(dialog);
    // F1 in a dialog opens its section of the manual (the main window's F1 does
    // not reach a modal dialog).
    const QString page = HelpTopics::pageOfDialog(QString::fromLatin1(dialog.metaObject()->className()));
    if (!page.isEmpty()) {
        auto* help = new QShortcut(QKeySequence(Qt::Key_F1), &dialog);
        QObject::connect(help, &QShortcut::activated, &dialog, [this, &dialog, page] { showHelpPage(&dialog, page); });
    }
    return dialog.exec();
}

void QtUi::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtUi::showHelp(QWidget* owner, int topic)
{
    showHelpPage(owner, HelpTopics::pageOf(topic));
}

void QtUi::showHelpPage(QWidget* owner, const QString& page)
{
    Q_UNUSED(owner);
    if (!help) {
        help = new HelpViewer(helpFolder);
        help->setAttribute(Qt::WA_DeleteOnClose);
    }
    help->showPage(page);
}

void QtUi::preview(QWidget* owner, const QString& title, const std::function<void(QPrinter*)>& paint,
                   const std::function<void()>& print)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    QPrintPreviewDialog dialog(&printer, owner);
    dialog.setWindowTitle(title);
    // A page at a readable size, but never past the bottom of a laptop's screen.
    dialog.setGeometry(DialogFit::placeWithin(QSize(900, 1000), DialogFit::freeScreen(dialog)));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* target) { paint(target); });
    // The preview's print command is the program's 印刷 (the printer and paper of
    // プリンタの設定, the checked road to the printer), run once the preview has
    // closed; its page setup would change nothing of a sheet, so it is not offered.
    bool printAsked = false;
    const auto actions = dialog.findChildren<QAction*>();
    for (QAction* action : actions) {
        if (action->text() == QCoreApplication::translate("QPrintPreviewDialog", "Page setup"))
            action->setVisible(false);
        if (action->text() != QCoreApplication::translate("QPrintPreviewDialog", "Print"))
            continue;
        action->disconnect(&dialog);
        QObject::connect(action, &QAction::triggered, &dialog, [&] {
            printAsked = true;
            dialog.accept();
        });
    }
    dialog.exec();
    if (printAsked && print)
        print();
}
