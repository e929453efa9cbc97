#include "TestEnv.h"

#include "model/Cp932.h"
#include "app/MainWindow.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QTest>

QByteArray cp932(const QString& text)
{
    auto bytes = Cp932::encode(text);
    if (!bytes)
        qFatal("text not representable in CP932");
    return *bytes;
}

QByteArray crlf(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return cp932(text);
}

QString TestEnv::buildFolder()
{
    const QString fromEnv = QProcessEnvironment::systemEnvironment().value(QStringLiteral("KAZANE_BUILD_DIR"));
    return fromEnv.isEmpty() ? QDir::currentPath() : fromEnv;
}

TestEnv::TestEnv()
{
    QDir().mkpath(dataFolder());
    QDir().mkpath(programFolder());
    settings = std::make_unique<QSettings>(settingsFile(), QSettings::IniFormat);
    reports = std::make_unique<ReportOutput>(ui, programFolder(), buildFolder());
    // Tests never reach a real printer: 印刷 takes the no-printer path.
    reports->setPrinterCheck([] { return false; });
    ctx = std::make_unique<AppContext>(AppContext{data, ui, *settings, *reports, nullptr, programFolder()});
    ctx->today = [] { return QDate(2026, 6, 15); };
    data.setDefaultViewpointNames();
    data.dataFolder = dataFolder();
}

TestEnv::~TestEnv()
{
    window.reset();
}

void TestEnv::writeSettings(bool specialist)
{
    settings->beginGroup(QStringLiteral("UseMode"));
    settings->setValue(QStringLiteral("SenkaMode"), specialist ? QStringLiteral("-1") : QStringLiteral("0"));
    settings->setValue(QStringLiteral("KyokaNumber"), QStringLiteral("1"));
    settings->setValue(QStringLiteral("ClassNumber"), QStringLiteral("1"));
    settings->setValue(QStringLiteral("UseKyoka"), QStringLiteral("111111111"));
    settings->setValue(QStringLiteral("DataPath"), dataFolder());
    settings->setValue(QStringLiteral("BackupPath"), dir.path());
    settings->endGroup();
    settings->sync();
    data.specialistMode = specialist;
    data.setFileStems();
    data.subject = 1;
    data.classNumber = 1;
}

void TestEnv::makeClass(const QStringList& names, bool specialist)
{
    writeSettings(specialist);
    QStringList roster{QString::number(names.size())};
    for (const QString& name : names)
        roster.append(QLatin1Char('"') + name + QLatin1Char('"'));
    const QStringList stems = specialist ? QStringList{QStringLiteral("４の１"), QStringLiteral("４の２"), QStringLiteral("４の３"),
                                                       QStringLiteral("５の１"), QStringLiteral("５の２"), QStringLiteral("５の３"),
                                                       QStringLiteral("６の１"), QStringLiteral("６の２"), QStringLiteral("６の３")}
                                         : QStringList{QStringLiteral("国語"), QStringLiteral("社会"), QStringLiteral("算数"),
                                                       QStringLiteral("理科"), QStringLiteral("生活"), QStringLiteral("音楽"),
                                                       QStringLiteral("図工"), QStringLiteral("家庭"), QStringLiteral("体育")};
    if (specialist) {
        writeFile(QStringLiteral("４の１.nam"), roster);
        for (int i = 1; i < stems.size(); ++i)
            writeFile(stems[i] + QStringLiteral(".nam"), {QStringLiteral("0")});
    } else {
        writeFile(QStringLiteral("Class.Nam"), roster);
        QStringList attendance;
        for (int m = 1; m <= 12; ++m) {
            attendance.append(QStringLiteral("0"));
            for (int p = 0; p < names.size(); ++p)
                attendance.append(QStringLiteral("0,0,0,0,0,0,0"));
        }
        writeFile(QStringLiteral("shuketu.dat"), attendance);
    }
    for (const QString& stem : stems)
        writeFile(stem + QStringLiteral(".dat"), {QStringLiteral("0")});
    data.pupilCount = int(names.size());
    for (int p = 1; p <= names.size(); ++p)
        data.pupilName[p] = names[p - 1];
}

void TestEnv::writeFile(const QString& name, const QStringList& lines)
{
    writeBytes(name, crlf(lines));
}

void TestEnv::writeBytes(const QString& name, const QByteArray& bytes)
{
    QFile file(dataFolder() + name);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write test file");
    file.write(bytes);
}

QByteArray TestEnv::readBytes(const QString& name) const
{
    QFile file(dataFolder() + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QStringList TestEnv::readLines(const QString& name) const
{
    auto text = Cp932::decode(readBytes(name));
    if (!text)
        return {};
    QStringList lines = text->split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool TestEnv::exists(const QString& name) const
{
    return QFile::exists(dataFolder() + name);
}

MainWindow& TestEnv::startMainWindow()
{
    window = std::make_unique<MainWindow>(*ctx);
    window->startUp();
    return *window;
}
