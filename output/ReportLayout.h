#pragma once
// A report layout as read from its ".rpt" file (the format is described in
// ReportRenderer.h): paper, margins, fonts, the texts, boxes and lines drawn on
// every page, the table with its columns, and the chart of the scores. Lengths are millimetres from the
// top-left corner of the printable area inside the margins.

#include "model/Status.h"

#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>
#include <QString>
#include <optional>

struct ReportLayout {
    static constexpr double PointInMm = 25.4 / 72.0;
    static constexpr double LineFactor = 1.5;  // a text line is 1.5 times its point size high

    QString name;  // the file name, for messages
    QPageSize::PageSizeId paper = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    double left = 15, top = 15, right = 15, bottom = 15;
    QString family;
    double points = 9;
    double padding = 1;
    bool grid = true;

    struct Text {
        int line = 0;
        double x = 0, y = 0, width = 0;
        Qt::Alignment align = Qt::AlignLeft;
        double points = 9;
        bool bold = false;
        QString family;  // empty: the body font
        QString templ;
    };
    struct Rect {
        double x = 0, y = 0, width = 0, height = 0;
    };
    struct Line {
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    };
    struct Column {
        int line = 0;
        QString field;
        double width = 0;
        Qt::Alignment align = Qt::AlignLeft;
        QString heading;
    };
    struct Chart {
        int line = 0;
        double x = 0, y = 0, width = 0, height = 0;
        double points = 7;  // the size of its texts
        QString caption;    // drawn at its top inside a frame, when given
    };
    enum class Headings { On, Off, FirstRow };

    QList<Text> texts;
    QList<Rect> boxes;
    QList<Line> lines;
    bool hasTable = false;
    int tableLine = 0;
    double tableY = 0, tableX = 0;
    double rowHeight = 6;
    QList<Column> columns;
    Headings headings = Headings::On;
    bool hasFooter = false;
    int footerLine = 0;
    Qt::Alignment footerAlign = Qt::AlignHCenter;
    QString footer;
    bool hasChart = false;
    Chart chart;

    // Reads a layout from its text; fails naming `displayName` and the line of a
    // statement it cannot use, or saying what does not fit on the paper.
    static Status parse(const QString& text, const QString& displayName, ReportLayout& layout);
    // Reads and parses a layout file; fails also when it is missing or cannot be read.
    static Status read(const QString& path, ReportLayout& layout);

    // The body font when the layout names none.
    static QString defaultFamily();
    // The family "mincho" stands for.
    static QString minchoFamily();

    QSizeF paperMm() const;
    // The page as a printer or a PDF writer takes it: the paper, no margins.
    QPageLayout pageLayout() const;
    double contentWidth() const { return paperMm().width() - left - right; }
    double contentHeight() const { return paperMm().height() - top - bottom; }
    double footerHeight() const { return hasFooter ? points * PointInMm * LineFactor + 1.0 : 0.0; }
    double tableWidth() const;
    // Data rows per page below the heading row.
    int rowsPerPage() const;
    // Whether everything drawn (texts, boxes, lines, the chart, the table's columns
    // and at least one of its rows under the heading) lies inside the margins.
    bool fitsPaper() const;
    // The same layout on the paper turned to `wanted`, when all of it fits there.
    std::optional<ReportLayout> turnedTo(QPageLayout::Orientation wanted) const;
    // "印刷のレイアウトファイル「…」の3行目が読めません。" followed by why.
    QString lineMessage(int line, const QString& why) const;
};
