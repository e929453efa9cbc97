#include "platform/HelpViewer.h"

#include "platform/HelpPicture.h"
#include "platform/HelpTopics.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int PageRole = Qt::UserRole;

QString pageOfUrl(const QUrl& url)
{
    const QString file = QFileInfo(url.toLocalFile()).fileName();
    return url.hasFragment() ? file + QLatin1Char('#') + url.fragment() : file;
}

// Where an anchor (an <a name> or an element's id) starts in the document; -1 when
// there is none.
int anchorPosition(const QTextDocument& document, const QString& anchor)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().anchorNames().contains(anchor))
                return it.fragment().position();
    return -1;
}

}  // namespace

HelpViewer::HelpViewer(const QString& helpFolder, QWidget* parent) : QWidget(parent), index(helpFolder)
{
    setObjectName(QStringLiteral("helpViewer"));
    setWindowTitle(QStringLiteral("かざね ヘルプ"));
    setWindowFlag(Qt::Window);
    browser = new QTextBrowser(this);
    browser->setObjectName(QStringLiteral("helpBrowser"));
    browser->setOpenLinks(false);
    browser->setSearchPaths({helpFolder});
    connect(browser, &QTextBrowser::anchorClicked, this, &HelpViewer::openUrl);
    connect(browser, &QTextBrowser::sourceChanged, this, &HelpViewer::followSource);

    sideTabs = new QTabWidget(this);
    sideTabs->setObjectName(QStringLiteral("helpSideTabs"));
    buildContents();
    sideTabs->addTab(contents, QStringLiteral("目次"));
    sideTabs->addTab(buildSearchPanel(), QStringLiteral("検索"));

    auto* splitter = new QSplitter(this);
    splitter->addWidget(sideTabs);
    splitter->addWidget(browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 640});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildToolbar();
    layout->addWidget(findChild<QToolBar*>(QStringLiteral("helpToolbar")));
    layout->addWidget(splitter, 1);
    resize(960, 680);
}

void HelpViewer::buildToolbar()
{
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("helpToolbar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    backAction = bar->addAction(QStringLiteral("← 戻る"));
    backAction->setObjectName(QStringLiteral("helpBack"));
    backAction->setShortcut(QKeySequence::Back);
    backAction->setToolTip(QStringLiteral("前に見たページに戻ります (Alt+←)"));
    backAction->setEnabled(false);
    forwardAction = bar->addAction(QStringLiteral("進む →"));
    forwardAction->setObjectName(QStringLiteral("helpForward"));
    forwardAction->setShortcut(QKeySequence::Forward);
    forwardAction->setToolTip(QStringLiteral("戻る前のページに進みます (Alt+→)"));
    forwardAction->setEnabled(false);
    QAction* home = bar->addAction(QStringLiteral("目次"));
    home->setObjectName(QStringLiteral("helpHome"));
    home->setToolTip(QStringLiteral("ヘルプの目次を開きます"));
    bar->addSeparator();
    QAction* larger = bar->addAction(QStringLiteral("文字を大きく"));
    larger->setObjectName(QStringLiteral("helpLarger"));
    larger->setShortcut(QKeySequence::ZoomIn);
    QAction* smaller = bar->addAction(QStringLiteral("文字を小さく"));
    smaller->setObjectName(QStringLiteral("helpSmaller"));
    smaller->setShortcut(QKeySequence::ZoomOut);
    bar->addSeparator();
    QAction* find = bar->addAction(QStringLiteral("検索"));
    find->setObjectName(QStringLiteral("helpFind"));
    find->setShortcut(QKeySequence::Find);
    find->setToolTip(QStringLiteral("ヘルプ全体からことばを探します (Ctrl+F)"));
    QAction* close = bar->addAction(QStringLiteral("閉じる"));
    close->setObjectName(QStringLiteral("helpClose"));
    close->setShortcut(QKeySequence(Qt::Key_Escape));

    connect(backAction, &QAction::triggered, browser, &QTextBrowser::backward);
    connect(forwardAction, &QAction::triggered, browser, &QTextBrowser::forward);
    connect(browser, &QTextBrowser::backwardAvailable, backAction, &QAction::setEnabled);
    connect(browser, &QTextBrowser::forwardAvailable, forwardAction, &QAction::setEnabled);
    connect(home, &QAction::triggered, this, [this] { showPage(HelpTopics::contentsPage()); });
    connect(larger, &QAction::triggered, browser, [this] { browser->zoomIn(1); });
    connect(smaller, &QAction::triggered, browser, [this] { browser->zoomOut(1); });
    connect(find, &QAction::triggered, this, [this] {
        sideTabs->setCurrentIndex(1);
        searchBox->setFocus();
        searchBox->selectAll();
    });
    connect(close, &QAction::triggered, this, &QWidget::close);
}

void HelpViewer::buildContents()
{
    contents = new QTreeWidget(this);
    contents->setObjectName(QStringLiteral("helpContents"));
    contents->setHeaderHidden(true);
    contents->setRootIsDecorated(true);
    for (const HelpIndex::Page& page : index.pages()) {
        auto* item = new QTreeWidgetItem(contents, {page.title});
        item->setData(0, PageRole, page.file);
        for (const HelpIndex::Section& section : page.sections) {
            if (section.anchor.isEmpty())
                continue;
            auto* sub = new QTreeWidgetItem(item, {section.heading});
            sub->setData(0, PageRole, page.file + QLatin1Char('#') + section.anchor);
        }
    }
    connect(contents, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { showPage(item->data(0, PageRole).toString()); });
    connect(contents, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { showPage(item->data(0, PageRole).toString()); });
}

QWidget* HelpViewer::buildSearchPanel()
{
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    auto* label = new QLabel(QStringLiteral("調べたいことばを入れて Enter を押してください。"), panel);
    label->setWordWrap(true);
    searchBox = new QLineEdit(panel);
    searchBox->setObjectName(QStringLiteral("helpSearchBox"));
    searchBox->setPlaceholderText(QStringLiteral("例: 満点　欠席"));
    searchBox->setClearButtonEnabled(true);
    results = new QListWidget(panel);
    results->setObjectName(QStringLiteral("helpResults"));
    results->setWordWrap(true);
    results->setSpacing(2);
    layout->addWidget(label);
    layout->addWidget(searchBox);
    layout->addWidget(results, 1);
    connect(searchBox, &QLineEdit::returnPressed, this, [this] { search(searchBox->text()); });
    connect(results, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { openHit(results->row(item)); });
    connect(results, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { openHit(results->row(item)); });
    return panel;
}

void HelpViewer::search(const QString& words)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    if (searchBox->text() != words)
        searchBox->setText(words);
    sideTabs->setCurrentIndex(1);
    results->clear();
    searchedWords = words.split(blanks, Qt::SkipEmptyParts);
    hits = index.search(words);
    if (searchedWords.isEmpty())
        return;
    if (hits.isEmpty()) {
        auto* none = new QListWidgetItem(QStringLiteral("「%1」は見つかりませんでした。別のことばで探してください。").arg(words.trimmed()));
        none->setFlags(Qt::NoItemFlags);
        results->addItem(none);
        return;
    }
    for (const HelpIndex::Hit& hit : hits)
        results->addItem(hit.title + QLatin1Char('\n') + hit.excerpt);
}

