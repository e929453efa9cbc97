#pragma once
// The text layout shared by the data files: CP932, lines ended by CR LF, one value
// per line (the attendance file puts several on a line, separated by commas),
// numbers as plain decimals, strings between double quotes. A reader takes items
// separated by commas or line ends, as the files have always been read, and
// reports the file and line of the first item it cannot use.

#include "model/Status.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

class ItemReader {
public:
    // Reads and decodes the whole file; `displayName` names it in messages.
    Status open(const QString& path, const QString& displayName);
    // For tests and for content already in memory.
    Status openBytes(const QByteArray& bytes, const QString& displayName);

    bool readInt(int& value, int minimum = -32768, int maximum = 32767);
    // A name; refused, like a malformed number, when it could not be written back
    // (a double quote, a line break, a character outside CP932).
    bool readString(QString& value);
    // Fails when anything but blank lines is left.
    bool expectEnd();

    // The message for the first failure ("... の 5 行目 ...").
    const QString& error() const { return errorText; }
    Status status() const { return errorText.isEmpty() ? Status::success() : Status::failure(errorText); }

private:
    struct Item {
        qsizetype start = 0;
        qsizetype length = 0;
        bool quoted = false;
        int line = 0;
    };
    QStringView textOf(const Item& item) const { return QStringView(content).mid(item.start, item.length); }
    bool next(Item& item);
    bool fail(int line, const QString& reason);

    QString content;
    std::vector<Item> items;
    size_t position = 0;
    int lastLine = 0;
    QString name;
    QString errorText;
};

// Items one to a line, encoded as they are added: numbers go in as their ASCII
// digits (the same in CP932), texts through the encoder one line at a time, which
// gives the same bytes as encoding the whole text at once (CP932 keeps no state
// from one character to the next).
class ItemWriter {
public:
    // Room for about `bytes` bytes, so that a large file is not copied as it grows.
    void reserve(qsizetype bytes) { content.reserve(size_t(bytes)); }
    void number(int value);
    void quoted(const QString& value) { line(quote(value)); }
    void line(const QString& text);
    static QString quote(const QString& value) { return QLatin1Char('"') + value + QLatin1Char('"'); }
    // The CP932 bytes; fails naming the file when some text cannot be encoded.
    bool bytes(QByteArray& out) const;

private:
    std::string content;  // appending to a QByteArray piece by piece costs several times more
    bool unencodable = false;
};

namespace TextFile {
QString malformedMessage(const QString& fileName, int line, const QString& reason);

// How the bytes of a data file are to be read (model/TextFileEncoding.cpp). Ascii
// reads the same in CP932 and UTF-8. Utf8: saved as UTF-8 (by a text editor or a
// spreadsheet): a byte-order mark before valid UTF-8, valid UTF-8 that is not
// CP932, or bytes valid both ways whose UTF-8 reading looks more like a class's
// names and test names (kana, kanji, full-width forms) than their CP932 reading
// (rare kanji, half-width katakana, symbols); a tie stays CP932. Cp932: anything
// else, which the reader decodes (and refuses when it is not CP932 either).
enum class Encoding { Ascii, Cp932, Utf8 };
Encoding encodingOf(const QByteArray& bytes);

// The refusal of a data file saved as UTF-8: 「データファイル「Class.Nam」は UTF-8 で
// 保存されています。…」
QString utf8Message(const QString& fileName);
// The text of a UTF-8 file (its byte-order mark dropped) in CP932 with CR LF line
// ends. Fails, naming the line, on the first character CP932 cannot hold.
Status utf8ToCp932(const QByteArray& bytes, const QString& fileName, QByteArray& converted);
// Stores a data file saved as UTF-8 back in CP932 through the safe write, its old
// content kept at `backupPath`. Nothing is written when the file is not UTF-8 (any
// more) or holds a character CP932 cannot hold.
Status convertUtf8File(const QString& path, const QString& backupPath, const QString& fileName);
}
