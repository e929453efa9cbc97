#pragma once
// A class for the printing tests: twelve pupils whose names hold the kanji a PDF
// writer would name by the radical of the same shape (一 人 力 大 欠 氏 田 衣 言),
// two tests of 算数, the main window open on 算数; and what reached the print
// system.

#include "DataFiles.h"
#include "MainWindowControls.h"
#include "PdfText.h"
#include "PrivateCups.h"
#include "TestEnv.h"
#include "app/MainWindow.h"

#include <QStatusBar>
#include <functional>

namespace PrintingClass {

inline QStringList names()
{
    return {QStringLiteral("田中一人"), QStringLiteral("大山力"),   QStringLiteral("言田衣子"), QStringLiteral("氏家欠太"),
            QStringLiteral("山田花子"), QStringLiteral("木村大地"), QStringLiteral("石田一郎"), QStringLiteral("上田人美"),
            QStringLiteral("森力也"),   QStringLiteral("林言葉"),   QStringLiteral("中村衣里"), QStringLiteral("小林氏子")};
}

inline QString firstTest()
{
    return QStringLiteral("漢字テスト①");
}

// Writes the class, starts the main window on 算数 and lets 印刷 ask the print
// system for its printers (TestEnv keeps tests away from printers otherwise).
inline MainWindow& open(TestEnv& env)
{
    using namespace DataFiles;
    env.makeClass(names());
    QList<int> first, second;
    for (int p = 0; p < names().size(); ++p) {
        first << 40 + 5 * p;
        second << 95 - 3 * p;
    }
    env.writeFile(QStringLiteral("算数.dat"),
                  scoreLines({{firstTest(), {{1, 100, first}}}, {QStringLiteral("計算テスト"), {{2, 100, second}}}}));
    MainWindow& window = env.startMainWindow();
    MainControls::chooseSubject(window, 3);
    env.reports->setPrinterCheck({});
    env.ui.clear();
    return window;
}

// The radical characters in a text (Kangxi radicals and the supplement).
inline QString radicalsIn(const QString& text)
{
    QString found;
    for (const QChar c : text)
        if (c.unicode() >= 0x2E80 && c.unicode() <= 0x2FDF)
            found += c;
    return found;
}

inline QString statusLine(MainWindow& window)
{
    return window.statusBar()->currentMessage();
}

// The job number of a spooled document ("…/d00012-001" -> 12).
inline int jobOf(const QString& document)
{
    return document.section(QLatin1Char('/'), -1).mid(1, 5).toInt();
}

// The one document `print` handed to the daemon, read back; none when `print`
// handed none or several.
struct Handed {
    QString document;
    QString text;
    int pages = 0;
    PrivateCups::Job job;
};
inline Handed handedBy(PrivateCups& cups, const std::function<void()>& print)
{
    const QStringList before = cups.spooledDocuments();
    print();
    const QStringList after = cups.spooledDocuments();
    Handed handed;
    if (after.size() != before.size() + 1)
        return handed;
    handed.document = after.last();
    handed.text = PdfText::pages(handed.document).join(QLatin1Char('\n'));
    handed.pages = PrivateCups::pageCount(handed.document);
    handed.job = PrivateCups::job(jobOf(handed.document));
    return handed;
}

}  // namespace PrintingClass
