#include "reports/OverrulingList.h"

#include "frame/AppContext.h"
#include "model/ClassFileHook.h"
#include "model/ScoreFile.h"
#include "reports/TallyGrid.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

OverrulingListDialog::OverrulingListDialog(AppContext& ctx, const QList<OverrulingLine>& lines,
                                           const QString& className, QWidget* parent)
    : QDialog(parent), ctx(ctx), lines(lines), className(className)
{
    setObjectName(QStringLiteral("overrulingListDialog"));
    setWindowTitle(QStringLiteral("評定の変更一覧-") + className);
    table = TallyGrid::make(this, QStringLiteral("overrulingTable"), OverrulingSheet::headings());
    QList<QStringList> rows;
    for (const OverrulingLine& line : lines)
        rows.append(OverrulingSheet::cells(line));
    TallyGrid::setRows(table, rows);
    TallyGrid::keepProportionalWidths(table, {1.6, 0.9, 2.4, 3, 3, 0.9, 0.9, 5, 1.8}, 19.5);

    auto* countLabel = new QLabel(lines.isEmpty() ? QStringLiteral("変えた評定はありません。")
                                                  : QStringLiteral("変えた評定：%1件").arg(lines.size()),
                                  this);
    countLabel->setObjectName(QStringLiteral("countLabel"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(countLabel);
    buttons->addStretch();
    const auto button = [this, buttons](const QString& caption, const char* name) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    connect(button(QStringLiteral("印刷"), "printButton"), &QPushButton::clicked, this,
            [this] { output(ReportDestination::Printer); });
    connect(button(QStringLiteral("ﾌﾟﾚﾋﾞｭｰ"), "previewButton"), &QPushButton::clicked, this,
            [this] { output(ReportDestination::Preview); });
    connect(button(QStringLiteral("CSV保存"), "csvButton"), &QPushButton::clicked, this,
            [this] { output(ReportDestination::Csv); });
    connect(button(QStringLiteral("xlsx保存"), "xlsxButton"), &QPushButton::clicked, this,
            [this] { output(ReportDestination::Xlsx); });
    connect(button(QStringLiteral("閉じる"), "closeButton"), &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table, 1);
    layout->addLayout(buttons);
    resize(900, 420);
}

void OverrulingListDialog::output(ReportDestination destination)
{
    BusyCursor busy(ctx.ui);
    ctx.check(ctx.reports.run(this, OverrulingSheet::sheet(lines, className), destination, windowTitle()), this,
              Ui::Icon::Warning);
}

QString OverrulingList::className(const ClassData& data)
{
    if (!data.specialistMode)
        return QStringLiteral("全教科");
    return data.unitName() + QStringLiteral("（") + Names::subjects()[size_t(qBound(1, data.subject, Limits::Units))] +
           QStringLiteral("）");
}

QList<OverrulingLine> OverrulingList::collect(const AppContext& ctx, QStringList& problems)
{
    QList<int> units;
    if (ctx.data.specialistMode)
        units << ctx.data.classNumber;
    else
        for (int s = 1; s <= Limits::Units; ++s)
            if (ctx.data.subjectInUse[size_t(s)] == 1)
                units << s;
    QList<OverrulingLine> lines;
    auto unit = std::make_unique<ClassData>(ctx.data);
    for (int u : units) {
        (unit->specialistMode ? unit->classNumber : unit->subject) = u;
        unit->overrulings.clear();  // never another unit's
        Status read = ScoreFile::load(*unit);
        if (read.ok)
            read = ClassFileHook::load(*unit);
        if (!read.ok) {
            problems << read.message;
            continue;
        }
        lines << OverrulingSheet::lines(*unit);
    }
    return lines;
}

void OverrulingList::open(AppContext& ctx, QWidget* owner)
{
    QStringList problems;
    QList<OverrulingLine> lines;
    {
        BusyCursor busy(ctx.ui);
        lines = collect(ctx, problems);
    }
    if (!problems.isEmpty())
        ctx.ui.message(owner, QStringLiteral("次のデータを読めないため、一覧に入っていません。\n\n") + problems.join(QLatin1Char('\n')),
                       Ui::Buttons::Ok, Ui::Icon::Warning);
    OverrulingListDialog dialog(ctx, lines, className(ctx.data), owner);
    ctx.ui.runModal(dialog);
}
