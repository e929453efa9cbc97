#include "model/RosterImport.h"

#include "model/ClassData.h"
#include "model/Cp932.h"

#include <QMap>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>

namespace {

bool validUtf8(const QByteArray& bytes, QString& text)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    text = decoder.decode(bytes);
    return !decoder.hasError();
}

// One line of the file into cells: a cell may be quoted ("a,b", "say ""hi""").
QStringList cellsOf(const QString& line, QChar separator)
{
    QStringList cells;
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                cell += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == QLatin1Char('"') && cell.trimmed().isEmpty()) {
            quoted = true;
            cell.clear();
        } else if (c == separator) {
            cells << cell.trimmed();
            cell.clear();
        } else {
            cell += c;
        }
    }
    cells << cell.trimmed();
    return cells;
}

QString folded(const QString& text)
{
    return text.normalized(QString::NormalizationForm_KC).trimmed();
}

bool isNumber(const QString& cell, int* value = nullptr)
{
    bool ok = false;
    const int number = folded(cell).toInt(&ok);
    if (value)
        *value = number;
    return ok;
}

bool namesReading(const QString& heading)
{
    for (const char* word : {"ふりがな", "フリガナ", "かな", "カナ", "よみ", "ヨミ", "読み", "ローマ字"})
        if (heading.contains(QString::fromUtf8(word)))
            return true;
    return false;
}

int headingColumn(const QStringList& headings, const QStringList& words, bool skipReading)
{
    for (const QString& word : words)
        for (int c = 0; c < headings.size(); ++c)
            if (folded(headings[c]).contains(word, Qt::CaseInsensitive) && !(skipReading && namesReading(headings[c])))
                return c;
    return -1;
}

}  // namespace

RosterImport::Table RosterImport::read(const QByteArray& bytes, QString& problem)
{
    Table table;
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF") && validUtf8(bytes.mid(3), text)) {
        table.encoding = QStringLiteral("UTF-8");
    } else if (validUtf8(bytes, text)) {
        table.encoding = QStringLiteral("UTF-8");
    } else if (std::optional<QString> decoded = Cp932::decode(bytes)) {
        text = *decoded;
        table.encoding = QStringLiteral("Shift_JIS");
    } else {
        problem = QStringLiteral("ファイルの文字コードを読み取れません（UTF-8 でも Shift_JIS でもありません）。");
        return table;
    }
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    table.separator = text.contains(QLatin1Char('\t')) ? QLatin1Char('\t') : QLatin1Char(',');
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        table.rows << cellsOf(lines[i], table.separator);
        table.lines << i + 1;
    }
    if (table.rows.isEmpty())
        problem = QStringLiteral("ファイルに名簿の行がありません。");
    return table;
}

int RosterImport::columnCount(const Table& table)
{
    int count = 0;
    for (const QStringList& row : table.rows)
        count = qMax(count, int(row.size()));
    return count;
}

RosterImport::Columns RosterImport::guess(const Table& table)
{
    Columns columns;
    if (table.rows.isEmpty())
        return columns;
    const QStringList& first = table.rows.first();
    const int name = headingColumn(first, {QStringLiteral("氏名"), QStringLiteral("児童名"), QStringLiteral("名前"),
                                           QStringLiteral("なまえ"), QStringLiteral("name")}, true);
    const int number = headingColumn(first, {QStringLiteral("出席番号"), QStringLiteral("番号"), QStringLiteral("no")}, false);
    if (name >= 0) {
        columns.heading = true;
        columns.name = name;
        columns.number = number;
        return columns;
    }
    // No heading: the first column of numbers is the number, the first other one the name.
    for (int c = 0; c < first.size(); ++c) {
        if (isNumber(first[c]) && columns.number < 0)
            columns.number = c;
        else if (!isNumber(first[c]) && columns.name < 0)
            columns.name = c;
    }
    return columns;
}

RosterImport::Result RosterImport::take(const Table& table, const Columns& columns, int existing)
{
    Result result;
    QMap<int, QString> byNumber;  // the file's numbers, or the order of the rows
    QMap<int, int> lineOf;
    int order = 0;
    for (int r = columns.heading ? 1 : 0; r < table.rows.size(); ++r) {
        const QStringList& row = table.rows[r];
        const int line = table.lines[r];
        const QString name = row.value(columns.name);
        int number = ++order;
        if (columns.number >= 0 && !isNumber(row.value(columns.number), &number)) {
            result.refused << Refusal{line, QStringLiteral("番号「%1」が数ではありません").arg(row.value(columns.number))};
            continue;
        }
        if (columns.number >= 0 && (number < 1 || number > Limits::Pupils)) {
            result.refused << Refusal{line, QStringLiteral("番号 %1 は1～%2の外です").arg(number).arg(Limits::Pupils)};
            continue;
        }
        if (byNumber.contains(number)) {
            result.refused << Refusal{line, QStringLiteral("番号 %1 は%2行目と同じです").arg(number).arg(lineOf[number])};
            continue;
        }
        if (name.isEmpty()) {
            result.refused << Refusal{line, QStringLiteral("氏名が空です")};
            continue;
        }
        if (const QString problem = StorableText::problem(name); !problem.isEmpty()) {
            result.refused << Refusal{line, QStringLiteral("氏名「%1」は保存できません。%2").arg(name, problem)};
            continue;
        }
        byNumber.insert(number, name);
        lineOf.insert(number, line);
    }
    int expected = 1;
    for (auto it = byNumber.cbegin(); it != byNumber.cend(); ++it) {
        if (existing + result.names.size() >= Limits::Pupils) {
            result.refused << Refusal{lineOf[it.key()], QStringLiteral("クラスは%1人までです").arg(Limits::Pupils)};
            continue;
        }
        if (it.key() != expected)
            result.refused << Refusal{0, QStringLiteral("番号 %1 の児童がいないため、%2番からは番号が前に詰まります")
                                             .arg(expected)
                                             .arg(it.key())};
        expected = it.key() + 1;
        result.names << it.value();
    }
    std::stable_sort(result.refused.begin(), result.refused.end(),
                     [](const Refusal& a, const Refusal& b) { return a.line < b.line; });
    return result;
}
