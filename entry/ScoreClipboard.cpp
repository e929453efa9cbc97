#include "entry/ScoreClipboard.h"

#include "model/ClassData.h"
#include "model/Format.h"

namespace ScoreClipboard {

namespace {

QString quotedIfNeeded(const QString& cell)
{
    const bool needsQuotes = cell.contains(QLatin1Char('\t')) || cell.contains(QLatin1Char('\n'))
        || cell.contains(QLatin1Char('\r')) || cell.startsWith(QLatin1Char('"'));
    if (!needsQuotes)
        return cell;
    QString doubled = cell;
    doubled.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

// Full-width digits and the full-width slash count as the keys they stand for.
QString narrowed(const QString& text)
{
    return Format::halfWidthDigits(text).replace(u'／', u'/');
}

// A pasted value as the message shows it: long texts are cut short.
QString shown(const QString& value)
{
    const QString oneLine = QString(value).replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    return oneLine.size() > 20 ? oneLine.left(20) + QStringLiteral("…") : oneLine;
}

QString pupilText(const Target& target, int pupil)
{
    return QStringLiteral("%1番 %2").arg(pupil).arg(target.pupilNames.value(pupil - 1));
}

QString refusal(int row, int col, const QString& value, const QString& where, const QString& why)
{
    return QStringLiteral("次のセルを受け付けられないため、何も貼り付けませんでした。\n\n"
                          "貼り付ける表の%1行目・%2列目「%3」\n→ %4：%5")
        .arg(row)
        .arg(col)
        .arg(shown(value), where, why);
}

}  // namespace

QString toText(const QList<QStringList>& rows)
{
    QStringList lines;
    for (const QStringList& row : rows) {
        QStringList cells;
        for (const QString& cell : row)
            cells << quotedIfNeeded(cell);
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n'));
}

QList<QStringList> parse(const QString& text)
{
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;
    bool cellStarted = false;  // a character of the cell was read, so a quote is plain text
    for (int i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        const QChar next = i + 1 < text.size() ? text.at(i + 1) : QChar();
        if (quoted) {
            if (ch != QLatin1Char('"'))
                cell += ch;
            else if (next == QLatin1Char('"'))
                cell += text.at(++i);
            else
                quoted = false;
            continue;
        }
        if (ch == QLatin1Char('"') && !cellStarted) {
            quoted = true;
            cellStarted = true;
            continue;
        }
        if (ch == QLatin1Char('\t')) {
            row << cell;
            cell.clear();
            cellStarted = false;
            continue;
        }
        if (ch == QLatin1Char('\r') && next == QLatin1Char('\n'))
            continue;
        if (ch == QLatin1Char('\n') || ch == QLatin1Char('\r')) {
            row << cell;
            rows << row;
            row.clear();
            cell.clear();
            cellStarted = false;
            continue;
        }
        cell += ch;
        cellStarted = true;
    }
    if (cellStarted || !row.isEmpty()) {
        row << cell;
        rows << row;
    }
    return rows;
}

std::optional<ScoreCell> readScore(const QString& text, bool observation)
{
    const QString value = narrowed(text.trimmed());
    if (value.isEmpty())
        return ScoreCell::blank();
    if (value == QStringLiteral("欠") || value == QStringLiteral("欠席") || value == QLatin1String("/"))
        return ScoreCell::absent();
    if (observation && value.size() == 1) {
        char16_t letter = value.at(0).toUpper().unicode();
        if (letter >= u'Ａ' && letter <= u'Ｃ')
            letter = char16_t(letter - u'Ａ' + u'A');
        if (letter >= u'A' && letter <= u'C')
            return ScoreCell::points('D' - letter);
    }
    for (QChar ch : value)
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return std::nullopt;
    bool ok = false;
    const int points = value.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return ScoreCell::points(points);
}

Plan plan(const QList<QStringList>& rows, const Target& target)
{
    Plan result;
    const int pupils = int(target.pupilNames.size());
    for (int r = 0; r < rows.size(); ++r) {
        const int pupil = target.pupil + r;
        for (int c = 0; c < rows[r].size(); ++c) {
            const QString& value = rows[r][c];
            const int column = target.column + c;
            const bool empty = value.trimmed().isEmpty();
            if (pupil > pupils) {
                if (empty)
                    continue;
                result.refusal = refusal(r + 1, c + 1, value, QStringLiteral("%1番より後の行").arg(pupils),
                                         QStringLiteral("クラスは%1人です。その後ろには貼り付けられません。").arg(pupils));
                break;
            }
            if (column > Limits::Columns) {
                if (empty)
                    continue;
                result.refusal = refusal(r + 1, c + 1, value, pupilText(target, pupil),
                                         QStringLiteral("観点Ⅳより右には点数の列がありません。"));
                break;
            }
            const QString where = pupilText(target, pupil) + QStringLiteral("、") + Names::viewpointHeading(column);
            if (column > target.columns) {
                if (empty)
                    continue;
                result.refusal = refusal(r + 1, c + 1, value, where,
                                         QStringLiteral("この列には観点が選ばれていないため、点数を入れられません。"));
                break;
            }
            const std::optional<ScoreCell> cell = readScore(value, target.observation);
            if (!cell) {
                result.refusal = refusal(r + 1, c + 1, value, where,
                                         target.observation
                                             ? QStringLiteral("Ａ・Ｂ・Ｃ（3・2・1）でも欠席（欠・欠席・/）でもありません。")
                                             : QStringLiteral("点数（0以上の整数）でも欠席（欠・欠席・/）でもありません。"));
                break;
            }
            const int marks = target.fullMarks[size_t(column - 1)];
            if (cell->value() > marks) {
                result.refusal = refusal(r + 1, c + 1, value, where, QStringLiteral("満点（%1点）を越えています。").arg(marks));
                break;
            }
            result.cells << PastedCell{pupil, column, *cell};
        }
        if (!result.refusal.isEmpty()) {
            result.cells.clear();
            break;
        }
    }
    return result;
}

}  // namespace ScoreClipboard
