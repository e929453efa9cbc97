#include "app/PathBox.h"

#include <QDir>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {
// The blank QLineEdit keeps between its frame and its text.
constexpr int TextMargin = 2;
}

PathBox::PathBox(QWidget* parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString& text) { setToolTip(QDir::toNativeSeparators(text)); });
}

QRect PathBox::textRect() const
{
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this);
    return contents.marginsRemoved(textMargins()).adjusted(TextMargin, 0, -TextMargin, 0);
}

QString PathBox::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, textRect().width());
}

void PathBox::paintEvent(QPaintEvent* event)
{
    const QString shown = shownText();
    if (hasFocus() || shown == text()) {
        QLineEdit::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    painter.drawText(textRect(), Qt::AlignVCenter | Qt::AlignLeft, shown);
}
