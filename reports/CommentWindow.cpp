#include "reports/CommentWindow.h"

#include "frame/MainFrame.h"
#include "model/PhraseBank.h"
#include "model/ScoreFile.h"
#include "model/SettingsStore.h"
#include "platform/ProgramFolder.h"
#include "reports/PhrasePanel.h"
#include "tally/TermFigures.h"

#include <QLabel>
#include <QComboBox>
#include <QListWidget>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTextDocument>

namespace {

QString& ownBankPath()
{
    static QString path;
    return path;
}

QString& starterBankPath()
{
    static QString path;
    return path;
}

constexpr int MaxLimit = 2000;
constexpr int NameWidth = 7;
constexpr int ShownFindings = 15;

}  // namespace

void CommentWindow::setBankPaths(const QString& own, const QString& starter)
{
    ownBankPath() = own;
    starterBankPath() = starter;
}

QString CommentWindow::limitKey()
{
    return QStringLiteral("UseMode/CommentLimit");
}

CommentWindow::CommentWindow(AppContext& ctx, QWidget* parent) : ChildWindow(ctx, parent)
{
    setObjectName(QStringLiteral("CommentWindow"));
    setWindowTitle(QStringLiteral("所見の入力"));
    buildControls();
}

bool CommentWindow::prepare()
{
    ClassData& data = ctx.data;
    // The current unit's tests for the figures, and the comments as the file has them.
    if (!ctx.check(ScoreFile::load(data), this))
        return false;
    edits = data.comments;
    bool ok = false;
    const int stored = ctx.settings.value(limitKey()).toString().toInt(&ok);
    limit = ok && stored >= 1 && stored <= MaxLimit ? stored : Comments::DefaultLimit;
    limitBox->setValue(limit);
    termBox->clear();
    termBox->addItems(Terms::names(data.termPlan));
    // The term of today's month: the one the teacher is most likely writing for.
    const int month = Terms::schoolMonth(ctx.today().month());
    for (int t = 1; t <= data.termPlan.count; ++t)
        if (month >= data.termPlan.firstMonth(t) && month <= data.termPlan.lastMonth(t))
            term = t;
    termBox->setCurrentIndex(term - 1);
    const QString own = ownBankPath().isEmpty() ? ProgramFolder::userFolder() + QLatin1Char('/') + PhraseBank::fileName()
                                                : ownBankPath();
    const QString starter = starterBankPath().isEmpty()
        ? ProgramFolder::resourceFolder() + QLatin1Char('/') + PhraseBank::fileName()
        : starterBankPath();
    phrases->load(own, starter);
    showPupils();
    pupilList->setCurrentRow(0);
    return true;
}

void CommentWindow::activated()
{
    // The comments follow the roster: no transfer or new class while they are open.
    if (ctx.frame) {
        ctx.frame->disableAllCommands();
        ctx.frame->disablePrint();
    }
}

bool CommentWindow::mayClose()
{
    return answered || mayLeave();
}

bool CommentWindow::mayEndProgram()
{
    if (isUnloaded() || answered)
        return true;
    answered = mayLeave();
    return answered;
}

void CommentWindow::closed()
{
    if (ctx.frame) {
        ctx.frame->enableAllCommands();
        ctx.frame->disablePrint();
    }
}

bool CommentWindow::unsaved() const
{
    return edits != ctx.data.comments;
}

bool CommentWindow::mayLeave()
{
    if (!unsaved())
        return true;
    const int answer = ctx.ui.ask(this, QStringLiteral("所見が保存されていません。保存しますか？"),
                                  {QStringLiteral("保存する"), QStringLiteral("保存しない"), QStringLiteral("キャンセル")},
                                  0, 2, Ui::Icon::Question);
    if (answer == 2)
        return false;
    return answer == 1 || save();
}

bool CommentWindow::save()
{
    const Status saved = Comments::save(ctx.data, edits);
    if (!saved.ok) {
        ctx.ui.message(this, saved.message + QStringLiteral("\n\n所見は画面に残っています。保存できる場所を確かめてから、"
                                                            "もう一度「保存」を押してください。"),
                       Ui::Buttons::Ok, Ui::Icon::Warning);
        return false;
    }
    ctx.data.comments = edits;
    showPupils();
    return true;
}

// ---- the pupils and the comment -----------------------------------------------------

QString CommentWindow::listLine(int p) const
{
    const int length = Comments::length(edits[size_t(term)][size_t(p)]);
    const QString mark = length == 0 ? QStringLiteral("　") : length > limit ? QStringLiteral("！") : QStringLiteral("✓");
    // Names of up to seven characters keep the counts in one column.
    QString name = ctx.data.pupilName[size_t(p)];
    if (name.size() < NameWidth)
        name += QString(NameWidth - name.size(), QChar(0x3000));
    return Names::pupilListLine(p, name) + QStringLiteral(" %1%2").arg(mark).arg(length);
}

void CommentWindow::showPupils()
{
    const int row = pupilList->currentRow();
    const QSignalBlocker quiet(pupilList);
    pupilList->clear();
    for (int p = 1; p <= qBound(0, ctx.data.pupilCount, Limits::Pupils); ++p)
        pupilList->addItem(listLine(p));
    pupilList->setCurrentRow(qBound(0, row, pupilList->count() - 1));
}

