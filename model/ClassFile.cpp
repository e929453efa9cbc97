// The class file as a whole: its names, reading and checking it, writing it into a
// batch, and the current unit loaded from it and saved into it.

#include "model/ClassFile.h"

#include "model/ClassFileFields.h"
#include "model/DataFolder.h"
#include "model/SafeFile.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <cmath>

using namespace ClassFileFields;

namespace {

// What a parse error of QJsonDocument means, in words a teacher can pass on.
QString parseErrorText(QJsonParseError::ParseError error)
{
    switch (error) {
    case QJsonParseError::UnterminatedObject:
        return QStringLiteral("「}」が足りません");
    case QJsonParseError::MissingNameSeparator:
        return QStringLiteral("項目名の後の「:」がありません");
    case QJsonParseError::UnterminatedArray:
        return QStringLiteral("「]」が足りません");
    case QJsonParseError::MissingValueSeparator:
        return QStringLiteral("項目の間の「,」がありません");
    case QJsonParseError::IllegalNumber:
    case QJsonParseError::TerminationByNumber:
        return QStringLiteral("数が正しく書かれていません");
    case QJsonParseError::IllegalEscapeSequence:
    case QJsonParseError::IllegalUTF8String:
        return QStringLiteral("文字が正しくありません（文字コード「UTF-8」で保存してください）");
    case QJsonParseError::UnterminatedString:
        return QStringLiteral("文字列を閉じる「\"」がありません");
    case QJsonParseError::MissingObject:
        return QStringLiteral("全体が「{ }」で囲まれていません");
    case QJsonParseError::GarbageAtEnd:
        return QStringLiteral("終わりの「}」の後に余分な文字があります");
    default:
        return QStringLiteral("「JSON」として読めない書き方です");
    }
}

// "3行目・15文字目": the line and the character of a byte offset in UTF-8 text.
QString placeOf(const QByteArray& bytes, int offset)
{
    const QByteArray before = bytes.left(qBound(0, offset, int(bytes.size())));
    const int lineStart = before.lastIndexOf('\n') + 1;
    const int line = int(before.count('\n')) + 1;
    const int column = int(QString::fromUtf8(before.mid(lineStart)).size()) + 1;
    return QStringLiteral("%1行目・%2文字目").arg(line).arg(column);
}

Status refused(const QString& displayName, const QString& place, const QString& why)
{
    return Status::failure(QStringLiteral("クラスファイル「%1」を読み込めません。\n%2：%3。").arg(displayName, place, why));
}

bool isWhole(const QJsonValue& value, int low, int high)
{
    if (!value.isDouble())
        return false;
    const double number = value.toDouble();
    return number == std::floor(number) && number >= low && number <= high;
}

// Where a field is, named only when a check fails: a whole class file is checked
// at every start, and the names of its thousands of places are never needed then.
struct Place {
    const Place* parent = nullptr;
    QString name;          // a field's name; empty for the index-th item of a list
    qsizetype index = -1;

    QString text() const
    {
        const QString before = parent ? parent->text() : QString();
        if (index >= 0)
            return before + QStringLiteral("の%1番目").arg(index + 1);
        return before.isEmpty() ? QStringLiteral("項目「%1」").arg(name) : before + QStringLiteral("の「%1」").arg(name);
    }
};

// The place of a field of the root (`at` null) or of the object at `at`; a place
// keeps a pointer to its parent, so the parent must outlive it.
Place field(const Place* at, const QString& name)
{
    return {at, name, -1};
}

Place item(const Place& at, qsizetype index)
{
    return {&at, {}, index};
}

// Checks the fields this program reads; any other field may hold anything.
class Checker {
public:
    QString place;
    QString why;

