#pragma once
// The Ui seam on real Qt widgets.

#include "platform/Ui.h"

#include <QPointer>

class HelpViewer;
class QSettings;

class QtUi : public Ui {
public:
    // `helpFolder` holds the pages of the teacher's manual. With a settings store,
    // save dialogs open in the folder last saved in.
    explicit QtUi(const QString& helpFolder, QSettings* store = nullptr);
    ~QtUi() override;

    Answer message(QWidget* owner, const QString& text, Buttons buttons, Icon icon, const QString& title,
                   Default defaultButton) override;
    int ask(QWidget* owner, const QString& text, const QStringList& buttons, int defaultButton, int escapeButton,
            Icon icon, const QString& title) override;
    void beep() override;
    std::optional<QString> input(QWidget* owner, const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    QString pickFolder(QWidget* owner, const QString& title, const QString& startFolder) override;
    QString saveFileName(QWidget* owner, const QString& title, const QString& suggestedPath,
                         const QString& filter) override;
    int runModal(QDialog& dialog) override;
    void setBusy(bool busy) override;
    void showHelp(QWidget* owner, int topic) override;
    void showHelpPage(QWidget* owner, const QString& page) override;
    void preview(QWidget* owner, const QString& title, const std::function<void(QPrinter*)>& paint,
                 const std::function<void()>& print) override;
    void setSettingsWritable(bool writable) override { settingsWritable = writable; }

private:
    QString helpFolder;
    QSettings* store = nullptr;
    bool settingsWritable = true;
    QPointer<HelpViewer> help;
};
