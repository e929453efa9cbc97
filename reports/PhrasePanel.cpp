#include "reports/PhrasePanel.h"

#include "platform/Ui.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int PhraseRole = Qt::UserRole;

}  // namespace

PhrasePanel::PhrasePanel(Ui& ui, QWidget* parent) : QWidget(parent), ui(ui)
{
    setObjectName(QStringLiteral("phrasePanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(QStringLiteral("文例（{名前}は児童の名前になります）"), this);
    caption->setWordWrap(true);
    searchBox = new QLineEdit(this);
    searchBox->setObjectName(QStringLiteral("phraseSearch"));
    searchBox->setPlaceholderText(QStringLiteral("文例を探す（例：発表　係）"));
    searchBox->setClearButtonEnabled(true);
    tree = new QTreeWidget(this);
    tree->setObjectName(QStringLiteral("phraseTree"));
    tree->setHeaderHidden(true);
    tree->setWordWrap(true);
    tree->setUniformRowHeights(false);
    tree->setTextElideMode(Qt::ElideNone);
    tree->header()->setStretchLastSection(true);
    tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tree->viewport()->installEventFilter(this);
    insertPhraseButton = new QPushButton(QStringLiteral("挿入(&I)"), this);
    insertPhraseButton->setObjectName(QStringLiteral("insertPhraseButton"));
    insertPhraseButton->setToolTip(QStringLiteral("選んだ文例を所見のカーソルの位置に入れます（ダブルクリックでも入ります）"));
    layout->addWidget(caption);
    layout->addWidget(searchBox);
    layout->addWidget(tree, 1);
    layout->addWidget(insertPhraseButton);
    connect(searchBox, &QLineEdit::textChanged, this, &PhrasePanel::filter);
    connect(insertPhraseButton, &QPushButton::clicked, this, &PhrasePanel::requestInsert);
    connect(tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (item && item->parent())
            requestInsert();
    });
}

void PhrasePanel::load(const QString& path, const QString& starterPath)
{
    bankPath = path;
    const Status read = PhraseBank::load(path, starterPath, phrases);
    refused = !read.ok;
    if (!read.ok) {
        phrases.clear();
        ui.message(this, read.message + QStringLiteral("\n\n文例なしで開きます。このファイルは書き換えません。"),
                   Ui::Buttons::Ok, Ui::Icon::Warning);
    }
    showBank();
}

void PhrasePanel::showBank()
{
    tree->clear();
    for (const PhraseBank::Group& group : phrases) {
        auto* heading = new QTreeWidgetItem(tree, {group.heading});
        QFont bold = heading->font(0);
        bold.setBold(true);
        heading->setFont(0, bold);
        for (const QString& phrase : group.phrases) {
            auto* item = new QTreeWidgetItem(heading, {phrase});
            item->setData(0, PhraseRole, phrase);
            item->setToolTip(0, phrase);
        }
    }
    tree->expandAll();
    filter(searchBox->text());
    fitRows();
}

void PhrasePanel::fitRows()
{
    const int width = tree->viewport()->width() - tree->indentation() - 8;
    if (width <= 0)
        return;
    const QFontMetrics metrics(tree->font());
    for (int g = 0; g < tree->topLevelItemCount(); ++g) {
        QTreeWidgetItem* heading = tree->topLevelItem(g);
        for (int i = 0; i < heading->childCount(); ++i) {
            QTreeWidgetItem* item = heading->child(i);
            const QRect lines = metrics.boundingRect(QRect(0, 0, width, 10000), Qt::TextWordWrap, item->text(0));
            item->setSizeHint(0, QSize(width, lines.height() + 6));
        }
    }
    tree->doItemsLayout();
}

bool PhrasePanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tree->viewport() && event->type() == QEvent::Resize)
        fitRows();
    return QWidget::eventFilter(watched, event);
}

void PhrasePanel::filter(const QString& words)
{
    for (int g = 0; g < tree->topLevelItemCount(); ++g) {
        QTreeWidgetItem* heading = tree->topLevelItem(g);
        bool any = false;
        for (int i = 0; i < heading->childCount(); ++i) {
            QTreeWidgetItem* item = heading->child(i);
            const bool shown = PhraseBank::matches(heading->text(0), item->text(0), words);
            item->setHidden(!shown);
            any = any || shown;
        }
        heading->setHidden(!any);
    }
}

void PhrasePanel::requestInsert()
{
    QTreeWidgetItem* item = tree->currentItem();
    if (!item || !item->parent() || item->isHidden()) {
        ui.message(this, QStringLiteral("入れる文例を一覧から選んでください。"), Ui::Buttons::Ok, Ui::Icon::Information);
        return;
    }
    emit insertRequested(item->data(0, PhraseRole).toString());
}

QString PhrasePanel::chosenHeading() const
{
    const QTreeWidgetItem* item = tree->currentItem();
    if (item)
        return (item->parent() ? item->parent() : item)->text(0);
    return phrases.isEmpty() ? QStringLiteral("学習") : phrases.first().heading;
}

void PhrasePanel::addPhrase(const QString& text)
{
    if (text.trimmed().isEmpty()) {
        ui.message(this, QStringLiteral("文例にしたい部分を所見の中で選んでから押してください。"), Ui::Buttons::Ok,
                   Ui::Icon::Information);
        return;
    }
    if (refused) {
        ui.message(this, QStringLiteral("文例ファイルを読み込めなかったため、文例は追加できません。"), Ui::Buttons::Ok,
                   Ui::Icon::Warning);
        return;
    }
    const std::optional<QString> heading =
        ui.input(this, QStringLiteral("どの見出しに入れますか（学習・生活・行事 など。新しい見出しも書けます）"),
                 QStringLiteral("文例に追加"), chosenHeading());
    if (!heading || heading->trimmed().isEmpty())
        return;
    PhraseBank::Bank added = phrases;
    if (!PhraseBank::add(added, heading->trimmed(), text)) {
        ui.message(this, QStringLiteral("この文例は「%1」にもうあります。").arg(heading->trimmed()), Ui::Buttons::Ok,
                   Ui::Icon::Information);
        return;
    }
    const Status saved = PhraseBank::save(bankPath, added);
    if (!saved.ok) {
        ui.message(this, saved.message + QStringLiteral("\n\n文例は追加されていません。文例ファイルは元のままで、"
                                                        "選んだ文は所見に残っています。"),
                   Ui::Buttons::Ok, Ui::Icon::Warning);
        return;
    }
    phrases = added;
    showBank();
}
