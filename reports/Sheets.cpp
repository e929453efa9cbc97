#include "reports/Sheets.h"

#include "attendance/AttendanceTally.h"
#include "maintenance/MenteSheet.h"
#include "reports/TestTally.h"

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

Status buildSheet(ClassData& data, const SheetRequest& request, ReportSheet& sheet)
{
    switch (request.kind) {
    case SheetRequest::Kind::TestDisp: {
        const int tests = data.TestSet.StoredTestCount;
        if (request.test < 1 || request.test > tests)
            return Status::failure(tests == 0 ? QStringLiteral("%1にはテストがありません。").arg(data.unitName())
                                              : QStringLiteral("テスト %1 はありません（%2のテストは 1～%3）。")
                                                    .arg(request.test)
                                                    .arg(data.unitName())
                                                    .arg(tests));
        const TestTally tally =
            computeTestTally(data, request.test, request.byScore ? TallyOrder::Score : TallyOrder::AttendanceNumber);
        sheet = testdispSheet(tally, testDisplayCaption(data));
        return Status::success();
    }
    case SheetRequest::Kind::Names:
        sheet = MenteSheet::names(data);
        return Status::success();
    case SheetRequest::Kind::Tests:
        sheet = MenteSheet::tests(data);
        return Status::success();
    case SheetRequest::Kind::Shuseki:
        sheet = AttendanceTally::sheet(data, request.term,
                                       request.recordView ? AttendanceTally::View::RecordBook : AttendanceTally::View::Detailed);
        return Status::success();
    default:
        break;
    }
    return Status::failure(QStringLiteral("この一覧表はまだ作れません。"));
}
