#include "platform/HelpPicture.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

HelpPicture::HelpPicture(QWidget* helpWindow) : QWidget(helpWindow, Qt::Window)
{
    setObjectName(QStringLiteral("helpPicture"));
    setAttribute(Qt::WA_DeleteOnClose);
    picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("helpPictureImage"));
    auto* area = new QScrollArea(this);
    area->setWidget(picture);
    area->setAlignment(Qt::AlignCenter);
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("helpPictureClose"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(area, 1);
    layout->addWidget(close, 0, Qt::AlignRight);
}

HelpPicture* HelpPicture::show(const QString& path, const QString& title, QWidget* helpWindow)
{
    auto* window = helpWindow->findChild<HelpPicture*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window)
        window = new HelpPicture(helpWindow);
    window->showFile(path, title);
    return window;
}

void HelpPicture::showFile(const QString& path, const QString& title)
{
    const QPixmap image(path);
    picture->setPixmap(image);
    picture->resize(image.size());
    setWindowTitle(title);
    // As large as the picture with its frame, but never beyond the screen.
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QSize room = screen ? screen->availableGeometry().size() * 9 / 10 : QSize(1200, 800);
    resize(image.size().boundedTo(room - QSize(40, 80)) + QSize(40, 80));
    QWidget::show();
    raise();
    activateWindow();
}

QSize HelpPicture::pictureSize() const
{
    return picture->pixmap().size();
}

// Esc is this window's own: the help window's 閉じる answers Esc too, and would
// otherwise take it from its picture.
bool HelpPicture::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void HelpPicture::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
