// The intent record of a change of several files: its format, and finishing or
// undoing a change that a stop left halfway (SafeFileJournal.h).

#include "model/SafeFileJournal.h"

#include "model/SafeFile.h"
#include "model/SafeFileSystem.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using SafeFile::System::native;

namespace {

const QByteArray Heading = QByteArrayLiteral("kazane-journal 1");

QString escaped(const QString& name)
{
    QString text = name;
    text.replace(QLatin1Char('%'), QStringLiteral("%25"));
    text.replace(QLatin1Char('\t'), QStringLiteral("%09"));
    text.replace(QLatin1Char('\r'), QStringLiteral("%0D"));
    text.replace(QLatin1Char('\n'), QStringLiteral("%0A"));
    return text.isEmpty() ? QStringLiteral("-") : text;
}

QString unescaped(const QString& field)
{
    if (field == QLatin1String("-"))
        return {};
    QString text = field;
    text.replace(QStringLiteral("%0A"), QStringLiteral("\n"));
    text.replace(QStringLiteral("%0D"), QStringLiteral("\r"));
    text.replace(QStringLiteral("%09"), QStringLiteral("\t"));
    text.replace(QStringLiteral("%25"), QStringLiteral("%"));
    return text;
}

const char* kindWord(SafeFile::Journal::Step::Kind kind)
{
    switch (kind) {
    case SafeFile::Journal::Step::Kind::Write:
        return "write";
    case SafeFile::Journal::Step::Kind::Backup:
        return "backup";
    case SafeFile::Journal::Step::Kind::Remove:
        return "remove";
    }
    return "write";
}

bool parseStep(const QStringList& fields, SafeFile::Journal::Step& step)
{
    using Kind = SafeFile::Journal::Step::Kind;
    if (fields.size() != 9)
        return false;
    if (fields[0] == QLatin1String("write"))
        step.kind = Kind::Write;
    else if (fields[0] == QLatin1String("backup"))
        step.kind = Kind::Backup;
    else if (fields[0] == QLatin1String("remove"))
        step.kind = Kind::Remove;
    else
        return false;
    step.file = unescaped(fields[1]);
    step.temporary = unescaped(fields[2]);
    step.previous = unescaped(fields[3]);
    step.existed = fields[4] == QLatin1String("old");
    bool ok = true;
    const auto number = [&ok](const QString& field, int base) {
        bool read = true;
        const qint64 value = field == QLatin1String("-") ? -1 : field.toLongLong(&read, base);
        ok = ok && read;
        return value;
    };
    step.size = number(fields[5], 10);
    step.crc = quint32(number(fields[6], 16));
    step.oldSize = number(fields[7], 10);
    step.oldCrc = quint32(number(fields[8], 16));
    return ok && !step.file.isEmpty() && (step.kind == Kind::Remove || !step.temporary.isEmpty());
}

}  // namespace

QString SafeFile::Journal::fileName()
{
    return QStringLiteral("kazane.journal");
}

quint32 SafeFile::Journal::crc32(const QByteArray& bytes)
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 crc = 0xffffffffu;
    for (const char byte : bytes)
        crc = table[(crc ^ quint8(byte)) & 0xff] ^ (crc >> 8);
    return crc ^ 0xffffffffu;
}

QByteArray SafeFile::Journal::format(const Record& record)
{
    QByteArray text = Heading + '\n';
    text += "title\t" + escaped(record.title).toUtf8() + '\n';
    for (const Step& step : record.steps) {
        const auto size = [](qint64 value) { return value < 0 ? QStringLiteral("-") : QString::number(value); };
        const auto crc = [](qint64 known, quint32 value) {
            return known < 0 ? QStringLiteral("-") : QString::number(value, 16).rightJustified(8, QLatin1Char('0'));
        };
        const QStringList fields{QString::fromLatin1(kindWord(step.kind)),
                                 escaped(step.file),
                                 escaped(step.temporary),
                                 escaped(step.previous),
                                 step.existed ? QStringLiteral("old") : QStringLiteral("new"),
                                 size(step.size),
                                 crc(step.size, step.crc),
                                 size(step.oldSize),
                                 crc(step.oldSize, step.oldCrc)};
        text += fields.join(QLatin1Char('\t')).toUtf8() + '\n';
    }
    const QByteArray check = QByteArray::number(crc32(text), 16).rightJustified(8, '0');
    return text + "end\t" + QByteArray::number(record.steps.size()) + '\t' + check + '\n';
}

bool SafeFile::Journal::parse(const QByteArray& bytes, Record& record)
{
    if (!bytes.endsWith('\n'))
        return false;
    const qsizetype endLine = bytes.lastIndexOf('\n', bytes.size() - 2) + 1;
    const QList<QByteArray> end = bytes.mid(endLine).trimmed().split('\t');
    bool countOk = false;
    bool crcOk = false;
    if (end.size() != 3 || end[0] != "end")
        return false;
    const int count = end[1].toInt(&countOk);
    const quint32 crc = end[2].toUInt(&crcOk, 16);
    const QByteArray body = bytes.left(endLine);
    if (!countOk || !crcOk || crc != crc32(body))
        return false;
    const QStringList lines = QString::fromUtf8(body).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.size() != count + 2 || lines[0].toUtf8() != Heading || !lines[1].startsWith(QLatin1String("title\t")))
        return false;
    Record read;
    read.title = unescaped(lines[1].mid(6));
    for (int i = 2; i < lines.size(); ++i) {
        Step step;
        if (!parseStep(lines[i].split(QLatin1Char('\t')), step))
            return false;
        read.steps.append(step);
    }
    record = read;
    return true;
}

bool SafeFile::Journal::exists(const QString& folder)
{
    struct stat info {};
    return ::lstat(native(QDir(folder).filePath(fileName())).constData(), &info) == 0;
}

Status SafeFile::Journal::write(const QString& folder, const Record& record)
{
    const QString path = QDir(folder).filePath(fileName());
    const int fd = ::open(native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return Status::failure(writeFailedMessage(path, errno));
    if (const int error = System::writeAll(fd, format(record), true); error != 0) {
        ::unlink(native(path).constData());
        return Status::failure(writeFailedMessage(path, error));
    }
    return Status::success();
}

void SafeFile::Journal::remove(const QString& folder)
{
    ::unlink(native(QDir(folder).filePath(fileName())).constData());
}
