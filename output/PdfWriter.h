#pragma once
// The one way the program and kazane-export make a PDF file of a sheet: the pages
// are painted into a PDF document in memory, its text is put right there (see
// PdfTextRepair: Qt would name some kanji by the radical of the same shape), and
// the document is written once, whole or not at all (see OutputFile). Nothing is
// patched in a file after it was written. Documents may be rendered in several
// threads at once, each with a renderer of its own.

#include "model/Status.h"
#include "tally/ReportSheet.h"

#include <QByteArray>
#include <QList>
#include <QPageSize>
#include <memory>

class ReportRenderer;
struct ReportLayout;

namespace PdfWriter {
// The PDF document of a renderer that holds its layout and sheet; `title` becomes
// the document's title.
Status render(const ReportRenderer& renderer, const QString& title, QByteArray& pdf);
// The same on another paper: each page of the layout is drawn as large as the
// paper (turned as the layout's page) allows, centred on it.
Status render(const ReportRenderer& renderer, const QPageSize& paper, const QString& title, QByteArray& pdf);
// The same from a sheet and the layout file it is printed with.
Status render(const ReportSheet& sheet, const QString& layoutPath, const QString& title, QByteArray& pdf);
// One document of sheets printed with a layout already read, one after another
// (each from a new page).
Status render(const QList<ReportSheet>& sheets, std::shared_ptr<const ReportLayout> layout, const QString& title,
              QByteArray& pdf);
// Renders and writes the file.
Status write(const ReportRenderer& renderer, const QString& pdfPath, const QString& title);
// The sheets of kazane-export carry no document title.
Status write(const ReportSheet& sheet, const QString& layoutPath, const QString& pdfPath);
}
