#include "maintenance/RosterImportWindow.h"

#include "model/ClassData.h"
#include "model/SafeFile.h"
#include "platform/Ui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int ShownRows = 8;  // the file's first rows in the window

QLabel* caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("font-weight: bold"));
    return label;
}

}  // namespace

RosterImportWindow::RosterImportWindow(const RosterImport::Table& table, const QString& fileName, int existing,
                                       QWidget* parent)
    : QDialog(parent), table(table), existing(existing)
{
    setObjectName(QStringLiteral("RosterImportWindow"));
    setWindowTitle(QStringLiteral("名簿の読込"));
    const QString separator = table.separator == QLatin1Char('\t') ? QStringLiteral("タブ") : QStringLiteral("コンマ");
    auto* about = new QLabel(QStringLiteral("ファイル：%1\n文字コード：%2　区切り：%3　%4行")
                                 .arg(fileName, table.encoding, separator)
                                 .arg(table.rows.size()),
                             this);
    about->setObjectName(QStringLiteral("fileAbout"));

    fileRows = new QTableWidget(this);
    fileRows->setObjectName(QStringLiteral("fileRows"));
    fileRows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fileRows->setSelectionMode(QAbstractItemView::NoSelection);

    headingCheck = new QCheckBox(QStringLiteral("1行目は見出し（読み込まない）"), this);
    headingCheck->setObjectName(QStringLiteral("headingCheck"));
    numberColumn = new QComboBox(this);
    numberColumn->setObjectName(QStringLiteral("numberColumn"));
    nameColumn = new QComboBox(this);
    nameColumn->setObjectName(QStringLiteral("nameColumn"));
    auto* choices = new QFormLayout;
    choices->addRow(headingCheck);
    choices->addRow(QStringLiteral("出席番号の列(&N)"), numberColumn);
    choices->addRow(QStringLiteral("氏名の列(&M)"), nameColumn);

    previewList = new QListWidget(this);
    previewList->setObjectName(QStringLiteral("previewList"));
    refusedList = new QListWidget(this);
    refusedList->setObjectName(QStringLiteral("refusedList"));
    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("summary"));
    summary->setWordWrap(true);

    auto* lists = new QHBoxLayout;
    auto* previewColumn = new QVBoxLayout;
    previewColumn->addWidget(caption(QStringLiteral("読み込む氏名"), this));
    previewColumn->addWidget(previewList);
    auto* refusedColumn = new QVBoxLayout;
    refusedColumn->addWidget(caption(QStringLiteral("読み込まない行"), this));
    refusedColumn->addWidget(refusedList);
    lists->addLayout(previewColumn, 2);
    lists->addLayout(refusedColumn, 3);

    importButton = new QPushButton(QStringLiteral("読み込む(&R)"), this);
    importButton->setObjectName(QStringLiteral("importButton"));
    auto* cancelButton = new QPushButton(QStringLiteral("キャンセル"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    cancelButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(summary, 1);
    buttons->addWidget(importButton);
    buttons->addWidget(cancelButton);
    connect(importButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(about);
    layout->addWidget(caption(QStringLiteral("ファイルのはじめの行"), this));
    layout->addWidget(fileRows, 2);
    layout->addLayout(choices);
    layout->addLayout(lists, 3);
    layout->addLayout(buttons);

    fillColumns();
    showFileRows();
    const RosterImport::Columns guessed = RosterImport::guess(table);
    headingCheck->setChecked(guessed.heading);
    numberColumn->setCurrentIndex(guessed.number + 1);
    nameColumn->setCurrentIndex(qMax(0, guessed.name));
    for (QWidget* control : {static_cast<QWidget*>(numberColumn), static_cast<QWidget*>(nameColumn)})
        connect(qobject_cast<QComboBox*>(control), &QComboBox::currentIndexChanged, this, &RosterImportWindow::refresh);
    connect(headingCheck, &QCheckBox::toggled, this, &RosterImportWindow::refresh);
    refresh();
    resize(760, 620);
}

// "列2：氏名" with the heading's text, "列2" when the file has no heading row.
void RosterImportWindow::fillColumns()
{
    numberColumn->addItem(QStringLiteral("なし（ファイルの順に1番から）"));
    const QStringList first = table.rows.value(0);
    for (int c = 0; c < RosterImport::columnCount(table); ++c) {
        const QString item = QStringLiteral("列%1：%2").arg(c + 1).arg(first.value(c));
        numberColumn->addItem(item);
        nameColumn->addItem(item);
    }
}

void RosterImportWindow::showFileRows()
{
    const int shown = int(qMin<qsizetype>(ShownRows, table.rows.size()));
    fileRows->setColumnCount(RosterImport::columnCount(table));
    fileRows->setRowCount(shown);
    QStringList headers;
    for (int c = 0; c < fileRows->columnCount(); ++c)
        headers << QStringLiteral("列%1").arg(c + 1);
    fileRows->setHorizontalHeaderLabels(headers);
    QStringList lines;
    for (int r = 0; r < shown; ++r) {
        lines << QStringLiteral("%1行").arg(table.lines[r]);
        for (int c = 0; c < table.rows[r].size(); ++c)
            fileRows->setItem(r, c, new QTableWidgetItem(table.rows[r][c]));
    }
    fileRows->setVerticalHeaderLabels(lines);
    fileRows->resizeColumnsToContents();
}

void RosterImportWindow::refresh()
{
    RosterImport::Columns columns;
    columns.heading = headingCheck->isChecked();
    columns.number = numberColumn->currentIndex() - 1;
    columns.name = nameColumn->currentIndex();
    if (columns.number == columns.name)
        columns.number = -1;
    taken = RosterImport::take(table, columns, existing);
    previewList->clear();
    for (int i = 0; i < taken.names.size(); ++i)
        previewList->addItem(QStringLiteral("%1番　%2").arg(existing + i + 1).arg(taken.names[i]));
    refusedList->clear();
    for (const RosterImport::Refusal& refusal : taken.refused)
        refusedList->addItem(refusal.line > 0 ? QStringLiteral("%1行目：%2").arg(refusal.line).arg(refusal.reason)
                                              : refusal.reason);
    summary->setText(QStringLiteral("読み込む氏名：%1人　読み込まない行：%2")
                         .arg(taken.names.size())
                         .arg(std::count_if(taken.refused.cbegin(), taken.refused.cend(),
                                            [](const RosterImport::Refusal& r) { return r.line > 0; })));
    importButton->setEnabled(!taken.names.isEmpty());
}

std::optional<QStringList> RosterImportWindow::run(Ui& ui, QWidget* owner, int existing)
{
    if (existing >= Limits::Pupils) {
        ui.message(owner, QStringLiteral("クラスはすでに%1人です。これ以上読み込めません。").arg(Limits::Pupils), Ui::Buttons::Ok,
                   Ui::Icon::Warning, QStringLiteral("名簿の読込"));
        return std::nullopt;
    }
    const QString file = ui.openFileName(owner, QStringLiteral("名簿のファイルを選ぶ"), QDir::homePath(),
                                         QStringLiteral("名簿（*.csv *.txt *.tsv）;;すべてのファイル (*)"));
    if (file.isEmpty())
        return std::nullopt;
    QByteArray bytes;
    QString problem;
    RosterImport::Table table;
    if (const Status readable = SafeFile::read(file, bytes); !readable)
        problem = readable.message;
    else
        table = RosterImport::read(bytes, problem);
    if (!problem.isEmpty()) {
        ui.message(owner, QStringLiteral("「%1」\n%2").arg(QDir::toNativeSeparators(file), problem), Ui::Buttons::Ok,
                   Ui::Icon::Warning, QStringLiteral("名簿の読込"));
        return std::nullopt;
    }
    RosterImportWindow window(table, QFileInfo(file).fileName(), existing, owner);
    if (ui.runModal(window) != QDialog::Accepted || window.result().names.isEmpty())
        return std::nullopt;
    return window.result().names;
}
