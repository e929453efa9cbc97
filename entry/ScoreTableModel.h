#pragma once
// The scores of the test being edited in score entry, one row per pupil: the
// attendance number, the name, the row total and one column per score column Ⅰ..Ⅳ
// (the grid columns of ScoreKeys). Scores are held as numbers, an absent pupil as
// a state of its own; the view shows the texts this model gives it and stores none.

#include "entry/ScoreKeys.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>
#include <vector>

struct TestSet;

// One cell of the grid: nothing typed yet (未入力), a number of points, or absent (欠席).
class ScoreCell {
public:
    static ScoreCell blank() { return ScoreCell(Kind::Blank, 0); }
    static ScoreCell absent() { return ScoreCell(Kind::Absent, 0); }
    static ScoreCell points(int value) { return ScoreCell(Kind::Points, value); }
    // A score as the test set holds it: absent, never typed, or points.
    static ScoreCell stored(int value);

    bool isBlank() const { return kind == Kind::Blank; }
    bool isAbsent() const { return kind == Kind::Absent; }
    bool isPoints() const { return kind == Kind::Points; }
    // What the cell adds to the row total: a blank or absent cell adds nothing.
    int value() const { return kind == Kind::Points ? number : 0; }
    // The score for the test set: Absent, NotEntered when nothing was typed, or the points.
    int toStored() const;
    // "欠席", the number, or nothing; in an observation (Ａ・Ｂ・Ｃ) the letter of 3, 2, 1.
    QString text(bool observation = false) const;

    bool operator==(const ScoreCell& other) const { return kind == other.kind && number == other.number; }

private:
    enum class Kind { Blank, Points, Absent };
    ScoreCell(Kind kind, int number) : kind(kind), number(number) {}
    Kind kind;
    int number;
};

class ScoreTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ScoreTableModel(QObject* parent = nullptr);

    // One row per name, every score and total blank.
    void setPupils(const QStringList& names);
    int pupilCount() const { return int(rows.size()); }
    // The look of the attendance-number column, which the cursor never enters.
    void setNumberColumnColours(const QColor& background, const QColor& text);

    // Every score and total blank.
    void clearScores();
    // The scores of test t's columns; the other columns blank. Each total is the sum
    // of the row, absent when the pupil is absent in the first column, and nothing
    // when no column holds points. An observation test shows its letters.
    void showTest(const TestSet& set, int t);
    // Whether the scores are shown as the letters of an observation (Ａ・Ｂ・Ｃ); such
    // a test shows no totals.
    void setObservation(bool observation);
    bool showsObservation() const { return observation; }
    // Writes the scores of the first `columns` columns into test t of the set.
    void storeScores(TestSet& set, int t, int columns) const;

    // Pupils 1..pupilCount(), score columns 1..4.
    ScoreCell score(int pupil, int column) const;
    void setScore(int pupil, int column, const ScoreCell& cell);
    // Brings the pupil's total up to the scores of the row. The total is shown as it
    // was until then: while a digit waits for its second one, or after a score the
    // full marks refuse.
    void updateTotal(int pupil);
    // The total as shown, and a total put back as it was shown before.
    ScoreCell total(int pupil) const;
    void setTotal(int pupil, const ScoreCell& total);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Row {
        QString name;
        ScoreCell total = ScoreCell::blank();
        ScoreCell scores[4] = {ScoreCell::blank(), ScoreCell::blank(), ScoreCell::blank(), ScoreCell::blank()};
    };
    // The sum of the row's points; nothing when no cell holds points.
    static ScoreCell rowTotal(const Row& row);
    bool holds(int pupil) const { return pupil >= 1 && pupil <= pupilCount(); }
    void rowsChanged(int firstPupil, int lastPupil, int firstColumn, int lastColumn);

    std::vector<Row> rows;
    QColor numberBackground;
    QColor numberText;
    bool observation = false;
};
