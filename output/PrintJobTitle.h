#pragma once
// The name a print job carries in the queue (and a PDF printer gives its file):
// the sheet's heading as the window shows it (the sheet and the subject or class,
// 「テスト別成績集計-算数」) and what tells this print from the others of the
// same sheet: the test, the order, the pupil, the month.
// 「テスト別成績集計-算数-漢字テスト①」, 「個人別成績集計-算数-全員」.

#include "tally/ReportSheet.h"

#include <QList>
#include <QString>

namespace PrintJobTitle {
// `chosen` of `offered` sheets go into the job (for a choice of pupils); the
// fallback names a sheet without a heading in brackets.
QString of(const QList<ReportSheet>& sheets, int offered, const QString& fallback);
// The sheet's heading without its brackets (「【児童氏名一覧表】」 -> 「児童氏名一覧表」).
QString heading(const ReportSheet& sheet);
}  // namespace PrintJobTitle
