#include "platform/HelpIndex.h"

#include "platform/HelpTopics.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextDocumentFragment>

namespace {

QString readText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString plainText(const QString& html)
{
    return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}

QString titleOf(const QString& html)
{
    static const QRegularExpression title(QStringLiteral("<title>(.*?)</title>"),
                                          QRegularExpression::DotMatchesEverythingOption);
    return plainText(title.match(html).captured(1));
}

// The page's body cut at each h2 heading that has an id.
QList<HelpIndex::Section> sectionsOf(const QString& html)
{
    static const QRegularExpression body(QStringLiteral("<body[^>]*>(.*)</body>"),
                                         QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression heading(QStringLiteral("<h2[^>]*\\bid=\"([^\"]+)\"[^>]*>(.*?)</h2>"),
                                            QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch bodyMatch = body.match(html);
    const QString content = bodyMatch.hasMatch() ? bodyMatch.captured(1) : html;
    QList<HelpIndex::Section> sections;
    HelpIndex::Section current;
    qsizetype start = 0;
    auto it = heading.globalMatch(content);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        current.text = HelpIndex::folded(plainText(content.mid(start, match.capturedStart() - start)));
        sections.append(current);
        current = HelpIndex::Section{match.captured(1), plainText(match.captured(2)), {}};
        start = match.capturedStart();
    }
    current.text = HelpIndex::folded(plainText(content.mid(start)));
    sections.append(current);
    return sections;
}

QString excerpt(const QString& text, qsizetype at)
{
    constexpr qsizetype Before = 20;
    constexpr qsizetype Length = 60;
    const qsizetype from = qMax<qsizetype>(0, at - Before);
    QString part = text.mid(from, Length);
    if (from > 0)
        part.prepend(QStringLiteral("…"));
    if (from + Length < text.size())
        part.append(QStringLiteral("…"));
    return part;
}

}  // namespace

HelpIndex::HelpIndex(const QString& folder) : helpFolder(folder)
{
    const QString contents = HelpTopics::contentsPage();
    readPage(contents, QString());
    static const QRegularExpression link(QStringLiteral("<a\\s+href=\"([^\"#:]+\\.html)\"[^>]*>(.*?)</a>"),
                                         QRegularExpression::DotMatchesEverythingOption);
    auto it = link.globalMatch(readText(QDir(folder).filePath(contents)));
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        if (!page(match.captured(1)))
            readPage(match.captured(1), plainText(match.captured(2)));
    }
}

void HelpIndex::readPage(const QString& file, const QString& fallbackTitle)
{
    const QString html = readText(QDir(helpFolder).filePath(file));
    if (html.isEmpty())
        return;
    const QString title = titleOf(html);
    list.append(Page{file, title.isEmpty() ? fallbackTitle : title, sectionsOf(html)});
}

const HelpIndex::Page* HelpIndex::page(const QString& file) const
{
    for (const Page& p : list)
        if (p.file == file)
            return &p;
    return nullptr;
}

QString HelpIndex::folded(const QString& text)
{
    return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

QList<HelpIndex::Hit> HelpIndex::search(const QString& words) const
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList wanted = folded(words).split(blanks, Qt::SkipEmptyParts);
    QList<Hit> hits;
    if (wanted.isEmpty())
        return hits;
    for (const Page& p : list) {
        for (const Section& section : p.sections) {
            const QString haystack = folded(section.heading) + QLatin1Char(' ') + section.text;
            bool all = true;
            for (const QString& word : wanted)
                all = all && haystack.contains(word);
            if (!all)
                continue;
            Hit hit;
            hit.page = section.anchor.isEmpty() ? p.file : p.file + QLatin1Char('#') + section.anchor;
            hit.title = section.heading.isEmpty() ? p.title : p.title + QStringLiteral(" ― ") + section.heading;
            hit.excerpt = excerpt(haystack, haystack.indexOf(wanted.first()));
            hits.append(hit);
        }
    }
    return hits;
}
