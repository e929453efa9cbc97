#include "PrivateCups.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include <cups/cups.h>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

const QString Daemon = QStringLiteral("/usr/sbin/cupsd");
const QString PdfBackend = QStringLiteral("/usr/lib/cups/backend/cups-pdf");
const QString PdfModel = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");

bool writeText(const QString& file, const QString& text)
{
    QFile out(file);
    return out.open(QIODevice::WriteOnly) && out.write(text.toUtf8()) >= 0;
}

QString pdfinfo(const QString& pdf, const QString& key)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    if (!info.waitForFinished(30000) || info.exitCode() != 0)
        return {};
    const QStringList lines = QString::fromUtf8(info.readAllStandardOutput()).split(QLatin1Char('\n'));
    for (const QString& line : lines)
        if (line.startsWith(key + QLatin1Char(':')))
            return line.mid(key.size() + 1).trimmed();
    return {};
}

}  // namespace

PrivateCups::PrivateCups()
{
    // The filters run as the user lp: they must reach the spool inside.
    QFile::setPermissions(root.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                           | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
                                           | QFileDevice::ExeOther);
}

PrivateCups::~PrivateCups()
{
    if (daemon.state() != QProcess::NotRunning) {
        daemon.terminate();
        if (!daemon.waitForFinished(5000))
            daemon.kill();
        daemon.waitForFinished(2000);
    }
}

QString PrivateCups::path(const QString& name) const
{
    return root.filePath(name);
}

void PrivateCups::writeConfiguration() const
{
    for (const char* folder : {"etc", "spool/tmp", "cache", "state", "log", "pdfspool", "pdflog"})
        QDir().mkpath(path(QLatin1String(folder)));
    writeText(path(QStringLiteral("etc/cups-files.conf")),
              QStringLiteral("ServerRoot %1/etc\nRequestRoot %1/spool\nTempDir %1/spool/tmp\nCacheDir %1/cache\n"
                             "StateDir %1/state\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\n"
                             "AccessLog %1/log/access_log\nErrorLog %1/log/error_log\nPageLog %1/log/page_log\n"
                             "Printcap %1/printcap\nFileDevice No\n")
                  .arg(root.path()));
    // Kept documents and finished jobs are what the tests read.
    writeText(path(QStringLiteral("etc/cupsd.conf")),
              QStringLiteral("Listen %1/cups.sock\nLogLevel info\nBrowsing No\nWebInterface No\nDefaultAuthType None\n"
                             "PreserveJobFiles Yes\nPreserveJobHistory Yes\n"
                             "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                             "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
                  .arg(root.path()));
}

bool PrivateCups::required()
{
    return qEnvironmentVariable("KAZANE_REQUIRE_PRINT_SYSTEM") == QLatin1String("1");
}

QString PrivateCups::start()
{
    if (geteuid() != 0)
        return QStringLiteral("the PDF printer (cups-pdf) runs only as root");
    for (const QString& needed : {Daemon, PdfBackend, PdfModel})
        if (!QFileInfo::exists(needed))
            return QStringLiteral("%1 is not installed (packages cups, printer-driver-cups-pdf)").arg(needed);
    if (!root.isValid())
        return QStringLiteral("no temporary folder");
    writeConfiguration();
    const QByteArray socket = path(QStringLiteral("cups.sock")).toUtf8();
    qputenv("CUPS_SERVER", socket);
    // cups-pdf writes where the daemon runs: its folders are named relative to it.
    daemon.setWorkingDirectory(root.path());
    daemon.setProcessChannelMode(QProcess::MergedChannels);
    // A test that crashes or is stopped by CTest's timeout takes its daemon along.
    daemon.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    daemon.start(Daemon, {QStringLiteral("-f"), QStringLiteral("-c"), path(QStringLiteral("etc/cupsd.conf")),
                          QStringLiteral("-s"), path(QStringLiteral("etc/cups-files.conf"))});
    if (!daemon.waitForStarted(5000))
        return QStringLiteral("cupsd did not start");
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 15000) {
        if (daemon.state() == QProcess::NotRunning)
            return QStringLiteral("cupsd ended: ") + QString::fromUtf8(daemon.readAll());
        QProcess status;
        status.start(QStringLiteral("lpstat"), {QStringLiteral("-r")});
        if (status.waitForFinished(5000) && status.readAllStandardOutput().contains("is running"))
            return {};
        QThread::msleep(100);
    }
    return QStringLiteral("cupsd does not answer on ") + QString::fromUtf8(socket);
}

