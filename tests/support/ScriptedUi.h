#pragma once
// A Ui for tests: records every message, beep, input box, picker, modal dialog,
// help page and preview, and answers them from queues the test fills. With an
// empty queue a message is answered with its first button (OK or Yes), a question
// of ask() with its first button too (with pressEnter: the default button of
// either, as a single Enter would), an input box
// and a picker are cancelled, and a modal dialog is closed at once (rejected).

#include "platform/Ui.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <deque>
#include <functional>

class ScriptedUi : public Ui {
public:
    struct Message {
        QString text;
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        QString title;
        // The button Enter presses in a message box.
        Default defaultButton = Default::Affirmative;
        // A question of ask(): its button captions, the default and the escape button.
        QStringList choices;
        int defaultChoice = -1;
        int escapeChoice = -1;
    };
    struct Preview {
        QString title;
        QString pdfPath;  // the pages painted into a PDF file, when a folder was set
        int pages = 0;
    };

    Answer message(QWidget* owner, const QString& text, Buttons buttons, Icon icon, const QString& title,
                   Default defaultButton) override;
    int ask(QWidget* owner, const QString& text, const QStringList& buttons, int defaultButton, int escapeButton,
            Icon icon, const QString& title) override;
    void beep() override { ++beeps; }
    std::optional<QString> input(QWidget* owner, const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    QString pickFolder(QWidget* owner, const QString& title, const QString& startFolder) override;
    QString saveFileName(QWidget* owner, const QString& title, const QString& suggestedPath,
                         const QString& filter) override;
    int runModal(QDialog& dialog) override;
    void setBusy(bool busy) override;
    void showHelp(QWidget*, int topic) override { helpTopics.append(topic); }
    void showHelpPage(QWidget*, const QString& page) override { helpPages.append(page); }
    void preview(QWidget* owner, const QString& title, const std::function<void(QPrinter*)>& paint,
                 const std::function<void()>& print) override;
    void setSettingsWritable(bool writable) override { settingsWritable = writable; }

    // Answers, taken in order.
    std::deque<Answer> answers;
    std::deque<int> choices;  // for ask(): the index of the button pressed
    std::deque<std::optional<QString>> inputs;
    std::deque<QString> folders;
    std::deque<QString> saveNames;
    // Each drives one modal dialog and returns; the dialog's result is returned
    // (a handler that neither accepts nor rejects leaves it rejected).
    std::deque<std::function<void(QDialog&)>> modalHandlers;
    // With an empty queue, answer as a single Enter would: the default button.
    bool pressEnter = false;
    // Where previews are painted as PDF files; empty: previews are only recorded.
    QString previewFolder;
    // Whether the next preview's print command is pressed.
    bool printFromPreview = false;

    // What happened.
    QList<Message> messages;
    QStringList inputPrompts;
    QStringList folderTitles;
    QStringList modalDialogs;  // object names of the dialogs run modally
    QList<int> helpTopics;
    QStringList helpPages;
    QList<Preview> previews;
    int beeps = 0;
    int busyDepth = 0;
    bool settingsWritable = true;  // as the program last set it

    QStringList messageTexts() const;
    QString lastMessage() const { return messages.isEmpty() ? QString() : messages.last().text; }
    void clear();
};
