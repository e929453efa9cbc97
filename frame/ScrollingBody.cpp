#include "frame/ScrollingBody.h"

#include <QLayout>
#include <QScrollBar>
#include <QStyle>

ScrollingBody::ScrollingBody(QWidget* parent) : QScrollArea(parent)
{
    setObjectName(QStringLiteral("scrollingBody"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
}

void ScrollingBody::setContentsLayout(QLayout* layout)
{
    auto* contents = new QWidget(this);
    contents->setObjectName(QStringLiteral("scrollingBodyContents"));
    // The window's own margins surround the body already.
    layout->setContentsMargins(0, 0, 0, 0);
    contents->setLayout(layout);
    setWidget(contents);
}

QSize ScrollingBody::sizeHint() const
{
    if (!widget())
        return QScrollArea::sizeHint();
    const int frame = 2 * frameWidth();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
    return widget()->sizeHint() + QSize(frame + scrollBar, frame);
}
