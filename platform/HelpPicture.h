#pragma once
// A picture of the teacher's manual at its full size, in a window of its own that
// scrolls where the picture is larger than the screen. The help window opens one
// when a picture of a page is clicked; Esc or 閉じる closes it.

#include <QWidget>

class QLabel;

class HelpPicture : public QWidget {
    Q_OBJECT
public:
    // Shows the picture file `path` with `title` as the window's title; one window
    // per help window, reused for the next picture.
    static HelpPicture* show(const QString& path, const QString& title, QWidget* helpWindow);
    QSize pictureSize() const;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    explicit HelpPicture(QWidget* helpWindow);
    void showFile(const QString& path, const QString& title);
    QLabel* picture = nullptr;
};
