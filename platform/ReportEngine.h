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

#include "core/Status.h"
#include "platform/ReportSheet.h"

#include <QString>
#include <memory>

class QPagedPaintDevice;
class QPrinter;

class ReportEngine {
public:
    ReportEngine();
    ~ReportEngine();

    // Reads the layout; fails naming the file and the line of a statement it cannot use.
    Status loadLayout(const QString& layoutPath);
    void setSheet(const ReportSheet& sheet);

    // Sets paper size and orientation of the printer from the layout.
    void preparePrinter(QPrinter& printer) const;
    // Paints every page on the printer (new pages with printer.newPage()).
    void paint(QPrinter& printer) const;
    // Pages the sheet takes on the layout's paper.
    int pageCount() const;

private:
    struct Layout;
    std::unique_ptr<Layout> layout;
    ReportSheet sheet;
};
