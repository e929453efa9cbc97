#include "model/Cp932.h"

#include <QStringList>

#include <cerrno>
#include <iconv.h>

namespace {

// One converter per direction, opened once and reset before each use.
class Converter {
public:
    Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::optional<QByteArray> run(const QByteArray& input)
    {
        if (cd == reinterpret_cast<iconv_t>(-1))
            return std::nullopt;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        QByteArray output;
        output.resize(input.size() * 2 + 16);
        char* in = const_cast<char*>(input.constData());
        size_t inLeft = size_t(input.size());
        char* out = output.data();
        size_t outLeft = size_t(output.size());
        while (inLeft > 0) {
            size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
            if (result != size_t(-1))
                break;
            if (errno != E2BIG)
                return std::nullopt;
            const qsizetype used = out - output.data();
            output.resize(output.size() * 2);
            out = output.data() + used;
            outLeft = size_t(output.size() - used);
        }
        output.resize(out - output.data());
        return output;
    }

private:
    iconv_t cd;
};

Converter& toCp932()
{
    static Converter converter("CP932", "UTF-8");
    return converter;
}

Converter& fromCp932()
{
    static Converter converter("UTF-8", "CP932");
    return converter;
}

bool isAscii(const QByteArray& bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

}  // namespace

std::optional<QByteArray> Cp932::encode(const QString& text)
{
    QByteArray utf8 = text.toUtf8();
    if (isAscii(utf8))
        return utf8;
    return toCp932().run(utf8);
}

std::optional<QString> Cp932::decode(const QByteArray& bytes)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    auto utf8 = fromCp932().run(bytes);
    if (!utf8)
        return std::nullopt;
    return QString::fromUtf8(*utf8);
}

QString Cp932::firstUnencodable(const QString& text)
{
    if (encode(text))
        return {};
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QString piece = text.mid(i, length);
        if (!encode(piece))
            return piece;
        i += length - 1;
    }
    return text.left(1);
}

namespace {

bool inRange(char32_t c, char32_t first, char32_t last)
{
    return c >= first && c <= last;
}

// A kanji of JIS level 1 (the 2,965 in everyday use): CP932 0x889F..0x9872.
bool commonKanji(char32_t c)
{
    const char32_t units[2] = {c, 0};
    const auto bytes = Cp932::encode(QString::fromUcs4(units, 1));
    if (!bytes || bytes->size() != 2)
        return false;
    const int code = (uchar(bytes->at(0)) << 8) | uchar(bytes->at(1));
    return code >= 0x889F && code <= 0x9872;
}

}  // namespace

int Cp932::nameLikeness(char32_t c)
{
    if (inRange(c, 0x3041, 0x3096) || inRange(c, 0x309B, 0x309E)  // hiragana
        || inRange(c, 0x30A1, 0x30FE)                                // katakana, ・ and ー
        || inRange(c, 0xFF10, 0xFF19) || inRange(c, 0xFF21, 0xFF3A) || inRange(c, 0xFF41, 0xFF5A)
        || inRange(c, 0x3000, 0x3007) || inRange(c, 0x300C, 0x3011)  // 　、。々〆〇「」『』【】
        || c == 0xFF08 || c == 0xFF09 || c == 0xFF5E || c == 0x301C  // （）～〜
        || inRange(c, 0x2160, 0x2169) || inRange(c, 0x2170, 0x2179)  // Ⅰ..Ⅹ, ⅰ..ⅹ
        || inRange(c, 0x2460, 0x2473))                               // ①..⑳
        return 2;
    if (inRange(c, 0x4E00, 0x9FFF) || inRange(c, 0xF900, 0xFAFF))
        return commonKanji(c) ? 2 : 1;
    if (inRange(c, 0xFF61, 0xFF9F))
        return 0;
    return -1;
}

QString StorableText::characterCode(const QString& character)
{
    const QList<uint> codes = character.toUcs4();
    QStringList parts;
    for (uint code : codes)
        parts << QStringLiteral("U+%1").arg(code, 4, 16, QLatin1Char('0')).toUpper();
    return parts.join(QLatin1Char(' '));
}

QString StorableText::problem(const QString& text)
{
    if (text.contains(QLatin1Char('"')))
        return QStringLiteral("「\"」（二重引用符）は使えません");
    if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')))
        return QStringLiteral("改行は使えません");
    // The font may not draw the character at all, so its code is shown beside it.
    const QString bad = Cp932::firstUnencodable(text);
    if (!bad.isEmpty())
        return QStringLiteral("「%1」(%2)は使えない文字です").arg(bad, characterCode(bad));
    return {};
}
