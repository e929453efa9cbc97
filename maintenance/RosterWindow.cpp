#include "maintenance/RosterWindow.h"

#include "model/AttendanceFile.h"
#include "model/Cp932.h"
#include "model/NewClass.h"
#include "model/RosterFile.h"
#include "tally/ListSheets.h"
#include "maintenance/OpenWindows.h"
#include "maintenance/RosterImportWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

ListWindow::Captions captions()
{
    ListWindow::Captions c;
    c.printEntry = QStringLiteral("氏名一覧印刷(&P)");
    c.closeEntry = QStringLiteral("氏名メンテナンス終了(&X)");
    c.editEntries = {QStringLiteral("氏名変更(&C)"), QStringLiteral("転入処理(&I)"), QStringLiteral("転出処理(&D)")};
    c.editButtons = c.editEntries;
    c.printButton = QStringLiteral("氏名印刷(&P)");
    c.countCaption = QStringLiteral("クラス人数");
    c.helpTopic = 8;
    c.reportTitle = QStringLiteral("氏名一覧");
    c.sheet = &ListSheets::names;
    return c;
}

}  // namespace

RosterWindow::RosterWindow(AppContext& ctx, QWidget* parent)
    : ListWindow(ctx, captions(), QStringLiteral("nameList"), parent)
{
    setObjectName(QStringLiteral("RosterWindow"));
    setWindowTitle(QStringLiteral("氏名メンテナンス"));
    list->setMinimumSize(220, 360);
    countUnit = new QLabel(QStringLiteral("人"), this);
    countUnit->setObjectName(QStringLiteral("countUnit"));
    countRow->insertWidget(2, countUnit);  // after the count, before the stretch
    auto* importButton = new QPushButton(QStringLiteral("名簿読込(&L)..."), this);
    importButton->setObjectName(QStringLiteral("importButton"));
    importButton->setToolTip(QStringLiteral("校務システムなどの名簿ファイル（CSV）から氏名を読み込みます"));
    importButton->setAutoDefault(false);
    extras->addSpacing(8);
    extras->addWidget(importButton);
    connect(importButton, &QPushButton::clicked, this, &RosterWindow::importRoster);
    resize(460, 440);
}

bool RosterWindow::prepare()
{
    shownSpecialistMode = ctx.data.specialistMode;
    shownClass = ctx.data.classNumber;
    shownFolder = ctx.data.dataFolder;
    setCaption();
    fillList();
    if (list->count() > 0)
        list->setCurrentRow(0);
    return true;
}

void RosterWindow::setCaption()
{
    QString caption = QStringLiteral("氏名メンテナンス");
    if (ctx.data.specialistMode)
        caption += QStringLiteral("-") + ctx.data.unitName();
    setWindowTitle(caption);
}

void RosterWindow::fillList()
{
    QStringList names;
    for (int p = 1; p <= ctx.data.pupilCount; ++p)
        names.append(ctx.data.pupilName[p]);
    showLines(names);
}

QString RosterWindow::listText(int number, const QString& line) const
{
    return Names::pupilListLine(number, line);
}

bool RosterWindow::showsOpenData(bool tell)
{
    const ClassData& data = ctx.data;
    bool same = shownSpecialistMode == data.specialistMode && shownFolder == data.dataFolder
        && (!data.specialistMode || shownClass == data.classNumber) && lines().size() == data.pupilCount;
    for (int p = 1; same && p <= data.pupilCount; ++p)
        same = lines()[p - 1] == data.pupilName[p];
    if (same)
        return true;
    // Another window changed the open class (a class chosen, a new class made):
    // show that class instead of acting on a list that is no longer on disk.
    dropRename();
    prepare();
    list->clearSelection();
    if (tell)
        ctx.ui.message(this, QStringLiteral("クラスまたは氏名がほかの画面で変わったので、氏名の一覧を読み直しました。もう一度、児童を選んでください。"),
                       Ui::Buttons::Ok, Ui::Icon::Information);
    return false;
}

bool RosterWindow::otherWindowsClosed(const QString& command)
{
    // Score entry, attendance and the tallies hold the class in memory; rewriting
    // its files under them would garble what they save or show.
    const QStringList open =
        OpenWindows::captions(this, [](const ChildWindow& window) { return !qobject_cast<const ListWindow*>(&window); });
    if (open.isEmpty())
        return true;
    ctx.ui.message(this, command + QStringLiteral("の前に、次の画面を閉じてください。\n\n") + open.join(QLatin1Char('\n')),
                   Ui::Buttons::Ok, Ui::Icon::Information, command);
    return false;
}

void RosterWindow::insertCommand(int n, const QString& name)
{
    if (ctx.data.pupilCount >= Limits::Pupils) {
        ctx.ui.message(this, Transfer::classFullMessage(), Ui::Buttons::Ok, Ui::Icon::Warning, QStringLiteral("転入処理"));
        return;
    }
    if (!otherWindowsClosed(QStringLiteral("転入処理")))
        return;
    if (ctx.ui.message(this, Names::numberedPupil(n, name) + QStringLiteral(" の後ろに新しい児童を挿入します"), Ui::Buttons::OkCancel,
                       Ui::Icon::Question, QStringLiteral("転入処理"))
        == Ui::Answer::Ok)
        transferIn(n);
}

