#pragma once
// The name list and the test list as the "Mente" report store holds them: a
// "Titles" row (title, class or subject, number heading, name heading) and one
// "Datas" row per line, numbered from 1.

#include "model/ClassData.h"
#include "tally/ReportSheet.h"

#include <QStringList>

namespace ListSheets {
ReportSheet build(const QString& title, const QString& className, const QString& namesHeading, const QStringList& lines);
ReportSheet names(const QString& className, const QStringList& names);  // 【児童氏名一覧表】
ReportSheet tests(const QString& className, const QStringList& tests);  // 【テスト一覧表】
// The same from the model: the roster of the open class, the tests of ClassData::tests,
// with the current unit's name.
ReportSheet names(const ClassData& data);
ReportSheet tests(const ClassData& data);
}
