#include "ScriptedUi.h"

#include <QPrinter>

Ui::Answer ScriptedUi::message(QWidget*, const QString& text, Buttons buttons, Icon icon, const QString& title,
                               Default defaultButton)
{
    Message shown;
    shown.text = text;
    shown.buttons = buttons;
    shown.icon = icon;
    shown.title = title;
    shown.defaultButton = defaultButton;
    messages.append(shown);
    if (!answers.empty()) {
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    const bool cancels = pressEnter && defaultButton == Default::Cancel && buttons != Buttons::Ok;
    if (buttons == Buttons::YesNo)
        return cancels ? Answer::No : Answer::Yes;
    return cancels ? Answer::Cancel : Answer::Ok;
}

int ScriptedUi::ask(QWidget*, const QString& text, const QStringList& buttons, int defaultButton, int escapeButton,
                    Icon icon, const QString& title)
{
    Message asked;
    asked.text = text;
    asked.buttons = Buttons::Ok;
    asked.icon = icon;
    asked.title = title;
    asked.choices = buttons;
    asked.defaultChoice = defaultButton;
    asked.escapeChoice = escapeButton;
    messages.append(asked);
    if (choices.empty())
        return pressEnter ? defaultButton : 0;
    const int chosen = choices.front();
    choices.pop_front();
    return chosen;
}

std::optional<QString> ScriptedUi::input(QWidget*, const QString& prompt, const QString&, const QString&)
{
    inputPrompts.append(prompt);
    if (inputs.empty())
        return std::nullopt;
    const bool cancelled = !inputs.front().has_value();
    const QString text = inputs.front().value_or(QString());
    inputs.pop_front();
    if (cancelled)
        return std::nullopt;
    return text;
}

QString ScriptedUi::pickFolder(QWidget*, const QString& title, const QString&)
{
    folderTitles.append(title);
    if (folders.empty())
        return {};
    QString folder = folders.front();
    folders.pop_front();
    return folder;
}

QString ScriptedUi::saveFileName(QWidget*, const QString&, const QString&, const QString&)
{
    if (saveNames.empty())
        return {};
    QString name = saveNames.front();
    saveNames.pop_front();
    return name;
}

int ScriptedUi::runModal(QDialog& dialog)
{
    modalDialogs.append(dialog.objectName());
    dialog.setResult(QDialog::Rejected);
    if (!modalHandlers.empty()) {
        auto handler = modalHandlers.front();
        modalHandlers.pop_front();
        dialog.show();
        handler(dialog);
    }
    dialog.hide();
    return dialog.result();
}

void ScriptedUi::setBusy(bool busy)
{
    busyDepth += busy ? 1 : -1;
}

void ScriptedUi::preview(QWidget*, const QString& title, const std::function<void(QPrinter*)>& paint,
                         const std::function<void()>& print)
{
    Preview shown;
    shown.title = title;
    if (!previewFolder.isEmpty()) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        shown.pdfPath = previewFolder + QStringLiteral("/preview%1.pdf").arg(previews.size() + 1);
        printer.setOutputFileName(shown.pdfPath);
        paint(&printer);
    }
    previews.append(shown);
    if (printFromPreview && print) {
        printFromPreview = false;
        print();
    }
}

QStringList ScriptedUi::messageTexts() const
{
    QStringList texts;
    for (const Message& m : messages)
        texts.append(m.text);
    return texts;
}

void ScriptedUi::clear()
{
    messages.clear();
    inputPrompts.clear();
    folderTitles.clear();
    modalDialogs.clear();
    helpTopics.clear();
    helpPages.clear();
    previews.clear();
    beeps = 0;
}
