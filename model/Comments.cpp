// The pupils' comments: where the class file keeps them, how they follow the
// pupils, their length in 全角 characters and the checks a teacher asks for.

#include "model/Comments.h"

#include "model/ClassFile.h"
#include "model/ClassFileFields.h"
#include "model/SafeFile.h"

#include <QJsonArray>
#include <QRegularExpression>

#include <functional>

using namespace ClassFileFields;

namespace {

// Specialist mode keeps a class's comments in its unit; homeroom mode at the root.
bool inUnit(const ClassData& data)
{
    return data.specialistMode;
}

QString stemOf(const ClassData& data)
{
    return data.fileStem[size_t(data.classNumber)];
}

QJsonObject holderOf(const QJsonObject& root, const ClassData& data)
{
    const QJsonObject holder = inUnit(data) ? root.value(Subjects).toObject().value(stemOf(data)).toObject() : root;
    return holder.value(CommentsField).toObject();
}

void putHolder(QJsonObject& root, const ClassData& data, const QJsonObject& comments)
{
    auto put = [&comments](QJsonObject& holder) {
        if (comments.isEmpty())
            holder.remove(CommentsField);
        else
            holder.insert(CommentsField, comments);
    };
    if (!inUnit(data)) {
        put(root);
        return;
    }
    QJsonObject units = root.value(Subjects).toObject();
    QJsonObject unit = units.value(stemOf(data)).toObject();
    put(unit);
    if (unit.isEmpty())
        units.remove(stemOf(data));
    else
        units.insert(stemOf(data), unit);
    if (!units.isEmpty() || root.contains(Subjects))
        root.insert(Subjects, units);
}

// The holder's lists with each changed by `change`; an empty list goes.
void changeLists(QJsonObject& root, const ClassData& data, const std::function<void(QJsonArray&)>& change)
{
    QJsonObject comments = holderOf(root, data);
    for (const QString& term : comments.keys()) {
        QJsonArray list = comments.value(term).toArray();
        change(list);
        while (!list.isEmpty() && list.last().toString().isEmpty())
            list.removeLast();
        if (list.isEmpty())
            comments.remove(term);
        else
            comments.insert(term, list);
    }
    putHolder(root, data, comments);
}

bool isHalfWidth(QChar c)
{
    const ushort u = c.unicode();
    return u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F);
}

// The family and given names of a roster name written with a space between them.
QStringList partsOf(const QString& name)
{
    return name.split(QRegularExpression(QStringLiteral("[\\s\\x{3000}]+")), Qt::SkipEmptyParts);
}

QString withoutSpaces(const QString& text)
{
    QString plain = text;
    plain.remove(QRegularExpression(QStringLiteral("[\\s\\x{3000}]")));
    return plain;
}

// The first way of writing another pupil's name the comment holds; empty for none.
QString otherNameIn(const QString& comment, const QString& ownName, const QString& otherName)
{
    const QString own = withoutSpaces(ownName);
    const QString text = withoutSpaces(comment);
    const QStringList parts = partsOf(otherName);
    QStringList ways{withoutSpaces(otherName)};
    if (parts.size() >= 2) {
        if (parts.last().size() >= 2)
            ways << parts.last();
        for (const QString& honorific : {QStringLiteral("さん"), QStringLiteral("くん"), QStringLiteral("君")})
            ways << parts.first() + honorific;
    }
    for (const QString& way : ways)
        if (!way.isEmpty() && !own.contains(way) && text.contains(way))
            return way;
    return {};
}

}  // namespace

QString Comments::of(const ClassData& data, int term, int pupil)
{
    if (term < 1 || term > Limits::Terms || pupil < 1 || pupil > Limits::Pupils)
        return {};
    return data.comments[size_t(term)][size_t(pupil)];
}

Comments::Table Comments::taken(const QJsonObject& root, const ClassData& data, int pupils)
{
    Table table;
    const QJsonObject comments = holderOf(root, data);
    pupils = qBound(0, pupils, Limits::Pupils);
    for (int t = 1; t <= Limits::Terms; ++t) {
        const QJsonArray list = comments.value(QString::number(t)).toArray();
        for (int p = 1; p <= pupils && p <= list.size(); ++p)
            table[size_t(t)][size_t(p)] = list[p - 1].toString();
    }
    return table;
}

