#include "app/SplashWindow.h"

#include "app/Logo.h"
#include "frame/MainFrame.h"

#include <QEvent>
#include <QEventLoop>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainterPath>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>


QString SplashWindow::versionText()
{
    return QStringLiteral("Ver. %1.%2%3").arg(KAZANE_VERSION_MAJOR).arg(KAZANE_VERSION_MINOR).arg(KAZANE_VERSION_PATCH);
}

SplashWindow::SplashWindow(AppContext& ctx, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint), ctx(ctx)
{
    setObjectName(QStringLiteral("SplashWindow"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(2);
    frame->setStyleSheet(QStringLiteral("QFrame { background: #fdfdf8; }"));
    outer->addWidget(frame);

    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(28, 24, 36, 24);
    row->setSpacing(28);
    imgLogo = new QLabel(frame);
    imgLogo->setPixmap(Logo::pixmap());
    row->addWidget(imgLogo, 0, Qt::AlignTop);

    auto* texts = new QVBoxLayout;
    lblCompanyProduct = new QLabel(QStringLiteral("小学校成績処理"), frame);
    lblProductName = new QLabel(QStringLiteral("かざね"), frame);
    lblPlatform = new QLabel(QStringLiteral("for Windows95/98"), frame);
    lblVersion = new QLabel(frame);
    QFont company = lblCompanyProduct->font();
    company.setPointSize(16);
    lblCompanyProduct->setFont(company);
    QFont product = lblProductName->font();
    product.setPointSize(40);
    product.setBold(true);
    lblProductName->setFont(product);
    lblProductName->setStyleSheet(QStringLiteral("color: #2b6cb0;"));
    texts->addWidget(lblCompanyProduct);
    texts->addWidget(lblProductName);
    texts->addStretch(1);
    texts->addWidget(lblPlatform, 0, Qt::AlignRight);
    texts->addWidget(lblVersion, 0, Qt::AlignRight);
    row->addLayout(texts, 1);

    // Load: the tick counter starts at 0 and the version is shown.
    tickCount = 0;
    lblVersion->setText(versionText());
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &SplashWindow::Timer1_Timer);
    setMinimumSize(460, 220);
    Timer1->start();
}

void SplashWindow::Timer1_Timer()
{
    ++tickCount;
    if (tickCount > 2)
        close();
}

// QDialog::exec() leaves its loop only when the window is hidden while the loop runs.
// A click or a key can close the title window while it is still being shown (the
// second click of a double-click on the launcher), before that loop has started:
// exec() then waited for ever for a window that was already gone, and the program
// never showed its main window. Here the loop is not entered when the window is
// gone by the time it has been shown, and any hiding afterwards leaves it.
int SplashWindow::exec()
{
    setResult(QDialog::Rejected);
    setAttribute(Qt::WA_ShowModal, true);
    show();
    if (isVisible()) {
        QEventLoop loop;
        modalLoop = &loop;
        loop.exec(QEventLoop::DialogExec);
        modalLoop = nullptr;
    }
    return result();
}

void SplashWindow::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (modalLoop)
        modalLoop->quit();
}

void SplashWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (ctx.frame)
        ctx.frame->disablePrint();
    activateWindow();
}

void SplashWindow::keyPressEvent(QKeyEvent*)
{
    close();
}

void SplashWindow::mousePressEvent(QMouseEvent*)
{
    close();
}

void SplashWindow::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && isVisible() && hasBeenActive)
        close();
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        hasBeenActive = true;
}
