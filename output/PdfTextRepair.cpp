#include "output/PdfTextRepair.h"

#include <QFont>
#include <QHash>
#include <QMutex>
#include <QRawFont>
#include <QRegularExpression>

namespace {

bool isSuspect(char32_t u)
{
    // CJK radicals supplement, Kangxi radicals, and the typographic spaces that
    // share the glyph of the ideographic space.
    return (u >= 0x2E80 && u <= 0x2FDF) || (u >= 0x2000 && u <= 0x200A);
}

// For the suspect code points of a font: the CJK character drawn with the same glyph.
// Worked out once per font for the whole program, whichever thread asks first.
QHash<char32_t, char32_t> fixesFor(const QString& family)
{
    static QMutex mutex;
    static QHash<QString, QHash<char32_t, char32_t>> cache;
    QMutexLocker lock(&mutex);
    auto found = cache.find(family);
    if (found != cache.end())
        return *found;
    QHash<char32_t, char32_t>& fixes = cache[family];
    QFont font(family);
    font.setPixelSize(64);
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid() || raw.familyName().compare(family, Qt::CaseInsensitive) != 0)
        return fixes;

    auto glyphsOf = [&raw](char32_t first, char32_t last) {
        QString text;
        for (char32_t u = first; u <= last; ++u)
            text.append(QChar(char16_t(u)));
        return raw.glyphIndexesForString(text);
    };
    // The preferred owner of each glyph: unified ideographs first, then extension A,
    // then the CJK symbols (the ideographic space).
    QHash<quint32, char32_t> owner;
    const std::pair<char32_t, char32_t> preferred[] = {{0x4E00, 0x9FFF}, {0x3400, 0x4DBF}, {0x3000, 0x303F}};
    for (const auto& [first, last] : preferred) {
        const QList<quint32> glyphs = glyphsOf(first, last);
        for (int i = 0; i < glyphs.size(); ++i)
            if (glyphs[i] != 0 && !owner.contains(glyphs[i]))
                owner.insert(glyphs[i], first + char32_t(i));
    }
    const std::pair<char32_t, char32_t> suspects[] = {{0x2000, 0x200A}, {0x2E80, 0x2FDF}};
    for (const auto& [first, last] : suspects) {
        const QList<quint32> glyphs = glyphsOf(first, last);
        for (int i = 0; i < glyphs.size(); ++i)
            if (glyphs[i] != 0 && owner.contains(glyphs[i]))
                fixes.insert(first + char32_t(i), owner.value(glyphs[i]));
    }
    return fixes;
}

// Replaces the 4-digit hex code at `at` (just after '<') when the font has a fix.
bool fixCode(QByteArray& pdf, qsizetype at, const QHash<char32_t, char32_t>& fixes)
{
    if (at + 5 > pdf.size() || pdf[at + 4] != '>')
        return false;
    bool ok = false;
    const char32_t u = QByteArray(pdf.constData() + at, 4).toUInt(&ok, 16);
    if (!ok || !isSuspect(u) || !fixes.contains(u))
        return false;
    const QByteArray hex = QByteArray::number(uint(fixes.value(u)), 16).toUpper().rightJustified(4, '0');
    if (hex.size() != 4)
        return false;
    pdf.replace(at, 4, hex);
    return true;
}

// The positions just after '<' of the hex codes on one line.
QList<qsizetype> codesOnLine(const QByteArray& pdf, qsizetype from, qsizetype to)
{
    QList<qsizetype> codes;
    for (qsizetype i = from; i < to; ++i)
        if (pdf[i] == '<')
            codes.append(i + 1);
    return codes;
}

// Repairs the destinations of one CMap stream lying in pdf[begin, end).
int repairCMap(QByteArray& pdf, qsizetype begin, qsizetype end, const QHash<char32_t, char32_t>& fixes)
{
    int changed = 0;
    enum class Section { None, Range, Char } section = Section::None;
    qsizetype lineStart = begin;
    while (lineStart < end) {
        qsizetype lineEnd = pdf.indexOf('\n', lineStart);
        if (lineEnd < 0 || lineEnd > end)
            lineEnd = end;
        const QByteArray line = pdf.mid(lineStart, lineEnd - lineStart).trimmed();
        if (line.endsWith("beginbfrange"))
            section = Section::Range;
        else if (line.endsWith("beginbfchar"))
            section = Section::Char;
        else if (line == "endbfrange" || line == "endbfchar")
            section = Section::None;
        else if (section != Section::None) {
            const QList<qsizetype> codes = codesOnLine(pdf, lineStart, lineEnd);
            const qsizetype bracket = pdf.indexOf('[', lineStart);
            if (section == Section::Range && bracket >= 0 && bracket < lineEnd) {
                // <first> <last> [<dst> <dst> ...]: every code after the bracket.
                for (qsizetype at : codes)
                    if (at > bracket && fixCode(pdf, at, fixes))
                        ++changed;
            } else if (section == Section::Range && codes.size() == 3) {
                // <first> <last> <dst>: only a range of one code names one character.
                if (pdf.mid(codes[0], 4) == pdf.mid(codes[1], 4) && fixCode(pdf, codes[2], fixes))
                    ++changed;
            } else if (section == Section::Char && codes.size() == 2 && fixCode(pdf, codes[1], fixes)) {
                ++changed;
            }
        }
        lineStart = lineEnd + 1;
    }
    return changed;
}

}  // namespace

int PdfTextRepair::repair(QByteArray& pdf)
{
    static const QRegularExpression toUnicode(QStringLiteral("/ToUnicode\\s+(\\d+)\\s+0\\s+R"));
    static const QRegularExpression baseFont(QStringLiteral("/BaseFont\\s*/(?:[A-Z]{6}\\+)?([^\\s/<>\\[\\]()]+)"));
    int changed = 0;
    const QString text = QString::fromLatin1(pdf);
    auto it = toUnicode.globalMatch(text);
    while (it.hasNext()) {
        const auto match = it.next();
        // The font dictionary holding the reference names the font.
        const qsizetype dictStart = text.lastIndexOf(QStringLiteral("obj"), match.capturedStart());
        if (dictStart < 0)
            continue;
        const auto font = baseFont.match(text.mid(dictStart, match.capturedStart() - dictStart));
        if (!font.hasMatch())
            continue;
        const QHash<char32_t, char32_t> fixes = fixesFor(font.captured(1));
        if (fixes.isEmpty())
            continue;
        // The CMap stream itself; a compressed one is left alone.
        const QByteArray header = match.captured(1).toLatin1() + " 0 obj";
        qsizetype object = pdf.indexOf("\n" + header);
        if (object < 0)
            continue;
        const qsizetype stream = pdf.indexOf("stream", object);
        const qsizetype endStream = pdf.indexOf("endstream", stream);
        const qsizetype cmap = pdf.indexOf("begincmap", stream);
        if (stream < 0 || endStream < 0 || cmap < 0 || cmap > endStream)
            continue;
        changed += repairCMap(pdf, cmap, endStream, fixes);
    }
    return changed;
}
