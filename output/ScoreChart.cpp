#include "output/ScoreChart.h"

#include "tally/TestTallyText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace {

// Mid grey-blue bars print as a mid grey on a black-and-white printer; the
// average line is dark enough to stand out in either.
const QColor BarFill(132, 160, 204);
const QColor BarEdge(52, 72, 110);
const QColor AverageLine(170, 30, 30);
const QColor AxisLine(Qt::black);
// The tick marks under the axis, in text lines.
constexpr double TickLength = 0.25;

// Where the parts of the chart lie inside its area.
struct Frame {
    QRectF averageBand;  // the average's label
    QRectF plot;         // the bars, their counts above them
    QRectF axisBand;     // the bin edges
    QRectF countsBand;   // "人数 … 欠席 …"
    double line = 0;     // a text line's height
};

Frame frameOf(const QRectF& area, const QFontMetricsF& metrics)
{
    Frame f;
    f.line = metrics.height();
    const double side = metrics.horizontalAdvance(QStringLiteral("100")) / 2 + f.line * 0.2;
    const double left = area.left() + side;
    const double width = std::max(0.0, area.width() - 2 * side);
    f.averageBand = QRectF(area.left(), area.top(), area.width(), f.line);
    f.countsBand = QRectF(area.left(), area.bottom() - f.line, area.width(), f.line);
    // The bin edges' numbers sit under the tick marks, never on them.
    f.axisBand = QRectF(left, f.countsBand.top() - f.line * (1.1 + TickLength), width, f.line * (1 + TickLength));
    f.plot = QRectF(left, f.averageBand.bottom() + f.line * 0.2, width,
                    std::max(0.0, f.axisBand.top() - f.averageBand.bottom() - f.line * 0.2));
    return f;
}

// The x of a percentage on the plot: 0 at the left in every order of the list, as
// a reader expects an axis to run.
double xOf(const Frame& f, double percent)
{
    const double share = qBound(0.0, percent, 100.0) / 100.0;
    return f.plot.left() + share * f.plot.width();
}

void drawBars(QPainter& painter, const Frame& f, const ScoreDistribution& d, double lineWidth)
{
    const int top = std::max(1, d.largest());
    // Room above the highest bar for its count.
    const double reach = std::max(0.0, f.plot.height() - f.line * 1.1);
    const double slot = f.plot.width() / ScoreDistribution::Bins;
    QPen edge(BarEdge);
    edge.setWidthF(lineWidth);
    for (int bin = 0; bin < ScoreDistribution::Bins; ++bin) {
        const int count = d.counts[bin];
        if (count == 0)
            continue;
        const double left = std::min(xOf(f, bin * 10.0), xOf(f, bin * 10.0 + 10.0));
        const double height = reach * count / top;
        const QRectF bar(left + slot * 0.12, f.plot.bottom() - height, slot * 0.76, height);
        painter.setPen(edge);
        painter.setBrush(BarFill);
        painter.drawRect(bar);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(left, bar.top() - f.line * 1.05, slot, f.line), Qt::AlignHCenter | Qt::AlignBottom,
                         QString::number(count));
    }
}

void drawAxis(QPainter& painter, const Frame& f, const QFontMetricsF& metrics,
              double lineWidth)
{
    QPen axis(AxisLine);
    axis.setWidthF(lineWidth);
    painter.setPen(axis);
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(QPointF(f.plot.left(), f.plot.bottom()), QPointF(f.plot.right(), f.plot.bottom()));
    // Every edge is labelled when the labels fit side by side, else every other one.
    const double slot = f.plot.width() / ScoreDistribution::Bins;
    const int step = metrics.horizontalAdvance(QStringLiteral("100")) * 1.15 <= slot ? 1 : 2;
    for (int edge = 0; edge <= ScoreDistribution::Bins; ++edge) {
        const double x = xOf(f, edge * 10.0);
        painter.drawLine(QPointF(x, f.plot.bottom()), QPointF(x, f.plot.bottom() + f.line * TickLength));
        if (edge % step != 0)
            continue;
        const QString label = QString::number(edge * 10);
        const double width = metrics.horizontalAdvance(label);
        painter.drawText(QRectF(x - width, f.axisBand.bottom() - f.line, width * 2, f.line), Qt::AlignHCenter | Qt::AlignBottom,
                         label);
    }
}

void drawAverage(QPainter& painter, const Frame& f, const ScoreDistribution& d, const QFontMetricsF& metrics,
                 double lineWidth)
{
    if (!d.average.hasValue())
        return;
    const double x = xOf(f, d.average.value);
    QPen dashed(AverageLine);
    dashed.setWidthF(lineWidth * 1.6);
    dashed.setStyle(Qt::DashLine);
    painter.setPen(dashed);
    painter.drawLine(QPointF(x, f.averageBand.bottom()), QPointF(x, f.plot.bottom()));
    // The label sits over the line, kept inside the chart.
    const QString label = DistributionText::average(d);
    const double width = metrics.horizontalAdvance(label) + f.line * 0.2;
    const double left = qBound(f.averageBand.left(), x - width / 2, f.averageBand.right() - width);
    painter.setPen(AverageLine);
    painter.drawText(QRectF(left, f.averageBand.top(), width, f.line), Qt::AlignCenter, label);
}

}  // namespace

QColor ScoreChart::barColor()
{
    return BarFill;
}


void ScoreChart::paint(QPainter& painter, const QRectF& whole, const ScoreDistribution& distribution, const QFont& font,
                       double lineWidth, const QString& caption)
{
    if (whole.width() <= 0 || whole.height() <= 0)
        return;
    painter.save();
    painter.setClipRect(whole, Qt::IntersectClip);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    QRectF area = whole;
    if (!caption.isEmpty()) {
        QPen frame(AxisLine);
        frame.setWidthF(lineWidth * 2);
        painter.setPen(frame);
        painter.setBrush(Qt::NoBrush);
        const double half = lineWidth;
        painter.drawRect(whole.adjusted(half, half, -half, -half));
        const double inset = metrics.height() * 0.3;
        area = whole.adjusted(inset, inset, -inset, -inset);
        QFont bold = font;
        bold.setBold(true);
        painter.setFont(bold);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(area.left(), area.top(), area.width(), metrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         caption);
        painter.setFont(font);
        area.setTop(area.top() + metrics.height() * 1.1);
    }
    const Frame f = frameOf(area, metrics);

    drawAxis(painter, f, metrics, lineWidth);
    if (distribution.counted > 0) {
        drawBars(painter, f, distribution, lineWidth);
        drawAverage(painter, f, distribution, metrics, lineWidth);
    } else {
        painter.setPen(Qt::black);
        painter.drawText(f.plot, Qt::AlignCenter, QStringLiteral("点数の入った児童がいません"));
    }
    painter.setPen(Qt::black);
    painter.drawText(f.countsBand, Qt::AlignCenter, DistributionText::counts(distribution));
    painter.restore();
}
