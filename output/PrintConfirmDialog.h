#pragma once
// Asked before a print of many pages (every pupil's sheet, a long list): how many
// pages go to which printer, and how many copies; for several sheets (one a
// pupil) a list to choose whose sheets are printed. Nothing is printed until the
// teacher presses 印刷.

#include <QDialog>
#include <QList>
#include <QStringList>

class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

class PrintConfirmDialog : public QDialog {
    Q_OBJECT
public:
    // `labels` and `pages` give each sheet's name and pages; with one sheet no
    // list is shown.
    PrintConfirmDialog(const QString& title, const QString& printer, const QStringList& labels, const QList<int>& pages,
                       int copies, QWidget* parent = nullptr);

    // The sheets chosen, by index, in order.
    QList<int> chosenSheets() const;
    int copies() const;
    int chosenPages() const;

private:
    void setAll(bool checked);
    void updateSummary();

    QString printer;
    QList<int> pages;
    QListWidget* sheetList = nullptr;
    QSpinBox* copiesBox = nullptr;
    QLabel* summary = nullptr;
    QPushButton* printButton = nullptr;
};