    bool fail(const Place& at, const QString& reason)
    {
        place = at.text();
        why = reason;
        return false;
    }
    bool root(const QJsonObject& object);

private:
    bool unit(const QJsonObject& object, const Place& at);
    bool test(const QJsonObject& object, const Place& at);
    bool overruling(const QJsonObject& object, const Place& at);
    bool wholeList(const QJsonValue& value, int low, int high, const Place& at);
};


bool Checker::root(const QJsonObject& object)
{
    const QJsonValue version = object.value(Version);
    if (version.isUndefined())
        return fail(field(nullptr, Version), QStringLiteral("版の番号がありません"));
    if (!isWhole(version, 1, 1))
        return fail(field(nullptr, Version), QStringLiteral("このかざねが読める版（1）ではありません"));
    const QJsonValue units = object.value(Subjects);
    if (units.isUndefined())
        return true;
    if (!units.isObject())
        return fail(field(nullptr, Subjects), QStringLiteral("「{ }」ではありません"));
    const QJsonObject all = units.toObject();
    const Place subjects = field(nullptr, Subjects);
    for (auto it = all.begin(); it != all.end(); ++it) {
        const Place at = field(&subjects, it.key());
        if (!it.value().isObject())
            return fail(at, QStringLiteral("「{ }」ではありません"));
        if (!unit(it.value().toObject(), at))
            return false;
    }
    return true;
}

bool Checker::unit(const QJsonObject& object, const Place& at)
{
    for (const QString& name : {Tests, Overrulings}) {
        const QJsonValue list = object.value(name);
        if (list.isUndefined())
            continue;
        const Place listAt = field(&at, name);
        if (!list.isArray())
            return fail(listAt, QStringLiteral("「[ ]」ではありません"));
        const QJsonArray entries = list.toArray();
        for (qsizetype i = 0; i < entries.size(); ++i) {
            if (!entries[i].isObject())
                return fail(item(listAt, i), QStringLiteral("「{ }」ではありません"));
            const QJsonObject entry = entries[i].toObject();
            const Place entryAt = item(listAt, i);
            if (!(name == Tests ? test(entry, entryAt) : overruling(entry, entryAt)))
                return false;
        }
        if (name == Tests && entries.size() > Limits::Tests)
            return fail(listAt, QStringLiteral("テストは%1件までです").arg(Limits::Tests));
    }
    return true;
}

bool Checker::test(const QJsonObject& object, const Place& at)
{
    if (const QJsonValue weight = object.value(Weight); !weight.isUndefined()) {
        const double w = weight.toDouble(-1);
        if (!weight.isDouble() || w < MinimumWeight || w > MaximumWeight || std::fabs(w * 2 - std::round(w * 2)) > 1e-9)
            return fail(field(&at, Weight), QStringLiteral("重みは0.5から5までの0.5刻みの数です"));
    }
    if (const QJsonValue kind = object.value(Kind); !kind.isUndefined() && kind != KindScores && kind != KindObservation)
        return fail(field(&at, Kind), QStringLiteral("「%1」か「%2」のどちらかです").arg(KindScores, KindObservation));
    if (const QJsonValue term = object.value(Term); !term.isUndefined() && !isWhole(term, 0, 3))
        return fail(field(&at, Term), QStringLiteral("学期は0から3までの整数です"));
    const QJsonValue cells = object.value(NotEnteredCells);
    if (cells.isUndefined())
        return true;
    if (!cells.isObject())
        return fail(field(&at, NotEnteredCells), QStringLiteral("「{ }」ではありません"));
    const QJsonObject columns = cells.toObject();
    const Place cellsAt = field(&at, NotEnteredCells);
    for (auto it = columns.begin(); it != columns.end(); ++it) {
        const Place columnAt = field(&cellsAt, it.key());
        bool number = false;
        const int column = it.key().toInt(&number);
        if (!number || column < 1 || column > Limits::Columns || it.key() != QString::number(column))
            return fail(columnAt, QStringLiteral("列は\"1\"から\"4\"までです"));
        if (!wholeList(it.value(), 1, Limits::Pupils, columnAt))
            return false;
    }
    return true;
}

bool Checker::overruling(const QJsonObject& object, const Place& at)
{
    if (!isWhole(object.value(Pupil), 1, Limits::Pupils))
        return fail(field(&at, Pupil), QStringLiteral("出席番号（1から%1までの整数）がありません").arg(Limits::Pupils));
    if (!isWhole(object.value(Group), 0, Limits::Viewpoints))
        return fail(field(&at, Group), QStringLiteral("0（評定）から4（観点Ⅳ）までの整数がありません"));
    if (const QJsonValue tests = object.value(Tests); !tests.isUndefined() && !wholeList(tests, 1, Limits::Tests, field(&at, Tests)))
        return false;
    for (const QString& name : {Computed, Given, Reason, Date})
        if (const QJsonValue text = object.value(name); !text.isUndefined() && !text.isString())
            return fail(field(&at, name), QStringLiteral("文字列ではありません"));
    if (const QJsonValue date = object.value(Date); date.isString() && !QDate::fromString(date.toString(), Qt::ISODate).isValid())
        return fail(field(&at, Date), QStringLiteral("日付（2026-12-07の形）ではありません"));
    return true;
}

bool Checker::wholeList(const QJsonValue& value, int low, int high, const Place& at)
{
    if (!value.isArray())
        return fail(at, QStringLiteral("「[ ]」ではありません"));
    const QJsonArray list = value.toArray();
    for (qsizetype i = 0; i < list.size(); ++i)
        if (!isWhole(list[i], low, high))
            return fail(item(at, i), QStringLiteral("%1から%2までの整数ではありません").arg(low).arg(high));
    return true;
}

}  // namespace

