#pragma once
// A whole program for one test: a temporary program folder and data folder, a
// settings file of its own, the scripted Ui, ClassData, the report path and the
// real main window. Helpers write and read data files byte for byte.

#include "ScriptedUi.h"
#include "model/ClassData.h"
#include "output/ReportOutput.h"
#include "frame/AppContext.h"

#include <QByteArray>
#include <QMap>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

class MainWindow;

class TestEnv {
public:
    // Settings are written for the mode unless `firstRun` leaves the store empty.
    TestEnv();
    ~TestEnv();

    QString dataFolder() const { return dir.path() + QStringLiteral("/data/"); }
    QString programFolder() const { return dir.path() + QStringLiteral("/program"); }
    QString settingsFile() const { return dir.path() + QStringLiteral("/Kazane.ini"); }
    // The folder of the built program, where layouts and help lie.
    static QString buildFolder();

    // Stores settings for a homeroom (or specialist) class in the data folder.
    void writeSettings(bool specialist = false);
    // Writes the settings, then a roster of `names` and, in homeroom mode, an
    // attendance file of zeros and empty score files for every unit.
    void makeClass(const QStringList& names, bool specialist = false);
    // The shipped sample class tests/data/sample/<kind> ("homeroom", "specialist"):
    // its files copied into the data folder, its settings stored with this data folder.
    void loadSample(const QString& kind);

    // Data files in CP932 with CR LF; `lines` are written as given.
    void writeFile(const QString& name, const QStringList& lines);
    void writeBytes(const QString& name, const QByteArray& bytes);
    QByteArray readBytes(const QString& name) const;
    // The file decoded from CP932 and split at CR LF (without the last empty piece).
    QStringList readLines(const QString& name) const;
    bool exists(const QString& name) const;

    // The windows created after this call (the main window included) show their
    // messages through `other`: a real QtUi, for a test of what a key does in Qt's
    // own message box.
    void useUi(Ui& other);
    // Creates the main window and runs its start-up (the splash is closed at once).
    MainWindow& startMainWindow();
    MainWindow* mainWindow() const { return window.get(); }

    QTemporaryDir dir;
    ClassData data;
    ScriptedUi ui;
    std::unique_ptr<QSettings> settings;
    std::unique_ptr<ReportOutput> reports;
    std::unique_ptr<AppContext> ctx;

private:
    std::unique_ptr<MainWindow> window;
};

// CP932 bytes of a text (for expected file contents).
QByteArray cp932(const QString& text);
// Lines joined with CR LF after each line, in CP932.
QByteArray crlf(const QStringList& lines);
// The bytes of any file (empty when it cannot be read), and the names of the files
// of a folder, hidden ones included, sorted.
QByteArray fileBytes(const QString& path);
QStringList filesIn(const QString& folder);
// Every file of a folder (hidden ones included) by name with its bytes, the lock
// file of a running program aside: it comes and goes with the program.
QMap<QString, QByteArray> folderFiles(const QString& folder);
