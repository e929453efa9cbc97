#pragma once
// The floor of the end-of-term pack: the same 416 PDFs of the same sheets, pages and
// fonts, painted by a bare QPdfWriter loop in one thread: texts drawn with
// QPainter::drawText straight into files, with no fitting, no text repair, no
// temporary files and no threads. The sheets are built and the layouts read
// beforehand; paint() is what is timed.

#include "model/ClassData.h"
#include "output/ReportLayout.h"
#include "tally/ReportSheet.h"

#include <QList>
#include <QString>
#include <memory>

class PackFloor {
public:
    // The pack's sheets of `data` (a homeroom class), and the layouts in `layoutFolder`.
    PackFloor(ClassData data, const QString& layoutFolder);
    // Writes every file into `folder`.
    void paint(const QString& folder) const;
    int files() const { return int(documents.size()); }
    int pages() const;

private:
    struct Document {
        QString name;
        std::shared_ptr<const ReportLayout> layout;
        ReportSheet sheet;
    };
    QList<Document> documents;
};
