#include "FullClass.h"

#include "DataFiles.h"
#include "TestEnv.h"

#include <QDir>
#include <QFile>
#include <QSettings>

using namespace DataFiles;

namespace {

constexpr int Pupils = 45;

void writeLines(const QString& path, const QStringList& lines)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(crlf(lines)) < 0)
        qFatal("cannot write the benchmark class");
}

Tests fullTests(int unit)
{
    Tests tests;
    for (int t = 1; t <= 60; ++t) {
        Test test{QStringLiteral("第%1回 まとめのテスト").arg(t), {}};
        for (int c = 1; c <= 4; ++c) {
            Column column{c, 25, {}};
            for (int p = 1; p <= Pupils; ++p)
                column.scores << (p * 7 + t * 3 + c + unit) % 26;
            test.columns << column;
        }
        tests << test;
    }
    return tests;
}

}  // namespace

QString FullClass::write(const QString& folder)
{
    const QString data = QDir(folder).filePath(QStringLiteral("data")) + QLatin1Char('/');
    QDir().mkpath(data);
    writeLines(data + QStringLiteral("Class.Nam"), rosterLines(pupilNames(Pupils, NameStyle::Full)));
    for (const QString& stem : subjectStems())
        writeLines(data + stem + QStringLiteral(".dat"), scoreLines(fullTests(int(subjectStems().indexOf(stem)) + 1)));
    const Attendance year = attendanceYear(Pupils, [](int) { return 20; },
                                           [](int month, int pupil) { return QList<int>{0, 0, 20 - (month + pupil) % 3, 0, 0, (month + pupil) % 3, 0}; });
    writeLines(data + QStringLiteral("shuketu.dat"), attendanceLines(year));

    const QString settingsFile = QDir(folder).filePath(QStringLiteral("Kazane.ini"));
    QSettings settings(settingsFile, QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("UseMode"));
    settings.setValue(QStringLiteral("SenkaMode"), QStringLiteral("0"));
    settings.setValue(QStringLiteral("KyokaNumber"), QStringLiteral("1"));
    settings.setValue(QStringLiteral("ClassNumber"), QStringLiteral("1"));
    settings.setValue(QStringLiteral("UseKyoka"), QStringLiteral("111111111"));
    settings.setValue(QStringLiteral("DataPath"), data);
    settings.setValue(QStringLiteral("BackupPath"), folder);
    settings.endGroup();
    settings.sync();
    return settingsFile;
}
