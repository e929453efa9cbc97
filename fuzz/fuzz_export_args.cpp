// kazane-export's arguments, one per line of the input, against a small class.
// Every run ends with 0, 1 or 2; a run that fails leaves no file at all, one that
// succeeds leaves no temporary file; the data folder and the settings never change.
//
// Arguments are kept inside a scratch folder (the current folder): an input with
// a '/' or ".." anywhere is skipped, so no run can name a file elsewhere.

#include "FuzzSupport.h"
#include "model/Cp932.h"
#include "tools/ExportCommand.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

QTemporaryDir* root = nullptr;
QString layouts;

QString rootPath(const QString& name)
{
    return root->filePath(name);
}

void writeFile(const QString& path, const QString& text)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly));
    const auto bytes = Cp932::encode(text);
    FUZZ_CHECK(bytes.has_value());
    file.write(*bytes);
}

// The class: three pupils, two tests of 国語, a year of attendance; settings that
// use 国語 and 算数 only.
void makeClass()
{
    const QString data = rootPath(QStringLiteral("data"));
    QDir().mkpath(data);
    writeFile(data + QStringLiteral("/Class.Nam"), QStringLiteral("3\r\n\"青木\"\r\n\"=1+1\"\r\n\"田中\"\r\n"));
    writeFile(data + QStringLiteral("/国語.dat"),
              QStringLiteral("2\r\n\"漢字①\"\r\n2\r\n1\r\n50\r\n45\r\n-1\r\n30\r\n3\r\n50\r\n40\r\n20\r\n-1\r\n"
                             "\"読解\"\r\n1\r\n2\r\n100\r\n70\r\n80\r\n90\r\n"));
    writeFile(data + QStringLiteral("/算数.dat"), QStringLiteral("0\r\n"));
    QString attendance;
    for (int m = 1; m <= 12; ++m) {
        attendance += QStringLiteral("20\r\n");
        for (int p = 1; p <= 3; ++p)
            attendance += QStringLiteral("0,0,20,%1,0,%2,0\r\n").arg(m % 3).arg(p);
    }
    writeFile(data + QStringLiteral("/shuketu.dat"), attendance);
    writeFile(rootPath(QStringLiteral("Kazane.ini")),
              QStringLiteral("[UseMode]\nSenkaMode=0\nKyokaNumber=1\nClassNumber=1\nUseKyoka=101000000\nDataPath=%1/\nBackupPath=%2\n")
                  .arg(data, root->path()));
}

// Every file under a folder with a hash of its bytes.
QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        files.insert(path, file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Md5) : QByteArray("dir"));
    }
    return files;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: the libraries' own exit routines run after any static.
    new QApplication(*argc, *argv);
    layouts = QStringLiteral(KAZANE_LAYOUT_FOLDER);
    root = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/kazane-fuzz-export-XXXXXX"));
    makeClass();
    QDir().mkpath(rootPath(QStringLiteral("scratch")));
    QDir::setCurrent(rootPath(QStringLiteral("scratch")));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString input = QString::fromUtf8(Fuzz::bytes(data, size));
    if (input.contains(QLatin1Char('/')) || input.contains(QLatin1String("..")) || input.contains(QChar(0)))
        return 0;
    QStringList arguments = input.split(QLatin1Char('\n'));
    if (arguments.size() > 24)
        return 0;
    arguments.prepend(rootPath(QStringLiteral("Kazane.ini")));
    arguments.prepend(QStringLiteral("--settings"));

    static const QMap<QString, QByteArray> before = snapshot(rootPath(QStringLiteral("data")));
    static const QByteArray settings = [] {
        QFile file(rootPath(QStringLiteral("Kazane.ini")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();

    QString err;
    QString out;
    QTextStream errStream(&err);
    QTextStream outStream(&out);
    const int code = ExportCommand::run(arguments, errStream, outStream, layouts);
    errStream.flush();
    FUZZ_CHECK(code == 0 || code == 1 || code == 2);
    if (code != 0)
        FUZZ_CHECK_SAYING(err.startsWith(QStringLiteral("kazane-export: ")) && err.count(QLatin1Char('\n')) == 1, err);

    const QString scratch = QDir::currentPath();
    QDirIterator it(scratch, QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        FUZZ_CHECK_SAYING(code == 0, path + QLatin1Char(' ') + err);                  // a failed run leaves nothing
        FUZZ_CHECK_SAYING(!path.contains(QLatin1String(".kazane-")), path);  // nor does a good one leave temporaries
    }
    FUZZ_CHECK(snapshot(rootPath(QStringLiteral("data"))) == before);
    QFile settingsFile(rootPath(QStringLiteral("Kazane.ini")));
    FUZZ_CHECK(settingsFile.open(QIODevice::ReadOnly) && settingsFile.readAll() == settings);

    // A clean scratch folder for the next run.
    QDir(scratch).removeRecursively();
    QDir().mkpath(scratch);
    QDir::setCurrent(scratch);
    return 0;
}
