#include "output/ReportCardFiles.h"

#include "output/CsvWriter.h"
#include "output/OutputFile.h"
#include "output/PdfBatch.h"
#include "output/ReportLayout.h"

#include <QDir>
#include <memory>

namespace ReportCardFiles {

QStringList paths(const QList<ReportCard::Card>& cards, int term, const Request& request)
{
    const QDir dir(request.folder);
    QStringList result;
    if (cards.isEmpty())
        return result;
    if (request.oneFile) {
        result.append(dir.filePath(ReportCardSheet::classFileName(cards.first(), QStringLiteral("pdf"))));
    } else {
        for (const ReportCard::Card& card : cards)
            result.append(dir.filePath(ReportCardSheet::pupilFileName(card)));
    }
    if (term == ReportCard::Year)
        result.append(dir.filePath(ReportCardSheet::classFileName(cards.first(), QStringLiteral("csv"))));
    return result;
}

Status stage(const QList<ReportCard::Card>& cards, const ReportCardSheet::Heading& heading, const Request& request,
             OutputBatch& batch)
{
    if (cards.isEmpty())
        return Status::failure(QStringLiteral("児童がいないので、通知表を作れません。"));
    const int term = cards.first().term;
    auto layout = std::make_shared<ReportLayout>();
    const QString stem = ReportCardSheet::stem(term, heading.paper);
    if (Status read = ReportLayout::read(QDir(request.layoutFolder).filePath(stem + QStringLiteral(".rpt")), *layout); !read)
        return read;
    const QStringList names = paths(cards, term, request);
    const auto shared = std::make_shared<const QList<ReportCard::Card>>(cards);
    QList<PdfJob> jobs;
    if (request.oneFile) {
        jobs.append({names.first(), layout, [shared, heading] { return ReportCardSheet::sheets(*shared, heading); }});
    } else {
        for (qsizetype i = 0; i < cards.size(); ++i)
            jobs.append({names[i], layout, [shared, heading, i] {
                             return QList<ReportSheet>{ReportCardSheet::sheet(shared->at(i), heading)};
                         }});
    }
    if (Status staged = PdfBatch::stage(jobs, batch, request.threads); !staged)
        return staged;
    if (term == ReportCard::Year)
        return batch.write(names.last(), CsvWriter::build(ReportCardSheet::classRecord(cards, heading)));
    return Status::success();
}

}  // namespace ReportCardFiles
