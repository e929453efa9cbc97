#include "output/SystemPrint.h"

#include "output/PdfWriter.h"
#include "output/PrintConfirmDialog.h"
#include "output/PrintJobTitle.h"
#include "output/ReportRenderer.h"
#include "platform/Ui.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace {

QString joined(const QString& first, const QString& second)
{
    return first.isEmpty() ? second : second.isEmpty() ? first : first + QLatin1Char(' ') + second;
}

QString sheetLabel(const ReportSheet& sheet, int index)
{
    const QString name = sheet.fieldValue(QStringLiteral("Name")).value_or(QString()).simplified();
    return name.isEmpty() ? QStringLiteral("%1枚目").arg(index + 1) : name;
}

QString printerSays(const QString& message)
{
    return message.isEmpty() ? QString() : QStringLiteral("\nプリンタの知らせ：%1").arg(message);
}

QString refusalText(const QString& queue, const PrintSystem::Submission& sent, const QString& printerMessage)
{
    switch (sent.refusal) {
    case PrintSystem::Refusal::NotAccepting:
        return QStringLiteral("プリンタ「%1」は今、印刷を受け付けていません（受け付けが止められています）。").arg(queue)
            + printerSays(printerMessage);
    case PrintSystem::Refusal::NoSuchQueue:
        return QStringLiteral("プリンタ「%1」が見つかりません（削除されたか、名前が変わりました）。").arg(queue);
    case PrintSystem::Refusal::Failed:
    case PrintSystem::Refusal::None:
        break;
    }
    return QStringLiteral("プリンタ「%1」に印刷を渡せませんでした（%2）。").arg(queue, sent.detail) + printerSays(printerMessage);
}

// Why a job the system took will not print now; empty while nothing is wrong.
QString jobProblem(const QString& queue, const QString& title, const PrintSystem::JobStatus& status)
{
    using State = PrintSystem::JobState;
    QString text;
    switch (status.state) {
    case State::Pending:
        if (status.printerStopped)
            text = QStringLiteral("プリンタ「%1」が一時停止しているため、「%2」はまだ印刷されていません。"
                                  "プリンタが再開されると印刷されます。")
                       .arg(queue, title);
        break;
    case State::Held:
        text = QStringLiteral("「%2」はプリンタ「%1」で保留されていて、まだ印刷されていません（%3）。")
                   .arg(queue, title,
                        status.reasons.contains(QStringLiteral("job-hold-until-specified"))
                            ? QStringLiteral("保留するように設定されています")
                            : QStringLiteral("印刷システムが保留しました"));
        break;
    case State::Stopped:
        text = QStringLiteral("プリンタ「%1」で「%2」の印刷が止まりました。").arg(queue, title);
        break;
    case State::Canceled:
        text = QStringLiteral("プリンタ「%1」で「%2」の印刷が取り消されました。").arg(queue, title);
        break;
    case State::Aborted:
        text = QStringLiteral("印刷システムが、プリンタ「%1」での「%2」の印刷を中止しました。").arg(queue, title);
        break;
    case State::Unknown:
    case State::Processing:
    case State::Completed:
        break;
    }
    return text.isEmpty() ? text : text + printerSays(status.printerMessage);
}

}  // namespace

SystemPrint::SystemPrint(Ui& ui, PrintSystem& system, const PrintChoice& choice, Hooks hooks)
    : ui(ui), system(system), choice(choice), hooks(std::move(hooks))
{
}

Status SystemPrint::print(QWidget* owner, ReportRenderer& engine, const QList<ReportSheet>& sheets,
                          const QString& fallbackTitle, const QList<PrintQueue>& queues)
{
    const PrintTarget target = resolvePrintTarget(choice.printer, queues);
    Job job;
    job.queue = target.queue;
    job.title = PrintJobTitle::of(sheets, int(sheets.size()), fallbackTitle);
    job.copies = choice.copies;
    job.notes = joined(target.note, applyOrientation(engine));
    job.pages = engine.pageCount();
    if (target.queue.isEmpty()) {
        if (Status rendered = render(engine, job); !rendered)
            return rendered;
        return offerPdf(owner, job,
                        target.problem + QStringLiteral("\nメニューの「ﾌｧｲﾙ」→「プリンタの設定」でプリンタを選んでください。"), 0);
    }
    if ((sheets.size() > 1 || job.pages > ConfirmAbovePages) && !confirm(owner, engine, sheets, job))
        return Status::success();
    if (Status rendered = render(engine, job); !rendered)
        return rendered;

    PrintSystem::Submission sent;
    QString problem;
    bool waiting = false;
    bool completed = false;
    {
        BusyCursor busy(ui);
        sent = system.submit({job.queue, job.title, job.copies, job.media, job.pdf});
        if (sent.job <= 0)
            problem = refusalText(job.queue, sent, system.status(job.queue, 0).printerMessage);
        else
            problem = watch(job, sent.job, waiting, completed);
    }
    if (!problem.isEmpty())
        return offerPdf(owner, job, problem, waiting ? sent.job : 0);
    reportSent(job, completed);
    return Status::success();
}

