#pragma once
// The bank of phrases (文例) beside the comment box: the phrases under their
// headings, a search box that keeps only the phrases holding every word typed, and
// 挿入 (or a double click) to put the chosen phrase into the comment. A selection of
// a comment is added to the bank under a heading the teacher names; the bank is
// then written to the teacher's own folder at once. A bank that cannot be read is
// named and never written over.

#include "model/PhraseBank.h"

#include <QWidget>

class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class Ui;

class PhrasePanel : public QWidget {
    Q_OBJECT
public:
    PhrasePanel(Ui& ui, QWidget* parent = nullptr);

    // Reads the teacher's bank at `path` (the starter bank at `starterPath` while
    // there is none); a bank that cannot be read is told and left alone.
    void load(const QString& path, const QString& starterPath);
    // Adds `text` under a heading the teacher names, and writes the bank; on
    // failure the file and the list are as they were, and the teacher is told.
    void addPhrase(const QString& text);
    const PhraseBank::Bank& bank() const { return phrases; }
    QPushButton* insertButton() const { return insertPhraseButton; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // The teacher chose a phrase to put into the comment (with {名前} as it is).
    void insertRequested(const QString& phrase);

private:
    void showBank();
    // Each phrase gets the height of its lines at the list's width, so that a long
    // phrase wraps instead of being cut.
    void fitRows();
    void filter(const QString& words);
    void requestInsert();
    // The heading of the chosen phrase or heading, or the first.
    QString chosenHeading() const;

    Ui& ui;
    QString bankPath;
    bool refused = false;  // the teacher's bank could not be read: it is not written
    PhraseBank::Bank phrases;
    QLineEdit* searchBox = nullptr;
    QTreeWidget* tree = nullptr;
    QPushButton* insertPhraseButton = nullptr;
};
