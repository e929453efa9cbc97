#pragma once
// The bar chart of a test's score distribution, painted with any QPainter into a
// rectangle: the per-test tally window paints it on screen, the report renderer
// on paper, so both show the same picture.
//
// Ten bars, one per bin, with the count above each bar that has pupils; the bin
// edges 0, 10, … 100 under them, 0 at the left in every order; the class average
// as a dashed line with "平均 64.4" above it; and under everything how many pupils
// are in the chart and how many were absent and left out (the texts from
// tally/TestTallyText.h, DistributionText).

#include "tally/ScoreDistribution.h"

#include <QColor>
#include <QFont>
#include <QRectF>

class QPainter;

namespace ScoreChart {
// Paints into `area` (the painter's coordinates) with texts in `font` and lines
// `lineWidth` wide; with a caption, framed and the caption at its top (on paper,
// where no group box holds it).
void paint(QPainter& painter, const QRectF& area, const ScoreDistribution& distribution, const QFont& font,
           double lineWidth, const QString& caption = {});
// The fill of the bars (tests find the bars by it).
QColor barColor();
}
