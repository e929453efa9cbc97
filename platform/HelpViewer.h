#pragma once
// The help window: the teacher's manual (HTML pages in the help folder) with a
// contents list of every page and its sections, back and forward, a search over
// all pages, and larger or smaller text. One window serves the whole program;
// showPage brings it to the front at a page ("entry.html") or a section of one
// ("entry.html#keys").

#include "platform/HelpIndex.h"

#include <QWidget>

class QAction;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(const QString& helpFolder, QWidget* parent = nullptr);

    void showPage(const QString& page);
    // Runs a search as if typed into the search box.
    void search(const QString& words);
    // The page shown, "entry.html" or "entry.html#keys".
    QString currentPage() const;

private:
    void buildToolbar();
    void buildContents();
    QWidget* buildSearchPanel();
    void openUrl(const QUrl& url);
    void followSource(const QUrl& url);
    void openHit(int row);
    void highlight(const QString& anchor, const QStringList& words);
    void showMissing(const QString& page);
    QTreeWidgetItem* contentsItem(const QString& page) const;

    HelpIndex index;
    QTextBrowser* browser = nullptr;
    QTabWidget* sideTabs = nullptr;
    QTreeWidget* contents = nullptr;
    QLineEdit* searchBox = nullptr;
    QListWidget* results = nullptr;
    QAction* backAction = nullptr;
    QAction* forwardAction = nullptr;
    QList<HelpIndex::Hit> hits;
    QStringList searchedWords;
};
