#include "reports/ScoreChartView.h"

#include "output/ScoreChart.h"
#include "tally/TestTallyText.h"

#include <QPainter>

ScoreChartView::ScoreChartView(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void ScoreChartView::setDistribution(const ScoreDistribution& distribution)
{
    shown = distribution;
    setToolTip(DistributionText::lines(distribution).join(QLatin1Char('\n')));
    update();
}

QSize ScoreChartView::sizeHint() const
{
    const int line = fontMetrics().height();
    return QSize(line * 18, line * 14);
}

QSize ScoreChartView::minimumSizeHint() const
{
    const int line = fontMetrics().height();
    return QSize(line * 13, line * 9);
}

void ScoreChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int margin = fontMetrics().height() / 3;
    ScoreChart::paint(painter, QRectF(rect()).adjusted(margin, margin, -margin, -margin), shown, font(), 1.0);
}
