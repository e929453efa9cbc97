#include "reports/Sheets.h"

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
    Q_UNUSED(data);
    Q_UNUSED(request);
    Q_UNUSED(sheet);
    return Status::failure(QStringLiteral("この一覧表はまだ作れません。"));
}
