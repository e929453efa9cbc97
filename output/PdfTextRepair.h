#pragma once
// Makes the text of a PDF written by Qt copy and search as the characters drawn.
//
// The IPAex fonts draw a kanji and the Kangxi radical of the same shape (二 and ⼆,
// 田 and ⽥, 青 and ⻘) with one glyph. Qt's PDF writer gives each glyph the lowest
// code point that maps to it in the text table it embeds (ToUnicode), so a sheet
// would read back "⽥中" instead of "田中": wrong for copying, searching and any
// text extraction. The repair rewrites those table entries to the kanji the font
// draws with the same glyph. Every entry keeps its length, so the file's layout
// and cross-reference offsets stay as they are.

#include <QByteArray>
#include <QString>

namespace PdfTextRepair {
// Repairs the ToUnicode tables of a PDF in memory; returns how many entries changed.
int repair(QByteArray& pdf);
// Repairs a PDF file in place; false when it cannot be read or written.
bool repairFile(const QString& path);
}
