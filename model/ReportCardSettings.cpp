#include "model/ReportCardSettings.h"

#include "model/SettingsStore.h"

#include <QSettings>

namespace {
const QString Group = QStringLiteral("ReportCard/");
constexpr int LongestText = 40;
}

ReportCardSettings ReportCardSettings::read(QSettings& store)
{
    ReportCardSettings settings;
    settings.school = store.value(Group + QStringLiteral("SchoolName")).toString();
    settings.className = store.value(Group + QStringLiteral("ClassName")).toString();
    settings.teacher = store.value(Group + QStringLiteral("TeacherName")).toString();
    settings.hideGrades = store.value(Group + QStringLiteral("HideHyotei")).toString() == QLatin1String("1");
    settings.a3Folded = store.value(Group + QStringLiteral("Paper")).toString().compare(QLatin1String("A3"), Qt::CaseInsensitive) == 0;
    return settings;
}

Status ReportCardSettings::write(QSettings& store) const
{
    return SettingsStore::write(store, {{Group + QStringLiteral("SchoolName"), school},
                                        {Group + QStringLiteral("ClassName"), className},
                                        {Group + QStringLiteral("TeacherName"), teacher},
                                        {Group + QStringLiteral("HideHyotei"), hideGrades ? QStringLiteral("1") : QStringLiteral("0")},
                                        {Group + QStringLiteral("Paper"), a3Folded ? QStringLiteral("A3") : QStringLiteral("A4")}});
}

QString ReportCardSettings::problem(const QString& caption, const QString& text)
{
    if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')))
        return QStringLiteral("「%1」に改行は入れられません。").arg(caption);
    if (text.size() > LongestText)
        return QStringLiteral("「%1」は%2文字以内で入力してください。").arg(caption).arg(LongestText);
    return {};
}