QString ClassFile::fileName()
{
    return QStringLiteral("assessment.json");
}

QString ClassFile::backupName()
{
    return QStringLiteral("assessment.bak");
}

QString ClassFile::path(const ClassData& data)
{
    return DataFolder::resolve(data.dataFolder, fileName());
}

QString ClassFile::backupPath(const ClassData& data)
{
    return DataFolder::resolve(data.dataFolder, backupName());
}

Status ClassFile::parse(const QByteArray& bytes, const QString& displayName, QJsonObject& root)
{
    // A byte-order mark, as some editors write one, is no part of the JSON.
    const int start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    const QByteArray text = bytes.mid(start);
    if (text.trimmed().isEmpty())
        return refused(displayName, QStringLiteral("1行目"), QStringLiteral("ファイルが空です"));
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError) {
        // The parser stops one character past the one it could not take, except
        // where the text ends early, goes on after the end, or is no UTF-8.
        const bool exact = error.offset >= text.size() || error.error == QJsonParseError::GarbageAtEnd
            || error.error == QJsonParseError::IllegalUTF8String;
        return refused(displayName, placeOf(text, exact ? error.offset : error.offset - 1), parseErrorText(error.error));
    }
    if (!document.isObject())
        return refused(displayName, QStringLiteral("1行目"), parseErrorText(QJsonParseError::MissingObject));
    Checker checker;
    if (!checker.root(document.object()))
        return refused(displayName, checker.place, checker.why);
    root = document.object();
    return Status::success();
}

Status ClassFile::read(const ClassData& data, Content& content)
{
    const QString filePath = path(data);
    content = Content();
    content.root.insert(Version, 1);
    content.existed = QFileInfo::exists(filePath) || QFileInfo(filePath).isSymLink();
    if (!content.existed)
        return Status::success();
    if (Status read = SafeFile::read(filePath, content.bytes); !read)
        return read;
    return parse(content.bytes, fileName(), content.root);
}

QByteArray ClassFile::build(const QJsonObject& root)
{
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool ClassFile::changes(const Content& old, const QJsonObject& root)
{
    if (!old.existed)
        return !holdsNothing(root);
    return build(root) != old.bytes;
}

void ClassFile::addTo(SafeFile::Batch& batch, const ClassData& data, const Content& old, const QJsonObject& root)
{
    if (!changes(old, root))
        return;
    batch.backup(path(data), backupPath(data));
    batch.write(path(data), build(root));
}

QString ClassFile::refusedNotice(const QString& problem)
{
    return problem
        + QStringLiteral("\n\n重み・観察（Ａ・Ｂ・Ｃ）・未入力・評定の修正を使わずに、点数だけで開きます。"
                         "このファイルは書き換えません。ファイルを直すか別の名前に変えてから、開き直してください。");
}

Status ClassFile::load(ClassData& data)
{
    Content content;
    const Status read = ClassFile::read(data, content);
    if (!read) {
        // Without the file every test counts once and every cell holds what the
        // score file holds.
        apply(QJsonObject(), data.unitName(), data.pupilCount, data.tests, data.overrulings);
        const bool told = data.classFileProblem == read.message;
        data.classFileProblem = read.message;
        return told ? Status::success() : Status::notice(refusedNotice(read.message));
    }
    data.classFileProblem.clear();
    apply(content.root, data.unitName(), data.pupilCount, data.tests, data.overrulings);
    return Status::success();
}

namespace {

Status saveUnit(const ClassData& data, const std::function<void(QJsonObject&)>& store)
{
    if (!data.classFileProblem.isEmpty())
        return Status::failure(data.classFileProblem);
    ClassFile::Content content;
    if (Status read = ClassFile::read(data, content); !read)
        return read;
    QJsonObject root = content.root;
    store(root);
    SafeFile::Batch batch;
    ClassFile::addTo(batch, data, content, root);
    return batch.commit();
}

}  // namespace

Status ClassFile::saveTests(const ClassData& data)
{
    return saveUnit(data, [&data](QJsonObject& root) { storeTests(root, data.unitName(), data.tests, data.pupilCount); });
}

Status ClassFile::saveOverrulings(const ClassData& data)
{
    return saveUnit(data, [&data](QJsonObject& root) { storeOverrulings(root, data.unitName(), data.overrulings); });
}
