#include "TestEnv.h"

#include "DataFiles.h"
#include "model/Cp932.h"
#include "app/MainWindow.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QSettings>
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

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QMap<QString, QByteArray> folderFiles(const QString& folder)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : filesIn(folder))
        if (name != QLatin1String("kazane.lock"))
            files.insert(name, fileBytes(folder + QLatin1Char('/') + name));
    return files;
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

void TestEnv::useUi(Ui& other)
{
    const std::function<QDate()> today = ctx->today;
    ctx = std::make_unique<AppContext>(AppContext{data, other, *settings, *reports, nullptr, programFolder()});
    ctx->today = today;
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
    using namespace DataFiles;
    writeSettings(specialist);
    const QStringList& stems = specialist ? classStems() : subjectStems();
    if (specialist) {
        writeFile(stems[0] + QStringLiteral(".nam"), rosterLines(names));
        for (int i = 1; i < stems.size(); ++i)
            writeFile(stems[i] + QStringLiteral(".nam"), rosterLines({}));
    } else {
        writeFile(QStringLiteral("Class.Nam"), rosterLines(names));
        writeFile(QStringLiteral("shuketu.dat"), attendanceLines(attendanceYear(int(names.size()))));
    }
    for (const QString& stem : stems)
        writeFile(stem + QStringLiteral(".dat"), scoreLines({}));
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

void TestEnv::loadSample(const QString& kind)
{
    const QString sample = QStringLiteral(TESTS_SOURCE_DIR "/data/sample/") + kind;
    for (const QString& name : QDir(sample).entryList(QDir::Files))
        QFile::copy(sample + QLatin1Char('/') + name, dataFolder() + name);
    QSettings stored(sample + QStringLiteral(".ini"), QSettings::IniFormat);
    for (const QString& key : stored.allKeys())
        settings->setValue(key, stored.value(key));
    settings->setValue(QStringLiteral("UseMode/DataPath"), dataFolder());
    settings->sync();
}
