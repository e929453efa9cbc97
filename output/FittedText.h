#pragma once
// One line of text fitted into a box on a page: laid out once, and the same layout
// serves to measure it and to draw it. A text too wide for its box is drawn
// smaller, down to 60 % of its size, and whatever is still too wide is cut at the
// box's edge (its start stays visible): it never runs into the next box. The text
// stands where QPainter::drawText(box, align | AlignVCenter | TextSingleLine)
// would put it.

#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

namespace FittedText {
// Several lines in a box: the text wraps at the box's width (Japanese anywhere,
// other words at their ends), each line break of the text starts a new line, lines
// are 1.5 times the point size apart. A text too long for the box's height is
// drawn smaller, down to half its size; what is still too long is cut at the
// box's bottom. Returns whether the whole text fitted.
bool drawWrapped(QPainter& painter, const QRectF& box, Qt::Alignment align, const QFont& font, const QString& text);
void draw(QPainter& painter, const QRectF& box, Qt::Alignment align, const QFont& font, const QString& text);
}
