#pragma once
// "通知表・指導要録": every pupil's report card (通知表) of a term, or the year's
// record for 指導要録, from every subject in use. The window shows one pupil's sheet
// as it will be printed (the first pupil at first), and prints every pupil, shows
// them in the print preview, saves them as one PDF file or as a PDF file each in a
// folder the teacher picks, and saves the class's table as a CSV file.
//
// The cards are computed from the score files and the class file on disk
// (model/UnitSets, tally/ReportCard) when the window opens and when the term
// changes; the sheets are printed from those values. The school's texts, the
// paper and whether 評定 is left out (grades 1 and 2) are kept in the settings
// (model/ReportCardSettings) as soon as the teacher changes them, except while the
// data folder is open read-only.

#include "frame/TallyWindow.h"
#include "model/ReportCardSettings.h"
#include "model/UnitSets.h"
#include "tally/ReportCardSheet.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QScrollArea;

class ReportCardWindow : public TallyWindow {
    Q_OBJECT
public:
    explicit ReportCardWindow(AppContext& ctx, QWidget* parent = nullptr);

    bool prepare() override;
    QString helpPage() const override { return QStringLiteral("report-card.html"); }
    void output(ReportDestination destination) override;
    QSize sizeHint() const override;

    const QList<ReportCard::Card>& cards() const { return shownCards; }
    // The sheets as they are printed now.
    QList<ReportSheet> sheets() const;
    // The term shown: 1..3, or ReportCard::Year.
    int term() const;

private:
    void buildControls();
    // Reads every subject again and computes the cards of the term chosen.
    bool computeCards();
    void showPreview();
    ReportCardSheet::Heading heading() const;
    QString title() const;
    // Takes the texts, the paper and the 評定 choice from the controls and keeps them.
    void keepSettings();
    void saveEachAsPdf();

    QComboBox* termChooser = nullptr;
    QComboBox* paperChooser = nullptr;
    QLineEdit* schoolEdit = nullptr;
    QLineEdit* classNameEdit = nullptr;
    QLineEdit* teacherEdit = nullptr;
    QCheckBox* hideGradesBox = nullptr;
    QComboBox* pupilChooser = nullptr;
    QLabel* noteLabel = nullptr;
    QLabel* page = nullptr;
    QScrollArea* pageArea = nullptr;

    QList<UnitSets::Unit> units;
    QList<ReportCard::Card> shownCards;
    ReportCardSettings kept;
};
