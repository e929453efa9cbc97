#pragma once
// "評定の変更一覧": every grade the teacher gave in place of the computed one in the
// class (every subject in use in homeroom mode, the class shown in specialist
// mode), as a list with the subject, the pupil, the group, the tests, the computed
// and the given grade, the reason and the date; 印刷, ﾌﾟﾚﾋﾞｭｰ and CSV保存 give the
// "Hyotei" sheet of that same list (tally/OverrulingSheet.h).

#include "tally/OverrulingSheet.h"

#include <QDialog>

struct AppContext;
class QTableWidget;

class OverrulingListDialog : public QDialog {
    Q_OBJECT
public:
    OverrulingListDialog(AppContext& ctx, const QList<OverrulingLine>& lines, const QString& className, QWidget* parent);

    const QList<OverrulingLine>& shownLines() const { return lines; }

private:
    void output(ReportDestination destination);

    AppContext& ctx;
    QList<OverrulingLine> lines;
    QString className;
    QTableWidget* table = nullptr;
};

namespace OverrulingList {
// The lines of every unit of the class, read afresh from the saved files; a unit
// whose files cannot be read is named in `problems` and left out.
QList<OverrulingLine> collect(const AppContext& ctx, QStringList& problems);
// "全教科" in homeroom mode, the class and its subject in specialist mode.
QString className(const ClassData& data);
// Collects the lines and runs the list (modal, through the Ui seam).
void open(AppContext& ctx, QWidget* owner);
}
