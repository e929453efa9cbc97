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
    logo = new QLabel(frame);
    logo->setObjectName(QStringLiteral("logo"));
    logo->setPixmap(Logo::pixmap());
    row->addWidget(logo, 0, Qt::AlignTop);

    auto* texts = new QVBoxLayout;
    productLine = new QLabel(QStringLiteral("小学校成績処理"), frame);
    productLine->setObjectName(QStringLiteral("productLine"));
    productName = new QLabel(QStringLiteral("かざね"), frame);
    productName->setObjectName(QStringLiteral("productName"));
    versionLabel = new QLabel(frame);
    versionLabel->setObjectName(QStringLiteral("versionLabel"));
    QFont company = productLine->font();
    company.setPointSize(16);
    productLine->setFont(company);
    QFont product = productName->font();
    product.setPointSize(40);
    product.setBold(true);
    productName->setFont(product);
    productName->setStyleSheet(QStringLiteral("color: #2b6cb0;"));
    texts->addWidget(productLine);
    texts->addWidget(productName);
    texts->addStretch(1);
    texts->addWidget(versionLabel, 0, Qt::AlignRight);
    row->addLayout(texts, 1);

    // Load: the tick counter starts at 0 and the version is shown.
    tickCount = 0;
    versionLabel->setText(versionText());
    closeTimer = new QTimer(this);
    closeTimer->setObjectName(QStringLiteral("closeTimer"));
    closeTimer->setInterval(1000);
    connect(closeTimer, &QTimer::timeout, this, &SplashWindow::tick);
    setMinimumSize(460, 220);
    closeTimer->start();
}

void SplashWindow::tick()
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
