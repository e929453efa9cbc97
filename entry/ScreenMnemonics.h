#pragma once
// Alt+letter typed inside score entry goes to the screen's own buttons and menus
// before the main window's menus see it: they share some of their letters.

#include <QObject>

class QKeyEvent;
class QMenuBar;
class QWidget;

class ScreenMnemonics : public QObject {
public:
    // Watches the application's keys for as long as `screen` lives.
    ScreenMnemonics(QWidget* screen, QMenuBar* menuBar);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether a button or menu of the screen marks the letter; `trigger` presses it.
    bool ownMnemonic(const QKeyEvent* key, bool trigger);

    QWidget* screen;
    QMenuBar* menuBar;
};