void Comments::store(QJsonObject& root, const ClassData& data, const Table& table, int pupils)
{
    QJsonObject comments = holderOf(root, data);
    pupils = qBound(0, pupils, Limits::Pupils);
    for (int t = 1; t <= Limits::Terms; ++t) {
        int last = pupils;
        while (last > 0 && table[size_t(t)][size_t(last)].isEmpty())
            --last;
        QJsonArray list;
        for (int p = 1; p <= last; ++p)
            list.append(table[size_t(t)][size_t(p)]);
        if (list.isEmpty())
            comments.remove(QString::number(t));
        else
            comments.insert(QString::number(t), list);
    }
    putHolder(root, data, comments);
}

void Comments::insertPupil(QJsonObject& root, const ClassData& data, int n)
{
    changeLists(root, data, [n](QJsonArray& list) {
        if (n >= 0 && n < list.size())
            list.insert(n, QString());
    });
}

void Comments::removePupil(QJsonObject& root, const ClassData& data, int n)
{
    changeLists(root, data, [n](QJsonArray& list) {
        if (n >= 1 && n <= list.size())
            list.removeAt(n - 1);
    });
}

Status Comments::save(const ClassData& data)
{
    return save(data, data.comments);
}

Status Comments::save(const ClassData& data, const Table& comments)
{
    if (!data.classFileProblem.isEmpty())
        return Status::failure(data.classFileProblem);
    ClassFile::Content content;
    if (Status read = ClassFile::read(data, content); !read)
        return read;
    QJsonObject root = content.root;
    store(root, data, comments, data.pupilCount);
    SafeFile::Batch batch;
    ClassFile::addTo(batch, data, content, root);
    return batch.commit();
}

bool Comments::unsaved(const ClassData& data)
{
    ClassFile::Content content;
    if (!ClassFile::read(data, content))
        return true;
    const Table stored = taken(content.root, data, data.pupilCount);
    for (int t = 1; t <= Limits::Terms; ++t)
        for (int p = 1; p <= qBound(0, data.pupilCount, Limits::Pupils); ++p)
            if (stored[size_t(t)][size_t(p)] != data.comments[size_t(t)][size_t(p)])
                return true;
    return false;
}

int Comments::length(const QString& text)
{
    int halves = 0;
    for (QChar c : text) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c.isLowSurrogate())
            continue;
        halves += isHalfWidth(c) ? 1 : 2;
    }
    return (halves + 1) / 2;
}

QList<Comments::Finding> Comments::check(const ClassData& data, int term, int limit)
{
    QList<Finding> findings;
    const int pupils = qBound(0, data.pupilCount, Limits::Pupils);
    for (int p = 1; p <= pupils; ++p) {
        const QString comment = of(data, term, p);
        const QString pupil = Names::numberedPupil(p, data.pupilName[size_t(p)]);
        if (comment.trimmed().isEmpty()) {
            findings.append({Finding::Kind::Empty, p, 0, QStringLiteral("%1：所見がまだ空です。").arg(pupil)});
            continue;
        }
        if (const int n = length(comment); n > limit)
            findings.append({Finding::Kind::OverLimit, p, 0,
                             QStringLiteral("%1：%2字で、%3字を%4字超えています。").arg(pupil).arg(n).arg(limit).arg(n - limit)});
        for (int other = 1; other <= pupils; ++other) {
            if (other == p)
                continue;
            const QString way = otherNameIn(comment, data.pupilName[size_t(p)], data.pupilName[size_t(other)]);
            if (!way.isEmpty())
                findings.append({Finding::Kind::OtherName, p, other,
                                 QStringLiteral("%1：ほかの児童の名前「%2」（%3）が入っています。")
                                     .arg(pupil, way, Names::numberedPupil(other, data.pupilName[size_t(other)]))});
        }
    }
    return findings;
}
