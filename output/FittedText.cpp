#include "output/FittedText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr double SmallestShrink = 0.6;
// A line that never wraps: as wide as the toolkit's own single-line texts.
constexpr double UnlimitedWidth = 0x01000000;

// The text laid out as one line, left to right, at the device's resolution.
std::unique_ptr<QTextLayout> layOut(const QString& text, const QFont& font, QPaintDevice* device)
{
    auto layout = std::make_unique<QTextLayout>(text, font, device);
    // Kept after endLayout(), so that drawing uses the glyphs shaped for measuring
    // instead of shaping the text again.
    layout->setCacheEnabled(true);
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    option.setAlignment(Qt::AlignLeft);
    layout->setTextOption(option);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    line.setLineWidth(UnlimitedWidth);
    line.setPosition(QPointF(0, 0));
    layout->endLayout();
    return layout;
}

}  // namespace

void FittedText::draw(QPainter& painter, const QRectF& box, Qt::Alignment align, const QFont& font, const QString& text)
{
    if (text.isEmpty() || box.width() <= 0)
        return;
    // One line: breaks and tabs become spaces, a carriage return goes.
    QString single = text;
    for (QChar& c : single)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
    single.remove(QLatin1Char('\r'));
    if (single.isEmpty())
        return;

    std::unique_ptr<QTextLayout> layout = layOut(single, font, painter.device());
    double width = layout->lineAt(0).naturalTextWidth();
    if (width > box.width()) {
        QFont smaller = font;
        smaller.setPointSizeF(font.pointSizeF() * std::max(SmallestShrink, box.width() / width * 0.98));
        layout = layOut(single, smaller, painter.device());
        width = layout->lineAt(0).naturalTextWidth();
    }
    const bool tooWide = width > box.width();
    if (tooWide)
        align = Qt::AlignLeft;
    const QTextLine line = layout->lineAt(0);
    const double height = line.ascent() + line.descent();
    const double top = (box.height() - height) / 2;
    auto offset = [&](double advance) {
        if (align & Qt::AlignRight)
            return box.width() - advance;
        if (align & Qt::AlignHCenter)
            return (box.width() - advance) / 2;
        return 0.0;
    };
    // Cut at the box when the text (or its line height) does not fit in it.
    const QRectF bounds(box.x() + offset(width), box.y() + top, width, height);
    const bool clip = tooWide || !box.contains(bounds);
    if (clip) {
        painter.save();
        painter.setClipRect(box, Qt::IntersectClip);
    }
    line.draw(&painter, QPointF(box.x() + offset(line.horizontalAdvance()), box.y() + top));
    if (clip)
        painter.restore();
}

namespace {

constexpr double SmallestWrappedShrink = 0.5;

// The paragraphs laid out in lines of `width`; returns the height they take.
double layOutWrapped(std::vector<std::unique_ptr<QTextLayout>>& layouts, const QStringList& paragraphs, const QFont& font,
                     QPaintDevice* device, double width, Qt::Alignment align)
{
    layouts.clear();
    QFontMetricsF metrics(font, device);
    const double lineHeight = metrics.height() * 1.25;
    double y = 0;
    for (const QString& paragraph : paragraphs) {
        auto layout = std::make_unique<QTextLayout>(paragraph, font, device);
        layout->setCacheEnabled(true);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        option.setAlignment(align & Qt::AlignHorizontal_Mask);
        layout->setTextOption(option);
        layout->beginLayout();
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, y));
            y += lineHeight;
        }
        layout->endLayout();
        layouts.push_back(std::move(layout));
    }
    return y;
}

}  // namespace

bool FittedText::drawWrapped(QPainter& painter, const QRectF& box, Qt::Alignment align, const QFont& font, const QString& text)
{
    QString plain = text;
    plain.remove(QLatin1Char('\r'));
    if (plain.trimmed().isEmpty() || box.width() <= 0 || box.height() <= 0)
        return true;
    const QStringList paragraphs = plain.split(QLatin1Char('\n'));
    std::vector<std::unique_ptr<QTextLayout>> layouts;
    QFont used = font;
    double height = layOutWrapped(layouts, paragraphs, used, painter.device(), box.width(), align);
    // Smaller in steps of 5 % until the text fits or reaches half its size.
    for (double shrink = 0.95; height > box.height() && shrink >= SmallestWrappedShrink - 1e-9; shrink -= 0.05) {
        used.setPointSizeF(font.pointSizeF() * shrink);
        height = layOutWrapped(layouts, paragraphs, used, painter.device(), box.width(), align);
    }
    const bool fits = height <= box.height() + 0.5;
    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    for (const auto& layout : layouts)
        layout->draw(&painter, box.topLeft());
    painter.restore();
    return fits;
}
