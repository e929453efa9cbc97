#include "output/PrintSetupDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <array>

namespace {

template <typename T>
T* named(T* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* note(const QString& text, const char* name, QWidget* parent)
{
    auto* label = named(new QLabel(text, parent), name);
    label->setWordWrap(true);
    return label;
}

QString queueCaption(const PrintQueue& queue)
{
    if (queue.description.isEmpty() || queue.description == queue.name)
        return queue.name;
    return QStringLiteral("%1（%2）").arg(queue.name, queue.description);
}

QString paperCaption(const PrintPapers::Paper& paper)
{
    const QSizeF mm = QPageSize(paper.id).size(QPageSize::Millimeter);
    return QStringLiteral("%1（%2×%3 mm）").arg(paper.name).arg(qRound(mm.width())).arg(qRound(mm.height()));
}

}  // namespace

PrintSetupDialog::PrintSetupDialog(const QList<PrintQueue>& queues, std::function<QStringList(const QString&)> papersOf,
                                   const PrintChoice& current, const QStringList& keepPortrait,
                                   const QStringList& keepLandscape, QWidget* parent)
    : QDialog(parent), queues(queues), papersOf(std::move(papersOf)), wantedPaper(current.paper)
{
    setObjectName(QStringLiteral("printSetupDialog"));
    setWindowTitle(QStringLiteral("プリンタの設定"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("プリンタ："), buildPrinterRow(current));
    paperChoice = named(new QComboBox(this), "paperChoice");
    auto* paperRow = new QWidget(this);
    auto* paperLayout = new QVBoxLayout(paperRow);
    paperLayout->setContentsMargins(0, 0, 0, 0);
    paperLayout->addWidget(paperChoice);
    paperLayout->addWidget(note(QStringLiteral("一覧表と違う大きさの用紙には、一覧表を用紙に合わせて拡大・縮小して印刷します。"),
                                "paperNote", paperRow));
    form->addRow(QStringLiteral("用紙："), paperRow);
    form->addRow(QStringLiteral("向き："), buildOrientationRow(keepPortrait, keepLandscape));
    orientations->button(int(current.orientation))->setChecked(true);
    copiesBox = named(new QSpinBox(this), "copiesBox");
    copiesBox->setRange(1, PrintChoice::MaxCopies);
    copiesBox->setSuffix(QStringLiteral(" 部"));
    copiesBox->setValue(current.copies);
    form->addRow(QStringLiteral("部数："), copiesBox);

    auto* ok = named(new QPushButton(QStringLiteral("OK"), this), "okButton");
    auto* cancel = named(new QPushButton(QStringLiteral("キャンセル"), this), "cancelButton");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* root = new QVBoxLayout(this);
    root->addLayout(form);
    root->addLayout(buttons);
    setMinimumWidth(480);

    connect(printerChoice, &QComboBox::currentIndexChanged, this, [this] { fillPapers(); });
    connect(paperChoice, &QComboBox::activated, this, [this] { wantedPaper = paperChoice->currentData().toString(); });
    fillPapers();
}

QWidget* PrintSetupDialog::buildPrinterRow(const PrintChoice& current)
{
    auto* row = new QWidget(this);
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    printerChoice = named(new QComboBox(row), "printerChoice");
    QString defaultName;
    for (const PrintQueue& queue : queues)
        if (queue.isDefault)
            defaultName = queue.name;
    printerChoice->addItem(defaultName.isEmpty() ? QStringLiteral("既定のプリンタ（決まっていません）")
                                                 : QStringLiteral("既定のプリンタ（今は %1）").arg(defaultName),
                           QString());
    bool found = current.printer.isEmpty();
    for (const PrintQueue& queue : queues) {
        printerChoice->addItem(queueCaption(queue), queue.name);
        if (queue.name == current.printer) {
            printerChoice->setCurrentIndex(printerChoice->count() - 1);
            found = true;
        }
    }
    layout->addWidget(printerChoice);
    if (queues.isEmpty())
        layout->addWidget(note(QStringLiteral("このコンピュータにはプリンタがありません。印刷するときは、PDFファイルとして保存できます。"),
                               "printerNote", row));
    else if (!found)
        layout->addWidget(note(QStringLiteral("前に選んだプリンタ「%1」は見つかりません。既定のプリンタに印刷します。")
                                   .arg(current.printer),
                               "printerNote", row));
    printerChoice->setEnabled(!queues.isEmpty());
    return row;
}

QWidget* PrintSetupDialog::buildOrientationRow(const QStringList& keepPortrait, const QStringList& keepLandscape)
{
    auto* row = new QWidget(this);
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* buttons = new QHBoxLayout;
    orientations = new QButtonGroup(row);
    const std::array<std::pair<const char*, QString>, 3> captions{
        {{"orientationSheet", QStringLiteral("一覧表どおり")},
         {"orientationPortrait", QStringLiteral("縦")},
         {"orientationLandscape", QStringLiteral("横")}}};
    for (int i = 0; i < int(captions.size()); ++i) {
        auto* button = named(new QRadioButton(captions[size_t(i)].second, row), captions[size_t(i)].first);
        orientations->addButton(button, i);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);
    QStringList notes;
    if (!keepLandscape.isEmpty())
        notes << QStringLiteral("%1は縦に収まらないため、いつも横で印刷します。").arg(keepLandscape.join(QStringLiteral("・")));
    if (!keepPortrait.isEmpty())
        notes << QStringLiteral("%1は横に収まらないため、いつも縦で印刷します。").arg(keepPortrait.join(QStringLiteral("・")));
    if (!notes.isEmpty())
        layout->addWidget(note(notes.join(QLatin1Char('\n')), "orientationNote", row));
    return row;
}

void PrintSetupDialog::fillPapers()
{
    paperChoice->clear();
    paperChoice->addItem(QStringLiteral("一覧表どおり"), QString());
    const QString queue = chosenQueue();
    if (!queue.isEmpty())
        for (const PrintPapers::Paper& paper : PrintPapers::takenBy(papersOf(queue)))
            paperChoice->addItem(paperCaption(paper), paper.name);
    const int wanted = paperChoice->findData(wantedPaper);
    paperChoice->setCurrentIndex(std::max(0, wanted));
    // A printer that names none of its papers leaves nothing to choose.
    paperChoice->setEnabled(paperChoice->count() > 1);
}

QString PrintSetupDialog::chosenQueue() const
{
    const QString chosen = printerChoice->currentData().toString();
    if (!chosen.isEmpty())
        return chosen;
    for (const PrintQueue& queue : queues)
        if (queue.isDefault)
            return queue.name;
    return {};
}

PrintChoice PrintSetupDialog::choice() const
{
    PrintChoice chosen;
    chosen.printer = printerChoice->currentData().toString();
    chosen.paper = paperChoice->currentData().toString();
    chosen.orientation = PrintChoice::Orientation(std::max(0, orientations->checkedId()));
    chosen.copies = copiesBox->value();
    return chosen;
}
