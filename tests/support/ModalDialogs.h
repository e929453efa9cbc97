#pragma once
// Driving Qt's own modal dialogs and message boxes, shown through the real QtUi:
// `drive` runs on the next modal dialog of type T once it is on screen, from the
// event loop of the dialog itself.

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

template <typename T>
void whenShown(std::function<void(T&)> drive)
{
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, drive] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        drive(*dialog);
    });
    timer->start();
}

// A single press of Enter in the next message box, as a teacher's slip of the key:
// the caption of the box's default button, and whether Enter closed the box (one
// that Enter does not close is rejected, so that the test goes on).
struct EnterPress {
    QString defaultCaption;
    bool closed = false;
};

inline void pressEnterInNextMessageBox(EnterPress& press)
{
    whenShown<QMessageBox>([&press](QMessageBox& box) {
        press.defaultCaption = box.defaultButton() ? box.defaultButton()->text() : QString();
        QTest::keyClick(&box, Qt::Key_Return);
        press.closed = !box.isVisible();
        if (!press.closed)
            box.reject();
    });
}

// Closes the next modal dialog at once (the program's title window at start).
inline void closeNextDialog()
{
    whenShown<QDialog>([](QDialog& dialog) { dialog.reject(); });
}
