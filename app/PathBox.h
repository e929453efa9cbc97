#pragma once
// A text box for a folder path. While it does not have the focus, a path too long
// for the box is shown elided in the middle ("/home/…/かざねデータ/"), so that both
// its start and the folder's own name stay in sight; the whole path is its tooltip.
// With the focus it is an ordinary text box holding the whole path.

#include <QLineEdit>

class PathBox : public QLineEdit {
    Q_OBJECT
public:
    explicit PathBox(QWidget* parent = nullptr);

    // The text the box shows while it does not have the focus.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect textRect() const;
};
