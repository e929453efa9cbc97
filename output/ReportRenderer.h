#pragma once
// The report renderer: reads a layout file (".rpt") and a sheet, and paints the
// pages with QPainter on any paint device (preview, printer, PDF, image).
//
// Layout format (UTF-8 text, one statement per line, '#' starts a comment line;
// lengths in millimetres, relative to the top-left corner of the printable area
// inside the margins; text in double quotes, where {Field} is replaced by the value
// of that "Titles" field, {page} by the page number and {pages} by the page count):
//
//   paper A4|B5|A3                        paper size (default A4)
//   orientation portrait|landscape        (default portrait)
//   margins <left> <top> <right> <bottom> (default 15 15 15 15)
//   font "<family>" <points>              body font (default "IPAexGothic" 9)
//   text <x> <y> <width> <align> <points> [bold] "<template>"
//                                         a text drawn on every page; align is
//                                         left|center|right
//   box <x> <y> <width> <height>          a rectangle drawn on every page
//   table <y>                             top of the table on every page
//   row <height>                          height of one table row (default 6)
//   column <Field> <width> <align> "<heading template>"
//                                         one column per "Datas" field, left to right
//   headings on|off|first-row             on: a heading row from the column
//                                         templates; first-row: the first "Datas"
//                                         row is the heading row; either way the
//                                         heading row is repeated on every page
//   footer <align> "<template>"           drawn under the table area on every page
//
// Rows that do not fit on a page continue on the next, under the heading row again.
// Several sheets of one layout may be painted one after another (every pupil's
// sheet in one document): each starts on a new page, and its {page} and {pages}
// count its own pages.
//
// Details and additions, none of which changes the statements above:
// - Paper sizes also B4, A5 and Letter; B5 and B4 are the Japanese (JIS) sizes.
// - A "text" takes, after its points, the words "bold", "mincho" (the family
//   "IPAexMincho") or "gothic" ("IPAexGothic") in any order; without them it uses
//   the body font. Its line is 1.5 times the point size high, the text centred in it.
// - "table <y> <x>" sets the left edge of the table as well (default 0).
// - "column" may leave out the heading template (an empty heading).
// - "line <x1> <y1> <x2> <y2>" draws a line on every page.
// - "grid on|off": the table's cell lines (default on); "padding <mm>": the space
//   between a cell's text and its left and right lines (default 1).
// - Field names are compared without regard to case ("Datas1" finds "datas1"), and
//   so are the statement names and their words (A4, left, on); the font family
//   may also be written without quotes.
// - A "" inside a quoted template stands for one double quote.
// - A cell text too wide for its cell is drawn smaller, down to 60 % of the size,
//   and anything still too wide is cut at the cell's edge: it never runs into the
//   next cell. The same holds for a "text" inside its width.
// - The heading row is shaded light grey; the table's outline and the line under
//   the heading row are drawn thicker than the inner lines.
// - The footer is drawn in the body font at the bottom of the printable area; the
//   table stops above it.
// - A {Field} may also name a page field of the sheet (ReportSheet): printed, but
//   held in no store.
// - "chart <x> <y> <width> <height> [<points>] ["<caption>"]" places the chart of
//   the scores of a sheet that carries one (output/ScoreChart.h), on the sheet's
//   first page only, framed under its caption when it has one; its texts are in
//   the body font at <points> (7 when not given).
//
// The renderer builds its fonts once for its layout and draws a page's grid lines
// in one pass with one pen; it is used by one thread at a time, and renderers in
// several threads may share one layout.

#include "model/Status.h"
#include "output/ReportLayout.h"
#include "tally/ReportSheet.h"

#include <QList>
#include <QString>
#include <memory>

class QPagedPaintDevice;
class QPainter;
class QPrinter;

class ReportRenderer {
public:
    ReportRenderer();
    ~ReportRenderer();

    // Reads the layout; fails naming the file and the line of a statement it cannot use.
    Status loadLayout(const QString& layoutPath);
    // Reads a layout from text; `displayName` names it in messages (see ReportLayout).
    Status parseLayout(const QString& text, const QString& displayName);
    // Takes a layout already read (ReportLayout::read), which other renderers may share.
    void setLayout(std::shared_ptr<const ReportLayout> layout);
    bool hasLayout() const { return layout != nullptr; }
    void setSheet(const ReportSheet& sheet);
    // Sheets painted one after another, each from a new page.
    void setSheets(const QList<ReportSheet>& sheets);
    // Checks the layout against the sheets: every {Field} of a template must be a
    // "Titles" field and every column a "Datas" field. Fails naming the layout's line.
    Status checkSheet() const;

    // Turns the page to `wanted` when everything on it fits the turned paper
    // (ReportLayout::turnedTo); false, and the page as it was, otherwise.
    bool turnTo(QPageLayout::Orientation wanted);
    // Sets paper size and orientation of the printer from the layout.
    void preparePrinter(QPrinter& printer) const;
    // Paints every page on the printer (new pages with printer.newPage()). Fails
    // when the printer cannot be painted on. A PDF file is made by PdfWriter instead.
    Status paint(QPrinter& printer) const;
    // The layout's paper without margins (A4 portrait before a layout is read).
    QPageLayout pageLayout() const;
    // Paints every page on a device that shows the whole paper at `dotsPerMm`.
    void paintPages(QPainter& painter, QPagedPaintDevice& device, double dotsPerMm) const;
    // Paints page `page` (1-based) with the painter, whose device shows the whole
    // paper at `dotsPerMm` (for images and tests).
    void paintPage(QPainter& painter, int page, double dotsPerMm) const;
    // Pages the sheets take on the layout's paper.
    int pageCount() const;
    // The pages of each sheet, in order.
    QList<int> pagesPerSheet() const;

private:
    struct Fonts;
    const Fonts& fonts() const;
    Status checkSheet(const ReportSheet& sheet) const;
    int pageCountOf(const ReportSheet& sheet) const;
    void paintSheetPage(QPainter& painter, const ReportSheet& sheet, int page, int pages, double dotsPerMm) const;
    void paintTable(QPainter& painter, const ReportSheet& sheet, int page, int pages, double dotsPerMm) const;

    std::shared_ptr<const ReportLayout> layout;
    QList<ReportSheet> sheets{ReportSheet()};
    mutable std::unique_ptr<Fonts> fontSet;  // built at the first page
};
