#pragma once
// The title window: shown modally at start-up and as the about box. It closes by
// itself on the third tick of its one-second timer, or at once on a key, a click or
// the loss of focus. Its modal run ends however and whenever it is closed, even
// while it is still being shown.

#include "frame/AppContext.h"

#include <QDialog>

class QEventLoop;
class QLabel;
class QTimer;

class SplashWindow : public QDialog {
    Q_OBJECT
public:
    explicit SplashWindow(AppContext& ctx, QWidget* parent = nullptr);

    // Shows the window modally and returns once it is hidden.
    int exec() override;

    // The seconds the window has been shown, counted by its timer.
    int ticks() const { return tickCount; }
    static QString versionText();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // One second more: the window closes on the third.
    void tick();

    AppContext& ctx;
    QLabel* logo = nullptr;
    QLabel* productLine = nullptr;  // "小学校成績処理"
    QLabel* productName = nullptr;
    QLabel* versionLabel = nullptr;
    QTimer* closeTimer = nullptr;
    int tickCount = 0;
    bool hasBeenActive = false;
    QEventLoop* modalLoop = nullptr;
};