QString SystemPrint::applyOrientation(ReportRenderer& engine) const
{
    const QPageLayout::Orientation own = engine.pageLayout().orientation();
    const QPageLayout::Orientation wanted = choice.orientationFor(own);
    if (wanted == own || engine.turnTo(wanted))
        return {};
    return wanted == QPageLayout::Landscape ? QStringLiteral("この一覧表は横に収まらないため、縦で印刷しました。")
                                            : QStringLiteral("この一覧表は縦に収まらないため、横で印刷しました。");
}

bool SystemPrint::confirm(QWidget* owner, ReportRenderer& engine, const QList<ReportSheet>& sheets, Job& job)
{
    QStringList labels;
    for (int i = 0; i < sheets.size(); ++i)
        labels << sheetLabel(sheets[i], i);
    PrintConfirmDialog dialog(job.title, job.queue, labels, engine.pagesPerSheet(), job.copies, owner);
    if (ui.runModal(dialog) != QDialog::Accepted || dialog.chosenSheets().isEmpty())
        return false;
    QList<ReportSheet> chosen;
    for (int index : dialog.chosenSheets())
        chosen.append(sheets[index]);
    if (chosen.size() != sheets.size()) {
        engine.setSheets(chosen);
        job.title = PrintJobTitle::of(chosen, int(sheets.size()), job.title);
    }
    job.copies = dialog.copies();
    job.pages = engine.pageCount();
    return true;
}

// The paper of プリンタの設定 where it differs from the sheet's own and the printer
// takes it (the choice may have been made for another printer). The print system
// is told the paper the document is on, by the printer's own name for it.
Status SystemPrint::render(const ReportRenderer& engine, Job& job) const
{
    BusyCursor busy(ui);
    const QStringList taken = system.papers(job.queue);
    const auto mediaOf = [&taken](QPageSize::PageSizeId id) {
        const QString own = PrintPapers::queueNameOf(id, taken);
        return own.isEmpty() ? PrintPapers::byId(id).value_or(PrintPapers::Paper{}).pwg : own;
    };
    const QPageSize own = engine.pageLayout().pageSize();
    std::optional<PrintPapers::Paper> chosen = PrintPapers::byName(choice.paper);
    if (chosen && !taken.isEmpty() && PrintPapers::queueNameOf(chosen->id, taken).isEmpty())
        chosen.reset();
    if (chosen && chosen->id != own.id()) {
        job.media = mediaOf(chosen->id);
        return PdfWriter::render(engine, QPageSize(chosen->id), job.title, job.pdf);
    }
    job.media = mediaOf(own.id());
    return PdfWriter::render(engine, job.title, job.pdf);
}

QString SystemPrint::watch(const Job& job, int jobNumber, bool& waiting, bool& completed)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const PrintSystem::JobStatus status = system.status(job.queue, jobNumber);
        if (status.state == PrintSystem::JobState::Completed) {
            completed = true;
            return {};
        }
        const QString problem = jobProblem(job.queue, job.title, status);
        if (!problem.isEmpty()) {
            waiting = status.state == PrintSystem::JobState::Pending || status.state == PrintSystem::JobState::Held;
            return problem;
        }
        if (clock.elapsed() >= WatchMilliseconds)
            return {};
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(100);
    }
}

void SystemPrint::reportSent(const Job& job, bool completed)
{
    QString text = completed ? QStringLiteral("「%1」をプリンタ「%2」で印刷しました（%3ページ")
                             : QStringLiteral("「%1」をプリンタ「%2」に送りました（%3ページ");
    text = text.arg(job.title, job.queue).arg(job.pages);
    if (job.copies > 1)
        text += QStringLiteral("、%1部").arg(job.copies);
    text += QStringLiteral("）。");
    if (hooks.statusLine)
        hooks.statusLine(joined(text, job.notes));
}

Status SystemPrint::offerPdf(QWidget* owner, const Job& job, const QString& why, int waitingJob)
{
    if (hooks.statusLine)
        hooks.statusLine(QStringLiteral("「%1」は印刷されていません。").arg(job.title));
    const QString way = waitingJob > 0
        ? QStringLiteral("「PDFとして保存」を選ぶと、待っている印刷を取り消して、同じ一覧表をPDFファイルに保存します。")
        : QStringLiteral("同じ一覧表を、PDFファイルとして保存できます。");
    const int answer = ui.ask(owner, why + QStringLiteral("\n\n") + way,
                              {QStringLiteral("PDFとして保存"), QStringLiteral("閉じる")}, 0, 1, Ui::Icon::Warning);
    if (answer != 0)
        return Status::success();
    if (waitingJob > 0)
        system.cancel(job.queue, waitingJob);
    return hooks.savePdf ? hooks.savePdf(owner, job.pdf, job.title) : Status::success();
}