void RosterWindow::removeCommand(int n, const QString& name)
{
    if (!otherWindowsClosed(QStringLiteral("転出処理")))
        return;
    // The pupil's names and scores go: a slip of Enter answers キャンセル.
    if (ctx.ui.message(this, Names::numberedPupil(n, name) + QStringLiteral(" の氏名データ、成績データを削除します."), Ui::Buttons::OkCancel,
                       Ui::Icon::Question, QStringLiteral("転出処理"), Ui::Default::Cancel)
        == Ui::Answer::Ok)
        transferOut(n);
}

void RosterWindow::transferIn(int n)
{
    // キャンセル in the name box cancels the transfer: no file is touched.
    const std::optional<QString> name =
        ctx.ui.input(this, QStringLiteral("新しい児童名は？"), QStringLiteral("転入処理"), QStringLiteral("転入生"));
    if (!name)
        return;
    Status done;
    {
        BusyCursor busy(ctx.ui);
        done = Transfer::transferIn(ctx.data, n, *name, ctx.today());
    }
    if (!ctx.check(done, this, Ui::Icon::Warning))
        return;
    fillList();
    list->setCurrentRow(n);
    ctx.ui.message(this, QStringLiteral("過去のテストはすべて欠席扱いにしてあります"));
    setCommandsEnabled(true);
}

void RosterWindow::transferOut(int n)
{
    Status done;
    {
        BusyCursor busy(ctx.ui);
        done = Transfer::transferOut(ctx.data, n);
    }
    if (!ctx.check(done, this, Ui::Icon::Warning))
        return;
    fillList();
    setCommandsEnabled(true);
}

void RosterWindow::storeName(int n, const QString& text, bool tell)
{
    if (const QString problem = StorableText::problem(text); !problem.isEmpty()) {
        if (tell)
            ctx.ui.message(this, QStringLiteral("氏名「%1」は保存できません。%2。").arg(text, problem), Ui::Buttons::Ok,
                           Ui::Icon::Warning, QStringLiteral("氏名変更"));
        return;
    }
    if (n < 1 || n > ctx.data.pupilCount)
        return;
    const QString old = ctx.data.pupilName[n];
    ctx.data.pupilName[n] = text;
    // A roster that cannot be written is always reported, even when the program
    // ends: the name is then not changed.
    const Status saved = RosterFile::save(ctx.data);
    if (!saved.ok) {
        ctx.data.pupilName[n] = old;
        ctx.check(saved, this, Ui::Icon::Warning);
    }
}

void RosterWindow::importRoster()
{
    if (!showsOpenData(true) || !otherWindowsClosed(QStringLiteral("名簿の読込")))
        return;
    const int count = ctx.data.pupilCount;
    const std::optional<QStringList> names = RosterImportWindow::run(ctx.ui, this, 0);
    if (!names)
        return;
    const QString title = QStringLiteral("名簿の読込");
    // Scores and attendance belong to attendance numbers: a roster of another size
    // would put them under other pupils.
    if (count > 0 && names->size() != count) {
        ctx.ui.message(this,
                       QStringLiteral("読み込んだ名簿は%1人、今のクラスは%2人です。人数の違う名簿では氏名を置き換えられません。\n"
                                      "転入・転出処理で人数を合わせてから読み込むか、新しい学級なら環境設定の新規ｸﾗｽで読み込んでください。")
                           .arg(names->size())
                           .arg(count),
                       Ui::Buttons::Ok, Ui::Icon::Warning, title);
        return;
    }
    if (count > 0
        && ctx.ui.message(this,
                          QStringLiteral("今の%1人の氏名を、読み込んだ氏名で番号順に置き換えます。点数と出欠は番号のまま残ります。").arg(count),
                          Ui::Buttons::OkCancel, Ui::Icon::Question, title, Ui::Default::Cancel)
               != Ui::Answer::Ok)
        return;
    if (!ctx.check(storeImported(*names), this, Ui::Icon::Warning))
        return;
    fillList();
    if (list->count() > 0)
        list->setCurrentRow(0);
    setCommandsEnabled(true);
}

Status RosterWindow::storeImported(const QStringList& names)
{
    ClassData& data = ctx.data;
    const int count = data.pupilCount;
    const auto old = data.pupilName;
    for (int p = 1; p <= names.size(); ++p)
        data.pupilName[p] = names[p - 1];
    Status stored = Status::success();
    if (count > 0) {
        stored = RosterFile::save(data);
    } else {
        // A class without pupils yet: the roster and, for a homeroom class, an
        // attendance file of zeros for that many pupils, as the first names typed.
        data.pupilCount = int(names.size());
        stored = NewClass::storeNames(data);
        if (stored && !data.specialistMode)
            stored = AttendanceFile::load(data);
    }
    if (!stored) {
        data.pupilCount = count;
        data.pupilName = old;
    }
    return stored;
}
