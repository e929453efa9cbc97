#include "tally/Sheets.h"

#include "tally/AttendanceTally.h"
#include "tally/ListSheets.h"
#include "tally/OverallTallyText.h"
#include "tally/PupilTallyText.h"
#include "tally/TestTallyText.h"

QString sheetStem(SheetRequest::Kind kind)
{
    switch (kind) {
    case SheetRequest::Kind::TestDisp: return QStringLiteral("testdisp");
    case SheetRequest::Kind::Kojin: return QStringLiteral("kojin");
    case SheetRequest::Kind::Aryoiki: return QStringLiteral("aryoiki");
    case SheetRequest::Kind::Names:
    case SheetRequest::Kind::Tests: return QStringLiteral("Mente");
    case SheetRequest::Kind::Shuseki: return QStringLiteral("Shuseki");
    }
    return {};
}

Status buildSheet(const ClassData& data, const SheetRequest& request, ReportSheet& sheet)
{
    switch (request.kind) {
    case SheetRequest::Kind::TestDisp: {
        const int tests = data.tests.count;
        if (request.test < 1 || request.test > tests)
            return Status::failure(tests == 0 ? QStringLiteral("%1にはテストがありません。").arg(data.unitName())
                                              : QStringLiteral("テスト %1 はありません（%2のテストは 1～%3）。")
                                                    .arg(request.test)
                                                    .arg(data.unitName())
                                                    .arg(tests));
        const TallyOrder order = request.byScore ? TallyOrder::Score : TallyOrder::AttendanceNumber;
        const TestTally tally = computeTestTally(data, data.subject, request.test, order);
        sheet = testdispSheet(tally, testDisplayCaption(data));
        return Status::success();
    }
    case SheetRequest::Kind::Kojin: {
        if (request.pupil < 1 || request.pupil > data.pupilCount)
            return Status::failure(QStringLiteral("出席番号 %1 の児童はいません（1～%2）。").arg(request.pupil).arg(data.pupilCount));
        const PupilTally tally = computePupilTally(data, data.subject);
        sheet = kojinSheet(tally, request.pupil, kojinCaption(data));
        return Status::success();
    }
    case SheetRequest::Kind::Aryoiki: {
        const int count = data.tests.count;
        QList<int> chosen = request.tests;
        if (chosen.isEmpty())
            for (int t = 1; t <= qMin(count, Limits::Tests); ++t)
                chosen.append(t);
        for (int t : request.tests)
            if (t < 1 || t > count)
                return Status::failure(QStringLiteral("テスト %1 はありません（%2のテストは 1～%3）。")
                                           .arg(t)
                                           .arg(data.unitName())
                                           .arg(count));
        const OverallTally tally = computeOverallTally(data, data.subject, chosen);
        OverallOrder order;
        order.byScore = request.order > 0;
        order.viewpoint = request.order >= 2 ? request.order - 1 : 0;
        ShownFigures shown;
        shown.average = request.showAverage;
        shown.rank = request.showRank;
        shown.evaluation = request.showEvaluation;
        sheet = aryoikiSheet(tally, overallTallyCaption(data), order, shown);
        return Status::success();
    }
    case SheetRequest::Kind::Names:
        sheet = ListSheets::names(data);
        return Status::success();
    case SheetRequest::Kind::Tests:
        sheet = ListSheets::tests(data);
        return Status::success();
    case SheetRequest::Kind::Shuseki:
        sheet = AttendanceTally::sheet(data, request.term,
                                       request.recordView ? AttendanceTally::View::RecordBook : AttendanceTally::View::Detailed);
        return Status::success();
    }
    return Status::failure(QStringLiteral("この一覧表は作れません。"));
}
