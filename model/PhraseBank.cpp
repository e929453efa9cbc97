#include "model/PhraseBank.h"

#include "model/SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

const QString Version = QStringLiteral("version");
const QString Groups = QStringLiteral("groups");
const QString Heading = QStringLiteral("heading");
const QString Phrases = QStringLiteral("phrases");

Status refused(const QString& displayName, const QString& why)
{
    return Status::failure(QStringLiteral("文例ファイル「%1」を読み込めません。%2。").arg(displayName, why));
}

QStringList wordsOf(const QString& text)
{
    return text.split(QRegularExpression(QStringLiteral("[\\s\\x{3000}]+")), Qt::SkipEmptyParts);
}

}  // namespace

QString PhraseBank::fileName()
{
    return QStringLiteral("phrases.json");
}

QString PhraseBank::backupName()
{
    return QStringLiteral("phrases.bak");
}

Status PhraseBank::parse(const QByteArray& bytes, const QString& displayName, Bank& bank)
{
    QJsonParseError error{};
    const QByteArray text = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return refused(displayName, QStringLiteral("「JSON」として読めない書き方です"));
    const QJsonObject root = document.object();
    if (root.value(Version).toInt() != 1)
        return refused(displayName, QStringLiteral("このかざねが読める版（1）ではありません"));
    if (!root.value(Groups).isArray())
        return refused(displayName, QStringLiteral("項目「groups」が「[ ]」ではありません"));
    Bank read;
    for (const QJsonValue& value : root.value(Groups).toArray()) {
        const QJsonObject group = value.toObject();
        if (!value.isObject() || !group.value(Heading).isString() || !group.value(Phrases).isArray())
            return refused(displayName, QStringLiteral("見出し「heading」と文例「phrases」のない組があります"));
        Group made{group.value(Heading).toString(), {}};
        for (const QJsonValue& phrase : group.value(Phrases).toArray()) {
            if (!phrase.isString())
                return refused(displayName, QStringLiteral("「%1」に文字列でない文例があります").arg(made.heading));
            made.phrases.append(phrase.toString());
        }
        read.append(made);
    }
    bank = read;
    return Status::success();
}

QByteArray PhraseBank::build(const Bank& bank)
{
    QJsonArray groups;
    for (const Group& group : bank)
        groups.append(QJsonObject{{Heading, group.heading}, {Phrases, QJsonArray::fromStringList(group.phrases)}});
    return QJsonDocument(QJsonObject{{Version, 1}, {Groups, groups}}).toJson(QJsonDocument::Indented);
}

Status PhraseBank::load(const QString& path, const QString& starterPath, Bank& bank)
{
    const bool own = QFileInfo::exists(path);
    const QString from = own ? path : starterPath;
    if (!own && !QFileInfo::exists(starterPath)) {
        bank.clear();
        return Status::success();
    }
    QByteArray bytes;
    if (Status read = SafeFile::read(from, bytes); !read)
        return read;
    return parse(bytes, QFileInfo(from).fileName(), bank);
}

Status PhraseBank::save(const QString& path, const Bank& bank)
{
    const QFileInfo file(path);
    if (!QDir().mkpath(file.absolutePath()))
        return Status::failure(SafeFile::writeFailedMessage(path, QStringLiteral("フォルダを作れません")));
    return SafeFile::writeWithBackup(path, file.absoluteDir().filePath(backupName()), build(bank));
}

bool PhraseBank::add(Bank& bank, const QString& heading, const QString& phrase)
{
    const QString text = phrase.trimmed();
    if (text.isEmpty())
        return false;
    for (Group& group : bank) {
        if (group.heading != heading)
            continue;
        if (group.phrases.contains(text))
            return false;
        group.phrases.append(text);
        return true;
    }
    bank.append({heading, {text}});
    return true;
}

QString PhraseBank::filled(const QString& phrase, const QString& pupilName)
{
    const QStringList parts = wordsOf(pupilName);
    const QString given = parts.isEmpty() ? pupilName : parts.last();
    QString text = phrase;
    return text.replace(NamePlaceholder, given);
}

bool PhraseBank::matches(const QString& heading, const QString& phrase, const QString& words)
{
    for (const QString& word : wordsOf(words))
        if (!phrase.contains(word, Qt::CaseInsensitive) && !heading.contains(word, Qt::CaseInsensitive))
            return false;
    return true;
}
