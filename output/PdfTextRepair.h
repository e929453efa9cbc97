#pragma once
// Makes the text of a PDF written by Qt copy and search as the characters drawn.
//
// The IPAex fonts draw a kanji and the Kangxi radical of the same shape (二 and ⼆,
// 田 and ⽥, 青 and ⻘) with one glyph. Qt's PDF writer gives each glyph the lowest
// code point that maps to it in the text table it embeds (ToUnicode), so a sheet
// would read back "⽥中" instead of "田中": wrong for copying, searching and any
// text extraction. The repair rewrites those table entries to the kanji the font
// draws with the same glyph. Every entry keeps its length, so the file's layout
// and cross-reference offsets stay as they are. Qt offers no way to choose those
// entries itself (the table is built inside its PDF engine), so the repair is done
// on the document in memory, before its single write.

#include <QByteArray>
#include <QString>

namespace PdfTextRepair {
// Repairs the ToUnicode tables of a PDF in memory, before it is written (PdfWriter);
// returns how many entries changed.
int repair(QByteArray& pdf);
}
