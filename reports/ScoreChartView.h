#pragma once
// The chart of a test's score distribution on screen, painted by the same routine
// as the printed sheet (output/ScoreChart.h). Its tooltip reads the bars out.

#include "tally/ScoreDistribution.h"

#include <QWidget>

class ScoreChartView : public QWidget {
    Q_OBJECT
public:
    explicit ScoreChartView(QWidget* parent = nullptr);

    void setDistribution(const ScoreDistribution& distribution);
    const ScoreDistribution& distribution() const { return shown; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ScoreDistribution shown;
};
