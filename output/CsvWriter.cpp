#include "output/CsvWriter.h"

#include "output/OutputFile.h"
#include "output/SheetTable.h"

#include <QRegularExpression>

namespace {

// A cell a spreadsheet would take for a formula: one that starts with "=", "+",
// "-", "@", a tab or a CR and is not a plain number. The dash that stands for a
// missing value ("-", "- ") cannot be one.
bool looksLikeFormula(const QString& value)
{
    static const QString starters = QStringLiteral("=+-@\t\r");
    static const QRegularExpression harmless(QRegularExpression::anchoredPattern(QStringLiteral("-?[0-9]+(\\.[0-9]+)?|- *")));
    if (value.isEmpty() || !starters.contains(value.front()))
        return false;
    return !harmless.match(value).hasMatch();
}

QString field(QString value)
{
    if (looksLikeFormula(value))
        value.prepend(QLatin1Char('\''));
    const bool needsQuotes = value.contains(QLatin1Char(',')) || value.contains(QLatin1Char('"'))
        || value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r'))
        || (!value.isEmpty() && (value.front().isSpace() || value.back().isSpace()));
    if (!needsQuotes)
        return value;
    QString escaped = value;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

void appendRow(QString& out, const QStringList& values, qsizetype width)
{
    for (qsizetype i = 0; i < width; ++i) {
        if (i > 0)
            out += QLatin1Char(',');
        out += field(i < values.size() ? values[i] : QString());
    }
    out += QLatin1String("\r\n");
}

}  // namespace

QByteArray CsvWriter::build(const ReportSheet& sheet)
{
    const SheetTable table = SheetTable::of(sheet);
    QString out;
    appendRow(out, table.about, table.about.size());
    appendRow(out, table.headings, table.headings.size());
    for (const QStringList& row : table.rows)
        appendRow(out, row, table.headings.size());
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

Status CsvWriter::write(const QString& path, const ReportSheet& sheet)
{
    return OutputFile::write(path, build(sheet));
}

QList<QStringList> CsvWriter::parse(const QByteArray& bytes)
{
    QString text = QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
    QList<QStringList> rows;
    QStringList row;
    QString current;
    bool quoted = false;
    bool any = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                    current += QLatin1Char('"');
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                current += c;
            }
            continue;
        }
        if (c == QLatin1Char('"')) {
            quoted = true;
            any = true;
        } else if (c == QLatin1Char(',')) {
            row.append(current);
            current.clear();
            any = true;
        } else if (c == QLatin1Char('\r')) {
            continue;
        } else if (c == QLatin1Char('\n')) {
            if (any || !current.isEmpty())
                row.append(current);
            rows.append(row);
            row.clear();
            current.clear();
            any = false;
        } else {
            current += c;
            any = true;
        }
    }
    if (any || !current.isEmpty()) {
        row.append(current);
        rows.append(row);
    }
    return rows;
}
