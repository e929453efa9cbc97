// Telling a data file saved as UTF-8 from one in CP932, and storing it back in CP932.

#include "model/TextFile.h"

#include "model/Cp932.h"
#include "model/SafeFile.h"

namespace {

const QByteArray ByteOrderMark("\xEF\xBB\xBF");

bool isAscii(const QByteArray& bytes)
{
    for (char c : bytes)
        if (uchar(c) >= 0x80)
            return false;
    return true;
}

// Well-formed UTF-8: no stray continuation byte, no overlong form, no surrogate,
// nothing past U+10FFFF.
bool isUtf8(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const uchar lead = p[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        uchar low = 0x80, high = 0xBF;  // the range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF)
            length = 2;
        else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0;
            else if (lead == 0xED)
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F;
        } else
            return false;
        if (i + length > n || p[i + 1] < low || p[i + 1] > high)
            return false;
        for (int k = 2; k < length; ++k)
            if (p[i + k] < 0x80 || p[i + k] > 0xBF)
                return false;
        i += length;
    }
    return true;
}

// The mean likeness of the text's characters beyond ASCII to a class's names.
double nameLikeness(const QString& text)
{
    int sum = 0;
    int count = 0;
    for (char32_t c : text.toUcs4())
        if (c >= 0x80) {
            sum += Cp932::nameLikeness(c);
            ++count;
        }
    return count == 0 ? 0.0 : double(sum) / count;
}

}  // namespace

TextFile::Encoding TextFile::encodingOf(const QByteArray& bytes)
{
    if (isAscii(bytes))
        return Encoding::Ascii;
    if (bytes.startsWith(ByteOrderMark) && isUtf8(bytes))
        return Encoding::Utf8;
    // CP932 text is almost never valid UTF-8: its kanji begin with bytes that UTF-8
    // only continues with. The common case is decided here.
    if (!isUtf8(bytes))
        return Encoding::Cp932;
    const std::optional<QString> asCp932 = Cp932::decode(bytes);
    if (!asCp932)
        return Encoding::Utf8;
    // Valid both ways (about a third of typical names saved as UTF-8): the reading
    // that gives characters of names and test names wins; a tie stays CP932.
    return nameLikeness(QString::fromUtf8(bytes)) > nameLikeness(*asCp932) ? Encoding::Utf8 : Encoding::Cp932;
}

QString TextFile::utf8Message(const QString& fileName)
{
    return QStringLiteral("データファイル「%1」は UTF-8 で保存されています。かざねのデータファイルはシフトJIS（CP932）で"
                          "保存されている必要があるため、読み込みを中止しました。このファイルは書き換えていません。")
        .arg(fileName);
}

Status TextFile::utf8ToCp932(const QByteArray& bytes, const QString& fileName, QByteArray& converted)
{
    const QByteArray body = bytes.startsWith(ByteOrderMark) ? bytes.mid(ByteOrderMark.size()) : bytes;
    QStringList lines = QString::fromUtf8(body).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    QByteArray out;
    out.reserve(body.size() + lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const std::optional<QByteArray> encoded = Cp932::encode(line);
        if (!encoded) {
            const QString bad = Cp932::firstUnencodable(line);
            return Status::failure(
                QStringLiteral("UTF-8 で保存されたデータファイル「%1」の%2行目の「%3」(%4)は、シフトJIS（CP932）で保存できない文字です。"
                               "このファイルは変換していません。テキストエディタでこの文字を直してから、もう一度開いてください。")
                    .arg(fileName)
                    .arg(i + 1)
                    .arg(bad, StorableText::characterCode(bad)));
        }
        out += *encoded;
        out += "\r\n";
    }
    converted = out;
    return Status::success();
}

Status TextFile::convertUtf8File(const QString& path, const QString& backupPath, const QString& fileName)
{
    QByteArray bytes;
    if (Status read = SafeFile::read(path, bytes); !read)
        return read;
    if (encodingOf(bytes) != Encoding::Utf8)
        return Status::success();
    QByteArray converted;
    if (Status made = utf8ToCp932(bytes, fileName, converted); !made)
        return made;
    return SafeFile::writeWithBackup(path, backupPath, converted);
}
