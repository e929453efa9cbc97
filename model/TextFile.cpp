#include "model/TextFile.h"

#include "model/Cp932.h"
#include "model/SafeFile.h"

#include <charconv>

QString TextFile::malformedMessage(const QString& fileName, int line, const QString& reason)
{
    return QStringLiteral("データファイル「%1」の%2行目が正しくありません（%3）。ファイルが壊れているおそれがあるため、読み込みを中止しました。このファイルは書き換えていません。")
        .arg(fileName)
        .arg(line)
        .arg(reason);
}

Status ItemReader::open(const QString& path, const QString& displayName)
{
    QByteArray bytes;
    if (Status read = SafeFile::read(path, bytes); !read)
        return read;
    return openBytes(bytes, displayName);
}

Status ItemReader::openBytes(const QByteArray& bytes, const QString& displayName)
{
    name = displayName;
    items.clear();
    position = 0;
    errorText.clear();
    // A file saved as UTF-8 is refused whole rather than read as mojibake.
    if (TextFile::encodingOf(bytes) == TextFile::Encoding::Utf8) {
        errorText = TextFile::utf8Message(name);
        return status();
    }
    const auto decoded = Cp932::decode(bytes);
    if (!decoded) {
        // Name the line that holds the first byte sequence CP932 does not know.
        int line = 1;
        qsizetype start = 0;
        while (start < bytes.size()) {
            qsizetype end = bytes.indexOf('\n', start);
            if (end < 0)
                end = bytes.size();
            if (!Cp932::decode(bytes.mid(start, end - start)))
                break;
            start = end + 1;
            ++line;
        }
        fail(line, QStringLiteral("文字コードがシフトJISではありません"));
        return status();
    }
    content = *decoded;
    const QString& text = content;
    // Split into items: commas and line ends separate; a double-quoted item may hold commas.
    int line = 1;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
            ++i;
        if (i >= n)
            break;
        Item item;
        item.line = line;
        if (text[i] == QLatin1Char('"')) {
            item.quoted = true;
            const qsizetype close = text.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'), i + 1);
            if (close < 0 || (lineEnd >= 0 && lineEnd < close)) {
                fail(line, QStringLiteral("引用符が閉じていません"));
                return status();
            }
            item.start = i + 1;
            item.length = close - i - 1;
            i = close + 1;
            while (i < n && text[i] != QLatin1Char(',') && text[i] != QLatin1Char('\n'))
                ++i;  // text after the closing quote up to the separator is ignored
        } else {
            qsizetype end = i;
            while (end < n && text[end] != QLatin1Char(',') && text[end] != QLatin1Char('\n'))
                ++end;
            qsizetype last = end;
            while (last > i && text[last - 1].isSpace())
                --last;
            item.start = i;
            item.length = last - i;
            i = end;
        }
        const bool lineEnded = i < n && text[i] == QLatin1Char('\n');
        const bool blankLine = !item.quoted && item.length == 0 && (i >= n || lineEnded)
            && (items.empty() || items.back().line != line);
        if (!blankLine)
            items.push_back(item);
        if (i < n) {
            if (text[i] == QLatin1Char('\n'))
                ++line;
            ++i;
        }
    }
    lastLine = line;
    return Status::success();
}

bool ItemReader::fail(int line, const QString& reason)
{
    if (errorText.isEmpty())
        errorText = TextFile::malformedMessage(name, line, reason);
    return false;
}

bool ItemReader::next(Item& item)
{
    if (!errorText.isEmpty())
        return false;
    if (position >= items.size())
        return fail(lastLine, QStringLiteral("ファイルが途中で終わっています"));
    item = items[position++];
    return true;
}

bool ItemReader::readInt(int& value, int minimum, int maximum)
{
    Item item;
    if (!next(item))
        return false;
    bool ok = false;
    const QStringView text = textOf(item);
    const int number = text.toInt(&ok);
    if (!ok)
        return fail(item.line, QStringLiteral("数値があるべきところに「%1」があります").arg(text.left(20).toString()));
    if (number < minimum || number > maximum)
        return fail(item.line, QStringLiteral("数値 %1 が範囲（%2～%3）の外です").arg(number).arg(minimum).arg(maximum));
    value = number;
    return true;
}

bool ItemReader::readString(QString& value)
{
    Item item;
    if (!next(item))
        return false;
    // A name the writer would refuse (a double quote inside an unquoted item, a
    // lone CR) is a damaged file, not a name.
    const QString text = textOf(item).toString();
    if (const QString problem = StorableText::problem(text); !problem.isEmpty())
        return fail(item.line, QStringLiteral("名前に%1").arg(problem));
    value = text;
    return true;
}

bool ItemReader::expectEnd()
{
    if (!errorText.isEmpty())
        return false;
    if (position < items.size())
        return fail(items[position].line, QStringLiteral("データの終わりの後に余分な行があります"));
    return true;
}

void ItemWriter::number(int value)
{
    char line[16];
    char* end = std::to_chars(line, line + sizeof line - 2, value).ptr;
    *end++ = '\r';
    *end++ = '\n';
    content.append(line, size_t(end - line));
}

void ItemWriter::line(const QString& text)
{
    if (auto encoded = Cp932::encode(text))
        content.append(encoded->constData(), size_t(encoded->size()));
    else
        unencodable = true;
    content.append("\r\n", 2);
}

bool ItemWriter::bytes(QByteArray& out) const
{
    if (unencodable)
        return false;
    out = QByteArray(content.data(), qsizetype(content.size()));
    return true;
}
