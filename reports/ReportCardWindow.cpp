#include "reports/ReportCardWindow.h"

#include "frame/MainFrame.h"
#include "frame/ReportActions.h"
#include "model/ClassFileHook.h"
#include "model/NewClass.h"
#include "model/RosterFile.h"
#include "model/ScoreFile.h"
#include "output/OutputFile.h"
#include "output/ReportCardFiles.h"
#include "output/ReportRenderer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSettings>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

constexpr double PreviewDotsPerMm = 3.0;

QLineEdit* textBox(QWidget* parent, const char* name, const QString& placeholder)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setPlaceholderText(placeholder);
    edit->setMinimumWidth(200);
    return edit;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QString& tip)
{
    auto* made = new QPushButton(caption, parent);
    made->setObjectName(QLatin1String(name));
    made->setToolTip(tip);
    return made;
}

}  // namespace

ReportCardWindow::ReportCardWindow(AppContext& ctx, QWidget* parent) : TallyWindow(ctx, true, parent)
{
    setObjectName(QStringLiteral("ReportCardWindow"));
    setWindowTitle(QStringLiteral("通知表・指導要録"));
    buildControls();
}

void ReportCardWindow::buildControls()
{
    termChooser = new QComboBox(this);
    termChooser->setObjectName(QStringLiteral("termChooser"));
    paperChooser = new QComboBox(this);
    paperChooser->setObjectName(QStringLiteral("paperChooser"));
    paperChooser->addItems({QStringLiteral("A4 縦"), QStringLiteral("A3 二つ折り（A4 二面）")});
    schoolEdit = textBox(this, "schoolEdit", QStringLiteral("例：かざね市立さくら小学校"));
    classNameEdit = textBox(this, "classNameEdit", QStringLiteral("例：第４学年２組"));
    teacherEdit = textBox(this, "teacherEdit", QStringLiteral("例：山田　太郎"));
    hideGradesBox = new QCheckBox(QStringLiteral("評定を出さない（１・２年）"), this);
    hideGradesBox->setObjectName(QStringLiteral("hideGradesBox"));

    auto* settingsBox = new QGroupBox(QStringLiteral("印刷する内容"), this);
    auto* form = new QFormLayout(settingsBox);
    form->addRow(QStringLiteral("学期"), termChooser);
    form->addRow(QStringLiteral("用紙"), paperChooser);
    form->addRow(QStringLiteral("学校名"), schoolEdit);
    form->addRow(QStringLiteral("学級"), classNameEdit);
    form->addRow(QStringLiteral("担任"), teacherEdit);
    form->addRow(hideGradesBox);

    noteLabel = new QLabel(this);
    noteLabel->setObjectName(QStringLiteral("noteLabel"));
    noteLabel->setWordWrap(true);

    ReportActions* actions = reportActions();
    auto* onePdfButton = button(this, "onePdfButton", QStringLiteral("全員を一つのPDFに"),
                                QStringLiteral("全員の通知表を一つのPDFファイルに保存します（一人ずつ新しいページから）"));
    auto* eachPdfButton = button(this, "eachPdfButton", QStringLiteral("一人ずつPDFに"),
                                 QStringLiteral("選んだフォルダに、児童ごとのPDFファイル（番号と氏名の名前）を保存します"));
    auto* closeButton = button(this, "closeButton", QStringLiteral("閉じる"), QString());
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(actions->button(ReportDestination::Printer, this, QStringLiteral("全員を印刷")));
    buttons->addWidget(actions->button(ReportDestination::Preview, this, QStringLiteral("全員をプレビュー")));
    buttons->addWidget(onePdfButton);
    buttons->addWidget(eachPdfButton);
    buttons->addWidget(actions->button(ReportDestination::Csv, this, QStringLiteral("一覧をCSV保存")));
    buttons->addStretch();
    buttons->addWidget(closeButton);

    auto* left = new QVBoxLayout;
    left->addWidget(settingsBox);
    left->addWidget(noteLabel);
    left->addLayout(buttons, 1);

    pupilChooser = new QComboBox(this);
    pupilChooser->setObjectName(QStringLiteral("pupilChooser"));
    pupilChooser->setMaxVisibleItems(20);
    page = new QLabel(this);
    page->setObjectName(QStringLiteral("pagePreview"));
    page->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    pageArea = new QScrollArea(this);
    pageArea->setObjectName(QStringLiteral("pageArea"));
    pageArea->setWidget(page);
    pageArea->setWidgetResizable(true);
    pageArea->setBackgroundRole(QPalette::Dark);
    auto* chooser = new QHBoxLayout;
    chooser->addWidget(new QLabel(QStringLiteral("見本の児童"), this));
    chooser->addWidget(pupilChooser, 1);
    auto* right = new QVBoxLayout;
    right->addLayout(chooser);
    right->addWidget(pageArea, 1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    connect(closeButton, &QPushButton::clicked, this, [this] { closeWindow(); });
    connect(onePdfButton, &QPushButton::clicked, this, [this] {
        ctx.check(ctx.reports.saveAllAsPdf(this, sheets(), title()), this);
    });
    connect(eachPdfButton, &QPushButton::clicked, this, &ReportCardWindow::saveEachAsPdf);
}

QSize ReportCardWindow::sizeHint() const
{
    return QSize(980, 660);
}

bool ReportCardWindow::prepare()
{
    ClassData& data = ctx.data;
    if (data.specialistMode) {
        ctx.ui.message(this, QStringLiteral("通知表と指導要録用の記録は、学級担任用で作ります。"), Ui::Buttons::Ok,
                       Ui::Icon::Information);
        return false;
    }
    // The roster, and the current subject's scores with the class file, as every
    // tally window reads them: the class's comments come with the class file.
    if (!ctx.check(RosterFile::load(data), this) || !ctx.check(ScoreFile::load(data), this))
        return false;
    ctx.check(ClassFileHook::load(data), this);
    if (data.pupilCount <= 0) {
        ctx.ui.message(this, NewClass::noPupilsMessage());
        return false;
    }
    for (int term = 1; term <= ReportCard::termCount(data); ++term)
        termChooser->addItem(ReportCard::termName(data, term) + QStringLiteral("の通知表"), term);
    termChooser->addItem(QStringLiteral("年間の記録（指導要録用）"), int(ReportCard::Year));
    kept = ReportCardSettings::read(ctx.settings);
    schoolEdit->setText(kept.school);
    classNameEdit->setText(kept.className);
    teacherEdit->setText(kept.teacher);
    hideGradesBox->setChecked(kept.hideGrades);
    paperChooser->setCurrentIndex(kept.a3Folded ? 1 : 0);
    if (!computeCards())
        return false;
    for (const ReportCard::Card& card : std::as_const(shownCards))
        pupilChooser->addItem(Names::pupilListLine(card.pupil, card.name));
    showPreview();

    connect(termChooser, &QComboBox::currentIndexChanged, this, [this] {
        computeCards();
        showPreview();
    });
    connect(pupilChooser, &QComboBox::currentIndexChanged, this, &ReportCardWindow::showPreview);
    connect(paperChooser, &QComboBox::currentIndexChanged, this, [this] {
        keepSettings();
        showPreview();
    });
    connect(hideGradesBox, &QCheckBox::toggled, this, [this] {
        keepSettings();
        computeCards();
        showPreview();
    });
    for (QLineEdit* edit : {schoolEdit, classNameEdit, teacherEdit})
        connect(edit, &QLineEdit::editingFinished, this, [this] {
            keepSettings();
            showPreview();
        });
    return true;
}

int ReportCardWindow::term() const
{
    return termChooser->currentData().toInt();
}

bool ReportCardWindow::computeCards()
{
    BusyCursor busy(ctx.ui);
    QList<UnitSets::Unit> read;
    if (!ctx.check(UnitSets::load(ctx.data, read), this)) {
        reportActions()->setEnabled(false);
        return false;
    }
    units = read;
    shownCards = ReportCard::compute(ctx.data, units, term(), heading().texts);
    QStringList without;
    for (const ReportCard::Subject& subject : shownCards.value(0).subjects)
        if (subject.tests == 0)
            without << subject.name;
    noteLabel->setText(without.isEmpty() ? QString()
                                         : QStringLiteral("%1のテストがないため、%2の欄は空きます。")
                                               .arg(ReportCard::termName(ctx.data, term()),
                                                    without.join(QStringLiteral("・"))));
    reportActions()->setEnabled(!shownCards.isEmpty());
    return true;
}

ReportCardSheet::Heading ReportCardWindow::heading() const
{
    ReportCardSheet::Heading result;
    result.texts = {kept.school, kept.className, kept.teacher, kept.hideGrades};
    result.schoolYear = ReportCardSheet::schoolYear(ctx.today());
    result.paper = kept.a3Folded ? ReportCardSheet::Paper::A3Folded : ReportCardSheet::Paper::A4;
    return result;
}

QList<ReportSheet> ReportCardWindow::sheets() const
{
    return ReportCardSheet::sheets(shownCards, heading());
}

QString ReportCardWindow::title() const
{
    if (shownCards.isEmpty())
        return QStringLiteral("通知表");
    return ReportCardSheet::classFileName(shownCards.first(), QStringLiteral("pdf")).chopped(4);
}

void ReportCardWindow::keepSettings()
{
    ReportCardSettings chosen;
    chosen.school = schoolEdit->text().trimmed();
    chosen.className = classNameEdit->text().trimmed();
    chosen.teacher = teacherEdit->text().trimmed();
    chosen.hideGrades = hideGradesBox->isChecked();
    chosen.a3Folded = paperChooser->currentIndex() == 1;
    const QList<std::pair<QString, QString>> texts{{QStringLiteral("学校名"), chosen.school},
                                                   {QStringLiteral("学級"), chosen.className},
                                                   {QStringLiteral("担任"), chosen.teacher}};
    for (const auto& [caption, text] : texts)
        if (const QString problem = ReportCardSettings::problem(caption, text); !problem.isEmpty()) {
            ctx.ui.message(this, problem, Ui::Buttons::Ok, Ui::Icon::Warning);
            schoolEdit->setText(kept.school);
            classNameEdit->setText(kept.className);
            teacherEdit->setText(kept.teacher);
            return;
        }
    if (chosen == kept)
        return;
    kept = chosen;
    // A folder open read-only belongs to another copy of the program, and so do the
    // settings: the choice holds while this window is open.
    if (ctx.frame && ctx.frame->dataFolderReadOnly())
        return;
    ctx.check(kept.write(ctx.settings), this);
}

void ReportCardWindow::showPreview()
{
    const int index = qMax(0, pupilChooser->currentIndex());
    if (index >= shownCards.size()) {
        page->clear();
        return;
    }
    ReportRenderer renderer;
    const ReportSheet sheet = ReportCardSheet::sheet(shownCards[index], heading());
    Status status = renderer.loadLayout(ctx.reports.layoutPath(sheet.stem));
    if (status) {
        renderer.setSheet(sheet);
        status = renderer.checkSheet();
    }
    if (!status) {
        page->setText(status.message);
        return;
    }
    const QSizeF paper = renderer.pageLayout().fullRectPoints().size() * (25.4 / 72.0);
    QImage image((paper * PreviewDotsPerMm).toSize(), QImage::Format_RGB32);
    // The fonts are sized in points for the image's resolution: the page's own.
    image.setDotsPerMeterX(int(PreviewDotsPerMm * 1000));
    image.setDotsPerMeterY(int(PreviewDotsPerMm * 1000));
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.paintPage(painter, 1, PreviewDotsPerMm);
    painter.end();
    page->setPixmap(QPixmap::fromImage(image));
}

void ReportCardWindow::output(ReportDestination destination)
{
    if (shownCards.isEmpty())
        return;
    if (destination == ReportDestination::Csv) {
        ctx.check(ctx.reports.run(this, ReportCardSheet::classRecord(shownCards, heading()), destination, title()), this);
        return;
    }
    ctx.check(ctx.reports.runAll(this, sheets(), destination, title()), this);
}

void ReportCardWindow::saveEachAsPdf()
{
    if (shownCards.isEmpty())
        return;
    QString start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (start.isEmpty() || !QFileInfo(start).isDir())
        start = QDir::homePath();
    const QString folder = ctx.ui.pickFolder(this, QStringLiteral("PDFファイルを保存するフォルダ"), start);
    if (folder.isEmpty())
        return;
    ReportCardFiles::Request request;
    request.folder = folder;
    request.layoutFolder = ctx.reports.layoutFolder();
    OutputBatch batch;
    Status status = Status::success();
    {
        BusyCursor busy(ctx.ui);
        status = ReportCardFiles::stage(shownCards, heading(), request, batch);
        if (status)
            status = batch.commit();
    }
    if (!ctx.check(status, this))
        return;
    ctx.ui.message(this,
                   QStringLiteral("%1人分のPDFファイルを「%2」に保存しました。")
                       .arg(shownCards.size())
                       .arg(QDir::toNativeSeparators(folder)),
                   Ui::Buttons::Ok, Ui::Icon::Information);
}
