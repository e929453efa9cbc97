#pragma once
// Two small controls of the score-entry screen: the frame drawn around the score
// grid while it has the focus, and the pair of spin buttons beside the test number.

#include <QWidget>

class QGroupBox;
class QToolButton;

// Gives a group box's title the room its characters take. Some styles measure the
// title by its ink, which clips characters such as the roman numeral of "観点Ⅰ".
void giveTitleRoom(QGroupBox* box);

// A frame drawn around its parent's whole area; mouse clicks pass through it.
class FocusFrame : public QWidget {
public:
    explicit FocusFrame(QWidget* parent);
    // Covers the parent again after the parent changed size.
    void fit();

protected:
    void paintEvent(QPaintEvent* event) override;
};

// An up and a down arrow button, one above the other (object names "upButton" and
// "downButton").
class UpDownButtons : public QWidget {
    Q_OBJECT
public:
    explicit UpDownButtons(QWidget* parent = nullptr);

signals:
    void upClicked();
    void downClicked();

private:
    QToolButton* upButton = nullptr;
    QToolButton* downButton = nullptr;
};
