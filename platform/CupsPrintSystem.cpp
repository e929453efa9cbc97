#include "platform/CupsPrintSystem.h"

#include <cups/cups.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

struct IppDeleter {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using Ipp = std::unique_ptr<ipp_t, IppDeleter>;

QByteArray uriOf(const char* resource, const QByteArray& name)
{
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), resource,
                     name.constData());
    return QByteArray(uri);
}

// An IPP request about a printer or a job, answered with the attributes asked for.
Ipp ask(ipp_op_t operation, const char* uriName, const QByteArray& uri, std::initializer_list<const char*> wanted)
{
    ipp_t* request = ippNewRequest(operation);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, uriName, nullptr, uri.constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    const std::vector<const char*> names(wanted);
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", int(names.size()), nullptr,
                  names.data());
    return Ipp(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"));
}

QStringList stringsOf(ipp_t* response, const char* name)
{
    QStringList values;
    ipp_attribute_t* attribute = response ? ippFindAttribute(response, name, IPP_TAG_ZERO) : nullptr;
    for (int i = 0; attribute && i < ippGetCount(attribute); ++i)
        values << QString::fromUtf8(ippGetString(attribute, i, nullptr));
    return values;
}

int enumOf(ipp_t* response, const char* name)
{
    ipp_attribute_t* attribute = response ? ippFindAttribute(response, name, IPP_TAG_ENUM) : nullptr;
    return attribute ? ippGetInteger(attribute, 0) : 0;
}

PrintSystem::JobState jobStateOf(int value)
{
    switch (value) {
    case IPP_JSTATE_PENDING: return PrintSystem::JobState::Pending;
    case IPP_JSTATE_HELD: return PrintSystem::JobState::Held;
    case IPP_JSTATE_PROCESSING: return PrintSystem::JobState::Processing;
    case IPP_JSTATE_STOPPED: return PrintSystem::JobState::Stopped;
    case IPP_JSTATE_CANCELED: return PrintSystem::JobState::Canceled;
    case IPP_JSTATE_ABORTED: return PrintSystem::JobState::Aborted;
    case IPP_JSTATE_COMPLETED: return PrintSystem::JobState::Completed;
    default: return PrintSystem::JobState::Unknown;
    }
}

// What the system answered to a job it did not take.
PrintSystem::Submission refused()
{
    PrintSystem::Submission result;
    const ipp_status_t status = cupsLastError();
    result.refusal = status == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS ? PrintSystem::Refusal::NotAccepting
        : status == IPP_STATUS_ERROR_NOT_FOUND                    ? PrintSystem::Refusal::NoSuchQueue
                                                                  : PrintSystem::Refusal::Failed;
    result.detail = QString::fromUtf8(cupsLastErrorString());
    return result;
}

}  // namespace

QList<PrintQueue> CupsPrintSystem::queues()
{
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    QList<PrintQueue> found;
    for (int i = 0; i < count; ++i) {
        const cups_dest_t& dest = dests[i];
        if (dest.instance)  // a set of options of a queue listed already
            continue;
        PrintQueue queue;
        queue.name = QString::fromUtf8(dest.name);
        queue.description = QString::fromUtf8(cupsGetOption("printer-info", dest.num_options, dest.options));
        queue.isDefault = dest.is_default != 0;
        found.append(queue);
    }
    cupsFreeDests(count, dests);
    return found;
}

QStringList CupsPrintSystem::papers(const QString& queue)
{
    Ipp response = ask(IPP_OP_GET_PRINTER_ATTRIBUTES, "printer-uri", uriOf("/printers/%s", queue.toUtf8()),
                       {"media-supported"});
    return stringsOf(response.get(), "media-supported");
}

PrintSystem::Submission CupsPrintSystem::submit(const PrintRequest& request)
{
    const QByteArray queue = request.queue.toUtf8();
    const QByteArray title = request.title.toUtf8();
    cups_option_t* options = nullptr;
    int count = 0;
    if (request.copies > 1) {
        count = cupsAddOption("copies", QByteArray::number(request.copies).constData(), count, &options);
        count = cupsAddOption("collate", "true", count, &options);
    }
    if (!request.media.isEmpty())
        count = cupsAddOption("media", request.media.toUtf8().constData(), count, &options);
    const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, queue.constData(), title.constData(), count, options);
    cupsFreeOptions(count, options);
    if (job <= 0)
        return refused();

    bool sent = cupsStartDocument(CUPS_HTTP_DEFAULT, queue.constData(), job, title.constData(), CUPS_FORMAT_PDF, 1)
        == HTTP_STATUS_CONTINUE;
    constexpr qsizetype Chunk = 64 * 1024;
    for (qsizetype at = 0; sent && at < request.pdf.size(); at += Chunk) {
        const size_t length = size_t(std::min(Chunk, request.pdf.size() - at));
        sent = cupsWriteRequestData(CUPS_HTTP_DEFAULT, request.pdf.constData() + at, length) == HTTP_STATUS_CONTINUE;
    }
    // The document is finished even after a failed write, so that the connection is
    // free for the next request.
    const bool finished = cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.constData()) == IPP_STATUS_OK;
    if (sent && finished)
        return {job, Refusal::None, {}};
    Submission failed = refused();
    cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.constData(), job, 0);
    return failed;
}

PrintSystem::JobStatus CupsPrintSystem::status(const QString& queue, int job)
{
    JobStatus result;
    if (job > 0) {
            Ipp jobAnswer = ask(IPP_OP_GET_JOB_ATTRIBUTES, "job-uri", uriOf("/jobs/%s", QByteArray::number(job)),
                            {"job-state", "job-state-reasons"});
        result.state = jobStateOf(enumOf(jobAnswer.get(), "job-state"));
        result.reasons = stringsOf(jobAnswer.get(), "job-state-reasons");
    }
    Ipp printerAnswer = ask(IPP_OP_GET_PRINTER_ATTRIBUTES, "printer-uri", uriOf("/printers/%s", queue.toUtf8()),
                            {"printer-state", "printer-state-message"});
    result.printerStopped = enumOf(printerAnswer.get(), "printer-state") == IPP_PSTATE_STOPPED;
    result.printerMessage = stringsOf(printerAnswer.get(), "printer-state-message").value(0);
    return result;
}

bool CupsPrintSystem::cancel(const QString& queue, int job)
{
    return cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.toUtf8().constData(), job, 0) == IPP_STATUS_OK;
}
