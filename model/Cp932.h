#pragma once
// Windows code page 932 (Shift-JIS with the vendor extensions such as Ⅰ, ① and ～),
// the encoding of every data file, through glibc's iconv.

#include <QByteArray>
#include <QString>
#include <optional>

namespace Cp932 {
// Nothing when some character has no CP932 form.
std::optional<QByteArray> encode(const QString& text);
// Nothing when the bytes are not valid CP932.
std::optional<QString> decode(const QByteArray& bytes);
// The first character of the text that CP932 cannot hold, or a null QChar... as text
// (a character outside the BMP is returned whole); empty when every character fits.
QString firstUnencodable(const QString& text);
// How much a character looks like one of a class's names or test names, for telling
// one reading of a file's bytes from another: 2 for kana, full-width letters and
// digits, the marks of Japanese text (「」、。々ー), circled and Roman numerals and
// the common kanji (JIS level 1); 1 for any other kanji; 0 for half-width katakana;
// -1 for anything else (symbols, box drawing, other scripts, control characters).
// ASCII is not judged (it reads the same either way).
int nameLikeness(char32_t character);
}

namespace StorableText {
// Why a name cannot be stored in a data file (a double quote, a line break, a
// character outside CP932), as a Japanese phrase; empty when it can. A character
// outside CP932 is named with its code as well: 「𠮷」(U+20BB7)は使えない文字です.
QString problem(const QString& text);
// "U+20BB7" for 𠮷: the Unicode code of a character (of each, for several).
QString characterCode(const QString& character);
}
