#include "entry/EntryWidgets.h"

#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

FocusFrame::FocusFrame(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    fit();
}

void FocusFrame::fit()
{
    if (parentWidget())
        setGeometry(parentWidget()->rect());
    raise();
}

void FocusFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QPen pen(palette().color(QPalette::Highlight));
    pen.setWidth(3);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.drawRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
}

UpDownButtons::UpDownButtons(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    upButton = new QToolButton(this);
    upButton->setObjectName(QStringLiteral("UpDown1Up"));
    upButton->setArrowType(Qt::UpArrow);
    upButton->setToolTip(QStringLiteral("次のテスト"));
    downButton = new QToolButton(this);
    downButton->setObjectName(QStringLiteral("UpDown1Down"));
    downButton->setArrowType(Qt::DownArrow);
    downButton->setToolTip(QStringLiteral("前のテスト"));
    for (QToolButton* button : {upButton, downButton}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(22, 13);
        layout->addWidget(button);
    }
    connect(upButton, &QToolButton::clicked, this, &UpDownButtons::UpClick);
    connect(downButton, &QToolButton::clicked, this, &UpDownButtons::DownClick);
}