void HelpViewer::openHit(int row)
{
    if (row < 0 || row >= hits.size())
        return;
    const QString page = hits[row].page;
    showPage(page);
    const qsizetype hash = page.indexOf(QLatin1Char('#'));
    highlight(hash < 0 ? QString() : page.mid(hash + 1), searchedWords);
}

// Selects the first of the words found after the section's start, so the teacher
// sees where it stands.
void HelpViewer::highlight(const QString& anchor, const QStringList& words)
{
    QTextDocument* document = browser->document();
    const int start = anchor.isEmpty() ? 0 : qMax(0, anchorPosition(*document, anchor));
    for (const QString& word : words) {
        for (const QString& form : {word, HelpIndex::folded(word)}) {
            const QTextCursor found = document->find(form, start);
            if (!found.isNull()) {
                browser->setTextCursor(found);
                browser->ensureCursorVisible();
                return;
            }
        }
    }
}

void HelpViewer::showPage(const QString& page)
{
    const qsizetype hash = page.indexOf(QLatin1Char('#'));
    const QString file = hash < 0 ? page : page.left(hash);
    const QString path = QDir(index.folder()).filePath(file);
    if (file.isEmpty() || !QFileInfo::exists(path)) {
        showMissing(page);
    } else {
        QUrl url = QUrl::fromLocalFile(path);
        if (hash >= 0)
            url.setFragment(page.mid(hash + 1));
        if (browser->source() == url && hash >= 0)
            browser->scrollToAnchor(url.fragment());
        else
            browser->setSource(url);
    }
    show();
    raise();
    activateWindow();
}

void HelpViewer::showMissing(const QString& page)
{
    browser->setHtml(QStringLiteral("<h2>ヘルプのページが見つかりません</h2>"
                                    "<p>「%1」がヘルプのフォルダ（%2）にありません。"
                                    "かざねを入れ直すと、ヘルプも元に戻ります。</p>")
                         .arg(page.toHtmlEscaped(), index.folder().toHtmlEscaped()));
}

void HelpViewer::openUrl(const QUrl& url)
{
    if (url.isLocalFile() || url.isRelative()) {
        const QUrl resolved = browser->source().resolved(url);
        // A page's picture links to itself: it opens at full size.
        if (resolved.path().endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) {
            HelpPicture::show(resolved.toLocalFile(), windowTitle() + QStringLiteral(" - 図"), this);
            return;
        }
        showPage(pageOfUrl(resolved));
        return;
    }
    // The manual links only to its own pages.
}

void HelpViewer::followSource(const QUrl& url)
{
    const QString page = pageOfUrl(url);
    const HelpIndex::Page* shown = index.page(page.section(QLatin1Char('#'), 0, 0));
    setWindowTitle(shown ? QStringLiteral("かざね ヘルプ - %1").arg(shown->title) : QStringLiteral("かざね ヘルプ"));
    if (QTreeWidgetItem* item = contentsItem(page)) {
        const QSignalBlocker quiet(contents);
        contents->setCurrentItem(item);
        contents->scrollToItem(item);
    }
}

QTreeWidgetItem* HelpViewer::contentsItem(const QString& page) const
{
    const QString file = page.section(QLatin1Char('#'), 0, 0);
    QTreeWidgetItem* pageItem = nullptr;
    for (int i = 0; i < contents->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = contents->topLevelItem(i);
        if (item->data(0, PageRole).toString() != file)
            continue;
        pageItem = item;
        for (int j = 0; j < item->childCount(); ++j)
            if (item->child(j)->data(0, PageRole).toString() == page)
                return item->child(j);
    }
    return pageItem;
}

QString HelpViewer::currentPage() const
{
    return pageOfUrl(browser->source());
}
