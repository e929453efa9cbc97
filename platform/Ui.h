#pragma once
// Every message box, beep, input box, folder or file picker, modal dialog, help
// page and print preview of the program goes through this seam. The program uses
// QtUi; tests install a scripted Ui that records each call and answers it.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QDialog;
class QPrinter;
class QWidget;

class Ui {
public:
    enum class Buttons { Ok, OkCancel, YesNo };
    enum class Icon { None, Information, Question, Warning, Critical };
    enum class Answer { Ok, Cancel, Yes, No };
    // The button Enter presses in a message box: the first (OK, はい), or, for a
    // question whose OK destroys something, the one that changes nothing
    // (キャンセル, いいえ), so that a slip of Enter loses nothing.
    enum class Default { Affirmative, Cancel };

    virtual ~Ui() = default;

    // A message box. An empty title means the application title "小学校成績処理かざね".
    virtual Answer message(QWidget* owner, const QString& text, Buttons buttons = Buttons::Ok,
                           Icon icon = Icon::None, const QString& title = {},
                           Default defaultButton = Default::Affirmative) = 0;
    // A question with buttons of its own captions, in order. Returns the index of the
    // button chosen; closing the box (Esc, the close box) chooses `escapeButton`.
    // `defaultButton` is the one Enter presses.
    virtual int ask(QWidget* owner, const QString& text, const QStringList& buttons, int defaultButton,
                    int escapeButton, Icon icon = Icon::Question, const QString& title = {}) = 0;
    virtual void beep() = 0;
    // An input box; nothing when cancelled.
    virtual std::optional<QString> input(QWidget* owner, const QString& prompt, const QString& title,
                                         const QString& defaultText) = 0;
    // The folder picker; empty when cancelled.
    virtual QString pickFolder(QWidget* owner, const QString& title, const QString& startFolder) = 0;
    // A save-file dialog proposing `suggestedPath`; empty when cancelled. The program
    // opens it in the folder the teacher last saved in, when there is one.
    virtual QString saveFileName(QWidget* owner, const QString& title, const QString& suggestedPath,
                                 const QString& filter) = 0;
    // Runs a dialog modally and returns its result (QDialog::Accepted or Rejected).
    virtual int runModal(QDialog& dialog) = 0;
    // Hourglass pointer on or off (nested calls are counted).
    virtual void setBusy(bool busy) = 0;
    // The help window at a topic number (1 main window, 4 settings, 5 score entry,
    // 7 test maintenance, 8 roster maintenance, 11 attendance).
    virtual void showHelp(QWidget* owner, int topic) = 0;
    // The help window at a page of the manual, "entry.html" or "entry.html#keys"
    // (platform/HelpTopics names the pages).
    virtual void showHelpPage(QWidget* owner, const QString& page) = 0;
    // A print preview window with the title; `paint` paints every page on the printer
    // it gets. Its print command closes it and calls `print`, the program's own 印刷.
    virtual void preview(QWidget* owner, const QString& title, const std::function<void(QPrinter*)>& paint,
                         const std::function<void()>& print) = 0;
    // Whether the Ui may write the settings store (the folder last saved in): not
    // while the data folder is open read-only, when another copy owns the settings.
    virtual void setSettingsWritable(bool writable) = 0;

    static QString applicationTitle() { return QStringLiteral("小学校成績処理かざね"); }
};

// The hourglass pointer for the life of a scope.
class BusyCursor {
public:
    explicit BusyCursor(Ui& ui) : ui(ui) { ui.setBusy(true); }
    ~BusyCursor() { ui.setBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    Ui& ui;
};
