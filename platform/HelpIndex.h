#pragma once
// The teacher's manual as the help window lists and searches it: the pages in the
// order of the contents page (index.html), each with its title and its sections
// (the h2 headings that carry an id), and a plain-text index of every section.
//
// A search takes one or more words (separated by blanks) and finds the sections
// that hold all of them. Text is compared after width and case folding, so that
// "ﾌﾟﾚﾋﾞｭｰ" finds "プレビュー", "ＣＳＶ" finds "csv" and the reverse.

#include <QList>
#include <QString>

class HelpIndex {
public:
    struct Section {
        QString anchor;   // empty for the part of a page before its first section
        QString heading;
        QString text;     // folded plain text
    };
    struct Page {
        QString file;     // "entry.html"
        QString title;    // the page's <title>
        QList<Section> sections;
    };
    struct Hit {
        QString page;     // "entry.html" or "entry.html#keys"
        QString title;    // page title, and the section's heading after " ― "
        QString excerpt;  // the text around the first word found
    };

    // Reads the contents page and every page it links to from `folder`.
    explicit HelpIndex(const QString& folder);

    QString folder() const { return helpFolder; }
    // The pages in contents order (the contents page itself first).
    const QList<Page>& pages() const { return list; }
    const Page* page(const QString& file) const;
    // The sections that hold every word of `words`, in contents order.
    QList<Hit> search(const QString& words) const;

    // Width and case folding: half-width kana to full width, full-width letters and
    // digits to ASCII, lower case.
    static QString folded(const QString& text);

private:
    void readPage(const QString& file, const QString& fallbackTitle);

    QString helpFolder;
    QList<Page> list;
};
