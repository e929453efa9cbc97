// Several sheets in one PDF document (each from a new page, each counting its own
// pages), and a batch of files reserved in order and filled from several threads:
// each file gets its own bytes, nothing takes its name before the commit, and an
// abandoned batch leaves no file behind.

#include "DataFiles.h"
#include "PdfText.h"
#include "output/OutputFile.h"
#include "output/PdfWriter.h"
#include "output/ReportLayout.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <atomic>

using namespace DataFiles;

namespace {

ReportSheet listSheet(const QString& title, int rows, int seed)
{
    ReportSheet sheet;
    sheet.stem = QStringLiteral("sample");
    sheet.titleFields = {QStringLiteral("Title")};
    sheet.titleValues = {title};
    sheet.dataFields = {QStringLiteral("Number"), QStringLiteral("Name"), QStringLiteral("Score")};
    const QStringList names = pupilNames(45, NameStyle::Full);
    for (int r = 1; r <= rows; ++r)
        sheet.rows.append({QString::number(r), names[(r + seed) % 45], QString::number(r * seed)});
    return sheet;
}

// A4 with 24 rows a page under the heading row.
const QString ListLayout = QStringLiteral(
    "paper A4\n"
    "margins 10 10 10 10\n"
    "font \"IPAexGothic\" 10\n"
    "text 0 0 190 center 14 bold \"{Title}\"\n"
    "table 20\n"
    "row 10\n"
    "column Number 20 right \"番号\"\n"
    "column Name 60 left \"氏名\"\n"
    "column Score 30 right \"得点\"\n"
    "footer right \"{page}/{pages}\"\n");

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class PdfBatchTest : public QObject {
    Q_OBJECT
private slots:
    void sheetsOfOneDocumentStartOnNewPagesAndCountTheirOwn()
    {
        auto layout = std::make_shared<ReportLayout>();
        QVERIFY(ReportLayout::parse(ListLayout, QStringLiteral("sample.rpt"), *layout).ok);
        // 30 rows take two pages, 5 rows one, 24 rows exactly one.
        const QList<ReportSheet> sheets{listSheet(QStringLiteral("一組"), 30, 1), listSheet(QStringLiteral("二組"), 5, 2),
                                        listSheet(QStringLiteral("三組"), 24, 3)};
        QByteArray pdf;
        QVERIFY(PdfWriter::render(sheets, layout, QString(), pdf).ok);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sheets.pdf"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(pdf) == pdf.size());
        file.close();
        const QStringList pages = PdfText::pages(path);
        QCOMPARE(pages.size(), 4);
        const QStringList titles{"一組", "一組", "二組", "三組"};
        const QStringList footers{"1/2", "2/2", "1/1", "1/1"};
        for (int i = 0; i < 4; ++i) {
            QVERIFY2(pages[i].contains(titles[i]), qPrintable(pages[i]));
            QVERIFY2(pages[i].contains(QRegularExpression(QStringLiteral("\\s%1\\s*$").arg(footers[i]))), qPrintable(pages[i]));
            for (const QString& other : titles)
                if (other != titles[i])
                    QVERIFY(!pages[i].contains(other));
        }
        // The second page of the first sheet holds its rows 25 to 30 and no more.
        const QStringList names = pupilNames(45, NameStyle::Full);
        QVERIFY(pages[1].contains(QRegularExpression(QStringLiteral("\\b25\\s+%1\\s+25\\b").arg(names[26]))));
        QVERIFY(pages[1].contains(QRegularExpression(QStringLiteral("\\b30\\s+%1\\s+30\\b").arg(names[31]))));
        QVERIFY(!pages[1].contains(names[24]));
        // A sheet that fails its layout fails the whole document.
        ReportSheet wrong = listSheet(QStringLiteral("四組"), 3, 4);
        wrong.dataFields[2] = QStringLiteral("Other");
        QVERIFY(!PdfWriter::render(sheets + QList<ReportSheet>{wrong}, layout, QString(), pdf).ok);
    }

    void filesReservedInOrderAreFilledFromSeveralThreads()
    {
        QTemporaryDir dir;
        const int count = 64;
        QFile old(dir.filePath(QStringLiteral("07.bin")));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        auto bytesOf = [](int i) { return QByteArray::number(i).repeated(1000 + 37 * i); };
        {
            OutputBatch batch(SafeFile::Sync::Skip);
            QList<int> numbers;
            for (int i = 0; i < count; ++i) {
                int number = -1;
                QVERIFY(batch.reserve(dir.filePath(QStringLiteral("%1.bin").arg(i, 2, 10, QLatin1Char('0'))), number).ok);
                numbers.append(number);
            }
            // The same name twice is refused.
            int again = -1;
            QVERIFY(!batch.reserve(dir.filePath(QStringLiteral("03.bin")), again).ok);
            std::atomic<int> next = 0, failures = 0;
            QThreadPool pool;
            pool.setMaxThreadCount(4);
            for (int w = 0; w < 4; ++w)
                pool.start([&] {
                    for (int i = next++; i < count; i = next++)
                        if (!batch.fill(numbers[i], bytesOf(i)).ok)
                            ++failures;
                });
            pool.waitForDone();
            QCOMPARE(failures.load(), 0);
            // Nothing has its name yet; the old file is untouched.
            QCOMPARE(readAll(dir.filePath(QStringLiteral("07.bin"))), QByteArray("old"));
            QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("00.bin"))));
            QVERIFY(batch.commit().ok);
            QCOMPARE(batch.paths().size(), count);
            for (int i = 0; i < count; ++i)
                QCOMPARE(batch.paths()[i], dir.filePath(QStringLiteral("%1.bin").arg(i, 2, 10, QLatin1Char('0'))));
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), count);
        for (int i = 0; i < count; ++i)
            QCOMPARE(readAll(dir.filePath(QStringLiteral("%1.bin").arg(i, 2, 10, QLatin1Char('0')))), bytesOf(i));

        // A batch that ends without its commit leaves the folder as it was.
        {
            OutputBatch batch(SafeFile::Sync::Skip);
            int number = -1;
            QVERIFY(batch.reserve(dir.filePath(QStringLiteral("new.bin")), number).ok);
            QVERIFY(batch.reserve(dir.filePath(QStringLiteral("07.bin")), number).ok);
            QVERIFY(batch.fill(number, "replaced").ok);
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), count);
        QCOMPARE(readAll(dir.filePath(QStringLiteral("07.bin"))), bytesOf(7));
    }
};

QTEST_MAIN(PdfBatchTest)
#include "test_pdf_batch.moc"
