#pragma once
// A term or year tally as the attendance grid shows it: the rows and headings of one
// tally table, read-only. The figures are the table's numbers; the view shows them
// as the sheet prints them.

#include "attendance/AttendanceGridModel.h"
#include "tally/AttendanceTally.h"

class AttendanceTallyModel : public AttendanceGridModel {
    Q_OBJECT
public:
    using AttendanceGridModel::AttendanceGridModel;

    // Shows `table` in place of the tally shown before.
    void show(const AttendanceTally::Table& table);
    // The tally shown, which is what the window prints.
    const AttendanceTally::Table& table() const { return shown; }

    int rowCount(const QModelIndex& parent = {}) const override;

protected:
    QString cellText(int row, int column) const override;
    QVariant cellNumber(int row, int column) const override;
    QStringList headings() const override;

private:
    AttendanceTally::Table shown;
};
