#include "entry/EntryWidgets.h"

#include <QGroupBox>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionGroupBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

class TitleRoomStyle : public QProxyStyle {
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override
    {
        QRect rect = QProxyStyle::subControlRect(control, option, part, widget);
        if (control == CC_GroupBox && part == SC_GroupBoxLabel)
            if (const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option)) {
                QFont bold = widget ? widget->font() : QFont();
                bold.setBold(true);
                const int need = qMax(option->fontMetrics.horizontalAdvance(box->text),
                                      QFontMetrics(bold).horizontalAdvance(box->text)) + 2;
                if (rect.width() < need)
                    rect.setWidth(need);
            }
        return rect;
    }
};

}  // namespace

void giveTitleRoom(QGroupBox* box)
{
    // One style for the whole program run, shared by every group box that needs it.
    static TitleRoomStyle* style = new TitleRoomStyle;
    box->setStyle(style);
}

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
    upButton->setObjectName(QStringLiteral("upButton"));
    upButton->setArrowType(Qt::UpArrow);
    upButton->setToolTip(QStringLiteral("次のテスト"));
    downButton = new QToolButton(this);
    downButton->setObjectName(QStringLiteral("downButton"));
    downButton->setArrowType(Qt::DownArrow);
    downButton->setToolTip(QStringLiteral("前のテスト"));
    for (QToolButton* button : {upButton, downButton}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(22, 13);
        layout->addWidget(button);
    }
    connect(upButton, &QToolButton::clicked, this, &UpDownButtons::upClicked);
    connect(downButton, &QToolButton::clicked, this, &UpDownButtons::downClicked);
}
