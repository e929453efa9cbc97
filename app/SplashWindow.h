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

    void Timer1_Timer();
    int ticks() const { return tickCount; }
    static QString versionText();

    QLabel* imgLogo = nullptr;
    QLabel* lblCompanyProduct = nullptr;
    QLabel* lblProductName = nullptr;
    QLabel* lblPlatform = nullptr;
    QLabel* lblVersion = nullptr;
    QTimer* Timer1 = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    AppContext& ctx;
    int tickCount = 0;
    bool hasBeenActive = false;
    QEventLoop* modalLoop = nullptr;
};
