#include "output/PrintConfirmDialog.h"

#include "output/PrintChoice.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

template <typename T>
T* named(T* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

}  // namespace

PrintConfirmDialog::PrintConfirmDialog(const QString& title, const QString& printer, const QStringList& labels,
                                       const QList<int>& pages, int copies, QWidget* parent)
    : QDialog(parent), printer(printer), pages(pages)
{
    setObjectName(QStringLiteral("printConfirmDialog"));
    setWindowTitle(QStringLiteral("印刷の確認"));
    auto* root = new QVBoxLayout(this);
    auto* heading = named(new QLabel(QStringLiteral("「%1」を印刷します。").arg(title), this), "titleLabel");
    heading->setWordWrap(true);
    root->addWidget(heading);

    sheetList = named(new QListWidget(this), "sheetList");
    for (int i = 0; i < labels.size(); ++i) {
        auto* item = new QListWidgetItem(QStringLiteral("%1（%2ページ）").arg(labels[i]).arg(pages.value(i)), sheetList);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Checked);
    }
    auto* all = named(new QPushButton(QStringLiteral("すべて選ぶ"), this), "selectAllButton");
    auto* none = named(new QPushButton(QStringLiteral("すべて外す"), this), "selectNoneButton");
    auto* choosers = new QHBoxLayout;
    choosers->addWidget(all);
    choosers->addWidget(none);
    choosers->addStretch(1);
    const bool several = labels.size() > 1;
    sheetList->setVisible(several);
    all->setVisible(several);
    none->setVisible(several);
    if (several) {
        root->addWidget(new QLabel(QStringLiteral("印刷する児童（印を外すと印刷しません）："), this));
        root->addWidget(sheetList, 1);
        root->addLayout(choosers);
    }

    copiesBox = named(new QSpinBox(this), "copiesBox");
    copiesBox->setRange(1, PrintChoice::MaxCopies);
    copiesBox->setSuffix(QStringLiteral(" 部"));
    copiesBox->setValue(copies);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("部数："), copiesBox);
    root->addLayout(form);
    summary = named(new QLabel(this), "summaryLabel");
    summary->setWordWrap(true);
    root->addWidget(summary);

    printButton = named(new QPushButton(QStringLiteral("印刷"), this), "confirmPrintButton");
    auto* cancel = named(new QPushButton(QStringLiteral("キャンセル"), this), "cancelButton");
    printButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(printButton);
    buttons->addWidget(cancel);
    root->addLayout(buttons);
    setMinimumWidth(420);

    connect(all, &QPushButton::clicked, this, [this] { setAll(true); });
    connect(none, &QPushButton::clicked, this, [this] { setAll(false); });
    connect(sheetList, &QListWidget::itemChanged, this, [this] { updateSummary(); });
    connect(copiesBox, &QSpinBox::valueChanged, this, [this] { updateSummary(); });
    connect(printButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    updateSummary();
}

void PrintConfirmDialog::setAll(bool checked)
{
    for (int i = 0; i < sheetList->count(); ++i)
        sheetList->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

QList<int> PrintConfirmDialog::chosenSheets() const
{
    QList<int> chosen;
    for (int i = 0; i < sheetList->count(); ++i)
        if (sheetList->item(i)->checkState() == Qt::Checked)
            chosen.append(i);
    return chosen;
}

int PrintConfirmDialog::copies() const
{
    return copiesBox->value();
}

int PrintConfirmDialog::chosenPages() const
{
    int total = 0;
    for (int index : chosenSheets())
        total += pages.value(index);
    return total;
}

void PrintConfirmDialog::updateSummary()
{
    const int sheets = int(chosenSheets().size());
    const int total = chosenPages();
    QString text = sheetList->count() > 1 ? QStringLiteral("%1人分、%2ページ").arg(sheets).arg(total)
                                          : QStringLiteral("%1ページ").arg(total);
    text += QStringLiteral("を%1部、プリンタ「%2」に印刷します。").arg(copies()).arg(printer);
    summary->setText(sheets == 0 ? QStringLiteral("印刷する児童を選んでください。") : text);
    printButton->setEnabled(sheets > 0);
}