QTextDocument* CommentWindow::documentOf(int t, int p)
{
    const int key = t * 100 + p;
    auto found = documents.find(key);
    if (found != documents.end())
        return found->second;
    auto* document = new QTextDocument(this);
    document->setDocumentLayout(new QPlainTextDocumentLayout(document));
    document->setPlainText(edits[size_t(t)][size_t(p)]);
    document->setUndoRedoEnabled(true);
    document->clearUndoRedoStacks();
    connect(document, &QTextDocument::contentsChanged, this, [this, t, p, document] {
        edits[size_t(t)][size_t(p)] = document->toPlainText();
        if (t == term && p == pupil) {
            showCount();
            if (QListWidgetItem* item = pupilList->item(p - 1))
                item->setText(listLine(p));
        }
    });
    documents.emplace(key, document);
    return document;
}

void CommentWindow::showPupil(int p)
{
    if (p < 1 || p > ctx.data.pupilCount)
        return;
    pupil = p;
    pupilHeading->setText(QStringLiteral("%1　%2の所見").arg(Names::numberedPupil(p, ctx.data.pupilName[size_t(p)]),
                                                           Terms::name(ctx.data.termPlan, term)));
    commentEdit->setDocument(documentOf(term, p));
    commentEdit->moveCursor(QTextCursor::End);
    showCount();
    showFigures();
}

void CommentWindow::showCount()
{
    const int length = Comments::length(edits[size_t(term)][size_t(pupil)]);
    const bool over = length > limit;
    countLabel->setText(over ? QStringLiteral("%1／%2字（%3字超えています）").arg(length).arg(limit).arg(length - limit)
                             : QStringLiteral("%1／%2字").arg(length).arg(limit));
    countLabel->setProperty("over", over);
    countLabel->setStyleSheet(over ? QStringLiteral("color: #b00020; font-weight: bold;") : QString());
}

void CommentWindow::showFigures()
{
    const TermFigures figures = TermFiguresTally::of(ctx.data, term, pupil);
    QStringList lines;
    const QString termName = Terms::name(ctx.data.termPlan, term);
    if (figures.testCount == 0) {
        lines << QStringLiteral("%1：%2のテストはまだありません").arg(figures.subjectName, termName);
    } else {
        QStringList grades;
        for (const TermFigures::Viewpoint& viewpoint : figures.viewpoints)
            grades << QStringLiteral("%1 %2").arg(viewpoint.name, viewpoint.grade.isEmpty() ? QStringLiteral("－") : viewpoint.grade);
        grades << QStringLiteral("評定 %1").arg(figures.grade.isEmpty() ? QStringLiteral("－") : figures.grade);
        lines << QStringLiteral("%1（%2のテスト%3件）：%4")
                     .arg(figures.subjectName, termName)
                     .arg(figures.testCount)
                     .arg(grades.join(QStringLiteral("　")));
    }
    if (const auto& a = figures.attendance)
        lines << QStringLiteral("出欠（%1）：授業日数 %2　出席停止・忌引等 %3")
                     .arg(Terms::monthsText(ctx.data.termPlan, term))
                     .arg(a->lessonDays)
                     .arg(a->leaveDays)
              << QStringLiteral("出席しなければならない日数 %1　欠席日数 %2　出席日数 %3")
                     .arg(a->requiredDays)
                     .arg(a->absentDays)
                     .arg(a->presentDays);
    figuresView->setText(lines.join(QLatin1Char('\n')));
}

void CommentWindow::termChosen()
{
    if (termBox->currentIndex() < 0)
        return;
    term = termBox->currentIndex() + 1;
    showPupils();
    showPupil(pupil);
}

void CommentWindow::limitChosen(int value)
{
    if (value == limit)
        return;
    limit = value;
    // The school's limit is kept for every class (a read-only folder keeps it in memory).
    if (!ctx.frame || !ctx.frame->dataFolderReadOnly())
        ctx.check(SettingsStore::write(ctx.settings, {{limitKey(), QString::number(limit)}}), this, Ui::Icon::Warning);
    showPupils();
    showCount();
}

void CommentWindow::insertPhrase(const QString& phrase)
{
    commentEdit->textCursor().insertText(PhraseBank::filled(phrase, ctx.data.pupilName[size_t(pupil)]));
    commentEdit->setFocus(Qt::OtherFocusReason);
}

void CommentWindow::addSelectionToBank()
{
    phrases->addPhrase(commentEdit->textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')));
    commentEdit->setFocus(Qt::OtherFocusReason);
}

void CommentWindow::runChecks()
{
    ClassData checked = ctx.data;
    checked.comments = edits;
    const QList<Comments::Finding> findings = Comments::check(checked, term, limit);
    const QString termName = Terms::name(ctx.data.termPlan, term);
    if (findings.isEmpty()) {
        ctx.ui.message(this, QStringLiteral("%1の所見に気になるところはありません。").arg(termName), Ui::Buttons::Ok,
                       Ui::Icon::Information);
        return;
    }
    QStringList lines;
    for (qsizetype i = 0; i < findings.size() && i < ShownFindings; ++i)
        lines << findings[i].text;
    if (findings.size() > ShownFindings)
        lines << QStringLiteral("ほか%1件").arg(findings.size() - ShownFindings);
    ctx.ui.message(this, QStringLiteral("%1の所見を確かめてください（%2件）。\n\n%3")
                             .arg(termName)
                             .arg(findings.size())
                             .arg(lines.join(QLatin1Char('\n'))),
                   Ui::Buttons::Ok, Ui::Icon::Information);
    // The first pupil to look at is shown.
    pupilList->setCurrentRow(findings.first().pupil - 1);
}
