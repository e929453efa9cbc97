#pragma once
// The body of a window with many controls and no grid to scroll (the settings):
// it asks for all the room its controls want, and when the window is given less
// (WindowFit on a small screen) the controls scroll inside it while the window's
// own buttons, kept outside the body, stay in view.

#include <QScrollArea>

class QLayout;

class ScrollingBody : public QScrollArea {
    Q_OBJECT
public:
    explicit ScrollingBody(QWidget* parent);

    // Lays the controls out in the body; it takes the layout and its widgets.
    void setContentsLayout(QLayout* layout);
    // The contents' size and room for a vertical scroll bar, so that a body that
    // must scroll up and down need not scroll sideways too.
    QSize sizeHint() const override;
};