bool PrivateCups::addPdfPrinter(const QString& name, bool makeDefault, const QStringList& papers)
{
    // The model of cups-pdf with the folders it writes into: its own options, read
    // from the printer's model, name them relative to where the daemon runs.
    QFile model(PdfModel);
    if (!model.open(QIODevice::ReadOnly))
        return false;
    const QString output = QStringLiteral("pdf-") + name;
    QDir().mkpath(path(output));
    QStringList lines = QString::fromLatin1(model.readAll()).split(QLatin1Char('\n'));
    static const QRegularExpression paperLine(QStringLiteral("^\\*(PageSize|PageRegion|ImageableArea|PaperDimension) ([^/:]+)"));
    if (!papers.isEmpty())
        lines.removeIf([&](const QString& line) {
            const QRegularExpressionMatch match = paperLine.match(line);
            return match.hasMatch() && !papers.contains(match.captured(2));
        });
    QString text = lines.join(QLatin1Char('\n'));
    for (const auto& [key, value] : {std::pair{QStringLiteral("Out"), output},
                                     std::pair{QStringLiteral("Spool"), QStringLiteral("pdfspool")},
                                     std::pair{QStringLiteral("Log"), QStringLiteral("pdflog")}})
        text += QStringLiteral("*OpenUI *%1/%1: PickOne\n*Default%1: %2\n*%1 %2/%2: \"\"\n*CloseUI: *%1\n").arg(key, value);
    const QString ppd = path(name + QStringLiteral(".ppd"));
    if (!writeText(ppd, text))
        return false;
    if (!admin(QStringLiteral("lpadmin"), {QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
                                           QStringLiteral("cups-pdf:/"), QStringLiteral("-P"), ppd}))
        return false;
    return !makeDefault || admin(QStringLiteral("lpadmin"), {QStringLiteral("-d"), name});
}

bool PrivateCups::admin(const QString& program, const QStringList& arguments)
{
    QProcess command;
    command.setProcessChannelMode(QProcess::MergedChannels);
    command.start(program, arguments);
    if (!command.waitForFinished(30000) || command.exitStatus() != QProcess::NormalExit || command.exitCode() != 0) {
        qWarning("%s %s: %s", qPrintable(program), qPrintable(arguments.join(QLatin1Char(' '))),
                 command.readAll().constData());
        return false;
    }
    return true;
}

QStringList PrivateCups::spooledDocuments() const
{
    const QDir spool(path(QStringLiteral("spool")));
    QStringList files;
    for (const QString& name : spool.entryList({QStringLiteral("d*")}, QDir::Files, QDir::Name))
        files << spool.filePath(name);
    return files;
}

QList<PrivateCups::Job> PrivateCups::jobs()
{
    cups_job_t* listed = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &listed, nullptr, 0, CUPS_WHICHJOBS_ALL);
    QList<Job> found;
    for (int i = 0; i < count; ++i)
        found.append({listed[i].id, QString::fromUtf8(listed[i].dest), QString::fromUtf8(listed[i].title),
                      int(listed[i].state), 0, {}});
    cupsFreeJobs(count, listed);
    return found;
}

PrivateCups::Job PrivateCups::job(int id)
{
    for (Job each : jobs()) {
        if (each.id != id)
            continue;
        char uri[HTTP_MAX_URI];
        httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/jobs/%d", id);
        ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
        ipp_t* answer = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
        ipp_attribute_t* copies = ippFindAttribute(answer, "copies", IPP_TAG_INTEGER);
        ipp_attribute_t* media = ippFindAttribute(answer, "media", IPP_TAG_ZERO);
        each.copies = copies ? ippGetInteger(copies, 0) : 1;
        each.media = media ? QString::fromUtf8(ippGetString(media, 0, nullptr)) : QString();
        ippDelete(answer);
        return each;
    }
    return {};
}

QStringList PrivateCups::printedFiles(const QString& printer, int count, int milliseconds) const
{
    const QDir folder(path(QStringLiteral("pdf-") + printer));
    QElapsedTimer clock;
    clock.start();
    QStringList files;
    for (;;) {
        files.clear();
        for (const QString& name : folder.entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time | QDir::Reversed))
            files << folder.filePath(name);
        // A file is whole once pdfinfo reads its pages.
        bool whole = files.size() >= count;
        for (const QString& file : files)
            whole = whole && pageCount(file) > 0;
        if (whole || clock.elapsed() > milliseconds)
            return files;
        QThread::msleep(200);
    }
}

int PrivateCups::pageCount(const QString& pdf)
{
    return pdfinfo(pdf, QStringLiteral("Pages")).toInt();
}

QSizeF PrivateCups::pageSize(const QString& pdf)
{
    // "841.89 x 595.276 pts (A4)"
    const QStringList words = pdfinfo(pdf, QStringLiteral("Page size")).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() < 3 || words[1] != QLatin1String("x"))
        return {};
    return QSizeF(words[0].toDouble(), words[2].toDouble());
}
