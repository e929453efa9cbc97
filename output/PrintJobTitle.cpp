#include "output/PrintJobTitle.h"

#include <QHash>

namespace {

// The field that tells one print of a sheet from another.
QString detailField(const QString& stem)
{
    static const QHash<QString, QString> fields{
        {QStringLiteral("testdisp"), QStringLiteral("TestTitle")}, {QStringLiteral("aryoiki"), QStringLiteral("SortWay")},
        {QStringLiteral("kojin"), QStringLiteral("Name")},         {QStringLiteral("Mente"), QStringLiteral("ClassName")},
        {QStringLiteral("Shuseki"), QStringLiteral("Mode")},
    };
    return fields.value(stem);
}

QString detailOf(const QList<ReportSheet>& sheets, int offered)
{
    const ReportSheet& first = sheets.first();
    if (sheets.size() > 1)
        return sheets.size() == offered ? QStringLiteral("全員") : QStringLiteral("%1人").arg(sheets.size());
    const QString field = detailField(first.stem);
    return field.isEmpty() ? QString() : first.fieldValue(field).value_or(QString()).simplified();
}

}  // namespace

QString PrintJobTitle::heading(const ReportSheet& sheet)
{
    const QString title = sheet.fieldValue(QStringLiteral("Title")).value_or(QString());
    const qsizetype open = title.indexOf(QStringLiteral("【"));
    const qsizetype close = title.indexOf(QStringLiteral("】"), open + 1);
    if (open < 0 || close < 0)
        return title.simplified();
    return title.mid(open + 1, close - open - 1).simplified();
}

QString PrintJobTitle::of(const QList<ReportSheet>& sheets, int offered, const QString& fallback)
{
    if (sheets.isEmpty())
        return fallback;
    QString title = heading(sheets.first());
    if (title.isEmpty())
        return fallback;
    const QString detail = detailOf(sheets, offered);
    if (!detail.isEmpty() && detail != QStringLiteral("-"))
        title += QLatin1Char('-') + detail;
    return title;
}
