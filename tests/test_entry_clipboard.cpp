// Score entry and spreadsheets: Ctrl+C copies the selected block as tab-separated
// text, Ctrl+V pastes a block from a spreadsheet at the cursor after checking every
// cell (a refusal pastes nothing and names the cell), a paste is one undo step,
// and Delete or Backspace clears the selected cells.

#include "EntryTestSupport.h"
#include "entry/ScoreClipboard.h"

#include <QClipboard>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QItemSelectionModel>

using namespace EntryTest;

namespace {

// Three pupils; "二" has two columns: 100 points (40, 50, absent) and 20 points (5, 6, 0).
QStringList oneTest()
{
    return scoreLines({{QStringLiteral("二"), {{2, 100, {40, 50, -1}}, {3, 20, {5, 6, 0}}}}});
}

void selectBlock(const EntryScreen& entry, int top, int left, int bottom, int right)
{
    entry.clickCell(top, left);
    QAbstractItemModel* model = entry.grid->model();
    entry.grid->selectionModel()->select(QItemSelection(model->index(top - 1, left), model->index(bottom - 1, right)),
                                         QItemSelectionModel::ClearAndSelect);
}

void paste(const EntryScreen& entry, const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(entry.grid, Qt::Key_V, Qt::ControlModifier);
}

}  // namespace

class EntryClipboardTest : public QObject {
    Q_OBJECT
private slots:
    // Spreadsheets quote a cell that holds a tab, a line end or a leading quote, and
    // end lines in CR LF; the last line end starts no row.
    void tabSeparatedTextBothWays()
    {
        const QList<QStringList> rows{{QStringLiteral("a\tb"), QStringLiteral("c")},
                                      {QStringLiteral("x\"y"), QString(), QStringLiteral("\"q\"")},
                                      {QStringLiteral("二行\n目")}};
        const QString text = ScoreClipboard::toText(rows);
        QCOMPARE(text, QStringLiteral("\"a\tb\"\tc\nx\"y\t\t\"\"\"q\"\"\"\n\"二行\n目\""));
        QCOMPARE(ScoreClipboard::parse(text), rows);
        QCOMPARE(ScoreClipboard::parse(QString(text).replace(QStringLiteral("c\n"), QStringLiteral("c\r\n")) + "\r\n"),
                 rows);
        QCOMPARE(ScoreClipboard::parse(QStringLiteral("1\t\r\n\t2\r\n")),
                 (QList<QStringList>{{"1", ""}, {"", "2"}}));
        QVERIFY(ScoreClipboard::parse(QString()).isEmpty());
    }

    void copiesTheSelectedBlock()
    {
        TestEnv env;
        env.makeClass(pupilNames(3));
        env.writeFile(QStringLiteral("国語.dat"), oneTest());
        EntryScreen entry = openEntry(env);
        QGuiApplication::clipboard()->clear();
        selectBlock(entry, 1, 3, 3, 4);
        QTest::keyClick(entry.grid, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("40\t5\n50\t6\n欠席\t0"));
        // With the names, and through the menu.
        selectBlock(entry, 2, 1, 3, 3);
        child<QAction>(entry.window, QStringLiteral("copyAction"))->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("児童02\t56\t50\n児童03\t欠席\t欠席"));
        QVERIFY(env.ui.messages.isEmpty());
    }

    // A block from a spreadsheet: full-width digits, 欠 and "/" as absent, an empty
    // cell as empty; the totals follow, the block stays selected, and one Ctrl+Z
    // takes all of it back.
    void pastesABlockAsOneStep()
    {
        TestEnv env;
        env.makeClass(pupilNames(3));
        env.writeFile(QStringLiteral("国語.dat"), oneTest());
        EntryScreen entry = openEntry(env);
        entry.clickCell(1, 3);
        paste(entry, QStringLiteral("１２\t欠\r\n/\t\r\n30\t２０\r\n"));
        QVERIFY(env.ui.messages.isEmpty());
        QCOMPARE(entry.rowCells(1), (QStringList{"12", "12", "欠席", "", ""}));
        // Absent with no points: 欠席 at once, as after a reload.
        QCOMPARE(entry.rowCells(2), (QStringList{"欠席", "欠席", "", "", ""}));
        QCOMPARE(entry.rowCells(3), (QStringList{"50", "30", "20", "", ""}));
        QCOMPARE(std::pair(entry.cursorRow(), entry.cursorCol()), std::pair(1, 3));
        QCOMPARE(entry.grid->selectionModel()->selectedIndexes().size(), 6);

        // Pasted into a smaller spot: a one-column block at pupil 2, column Ⅱ.
        entry.clickCell(2, 4);
        paste(entry, QStringLiteral("7\n欠席"));
        QCOMPARE(entry.rowCells(2), (QStringList{"7", "欠席", "7", "", ""}));
        QCOMPARE(entry.rowCells(3), (QStringList{"30", "30", "欠席", "", ""}));

        QTest::keyClick(entry.grid, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(entry.rowCells(2), (QStringList{"欠席", "欠席", "", "", ""}));
        QCOMPARE(entry.rowCells(3), (QStringList{"50", "30", "20", "", ""}));
        QTest::keyClick(entry.grid, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(entry.rowCells(1), (QStringList{"45", "40", "5", "", ""}));
        QCOMPARE(entry.rowCells(2), (QStringList{"56", "50", "6", "", ""}));
        QCOMPARE(entry.rowCells(3), (QStringList{"欠席", "欠席", "0", "", ""}));  // as the file showed it
        QVERIFY(!entry.window->holdsUnsavedChanges());
        QTest::keyClick(entry.grid, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(entry.rowCells(3), (QStringList{"50", "30", "20", "", ""}));

        // Saved, the empty cell kept 未入力 when asked: 0 in the file and listed in the
        // class file; absent -1.
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY2(env.ui.messages.first().text.contains(QStringLiteral("No.1「二」：1人")), qPrintable(env.ui.lastMessage()));
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")),
                 crlf({"1", "\"二\"", "2", "2", "100", "12", "-1", "30", "3", "20", "-1", "0", "20"}));
        QCOMPARE(QJsonDocument::fromJson(env.readBytes(QStringLiteral("assessment.json")))
                     .object()["subjects"].toObject()[QStringLiteral("国語")].toObject()["tests"].toArray()[0],
                 QJsonValue(QJsonObject{{"notEntered", QJsonObject{{"2", QJsonArray{2}}}}}));
    }

    // Every cell is checked before any goes in: the first refused one is named by
    // its place in the pasted block, its pupil and column, and its value.
    void aRefusedCellPastesNothing_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reason");
        const QString head = QStringLiteral("次のセルを受け付けられないため、何も貼り付けませんでした。\n\n");
        QTest::newRow("above the full marks")
            << 1 << 3 << QStringLiteral("10\t5\n20\t21\n30\t30")
            << head + QStringLiteral("貼り付ける表の2行目・2列目「21」\n→ 2番 児童02、観点Ⅱ：満点（20点）を越えています。");
        QTest::newRow("not a score")
            << 2 << 3 << QStringLiteral("10\n5点")
            << head + QStringLiteral("貼り付ける表の2行目・1列目「5点」\n→ 3番 児童03、観点Ⅰ："
                                     "点数（0以上の整数）でも欠席（欠・欠席・/）でもありません。");
        QTest::newRow("below the last pupil")
            << 3 << 4 << QStringLiteral("1\n2")
            << head + QStringLiteral("貼り付ける表の2行目・1列目「2」\n→ 3番より後の行：クラスは3人です。その後ろには貼り付けられません。");
        QTest::newRow("a column without a viewpoint")
            << 1 << 4 << QStringLiteral("1\t2")
            << head + QStringLiteral("貼り付ける表の1行目・2列目「2」\n→ 1番 児童01、観点Ⅲ："
                                     "この列には観点が選ばれていないため、点数を入れられません。");
        QTest::newRow("right of the last column")
            << 1 << 5 << QStringLiteral("\t\t\t9")
            << head + QStringLiteral("貼り付ける表の1行目・4列目「9」\n→ 1番 児童01：観点Ⅳより右には点数の列がありません。");
    }

    void aRefusedCellPastesNothing()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(QString, text);
        QFETCH(QString, reason);
        TestEnv env;
        env.makeClass(pupilNames(3));
        env.writeFile(QStringLiteral("国語.dat"), oneTest());
        EntryScreen entry = openEntry(env);
        if (col == 5) {  // a test of four columns, so that column Ⅳ takes scores
            entry.defineColumns({{2, QStringLiteral("100")}, {3, QStringLiteral("20")}, {1, QStringLiteral("10")},
                                 {4, QStringLiteral("10")}});
            col = 6;
        }
        QList<QStringList> before;
        for (int r = 1; r <= 3; ++r)
            before << entry.rowCells(r);
        const bool undoBefore = child<QAction>(entry.window, QStringLiteral("undoAction"))->isEnabled();
        entry.clickCell(row, col);
        paste(entry, text);
        QCOMPARE(env.ui.messageTexts(), QStringList{reason});
        QCOMPARE(env.ui.messages[0].icon, Ui::Icon::Warning);
        for (int r = 1; r <= 3; ++r)
            QCOMPARE(entry.rowCells(r), before[r - 1]);
        QCOMPARE(child<QAction>(entry.window, QStringLiteral("undoAction"))->isEnabled(), undoBefore);
    }

    // Empty cells that fall outside the class or the columns are no refusal, and a
    // paste with the cursor outside the score columns or nothing on the clipboard
    // says what to do.
    void emptyCellsBeyondTheGridAndMisplacedPastes()
    {
        TestEnv env;
        env.makeClass(pupilNames(3));
        env.writeFile(QStringLiteral("国語.dat"), oneTest());
        EntryScreen entry = openEntry(env);
        entry.clickCell(3, 4);
        paste(entry, QStringLiteral("9\t\t\n\t\n"));
        QVERIFY(env.ui.messages.isEmpty());
        QCOMPARE(entry.rowCells(3), (QStringList{"9", "欠席", "9", "", ""}));

        entry.clickCell(1, 1);
        paste(entry, QStringLiteral("9"));
        QCOMPARE(env.ui.lastMessage(), QStringLiteral("点数の列（Ⅰ～Ⅳ）にカーソルを置いてから貼り付けてください。"));
        entry.clickCell(1, 3);
        paste(entry, QString());
        QCOMPARE(env.ui.lastMessage(), QStringLiteral("貼り付ける点数がクリップボードにありません。"));
        QCOMPARE(entry.rowCells(1), (QStringList{"45", "40", "5", "", ""}));
    }

    // Delete or Backspace clears the selected score cells (the other cells of the
    // block stay): they are 未入力 again. The totals follow; saved as 未入力 the file
    // holds 0 for them, as it always did.
    void deleteAndBackspaceClear()
    {
        TestEnv env;
        env.makeClass(pupilNames(3));
        env.writeFile(QStringLiteral("国語.dat"), oneTest());
        EntryScreen entry = openEntry(env);
        selectBlock(entry, 1, 1, 2, 3);
        QTest::keyClick(entry.grid, Qt::Key_Delete);
        QCOMPARE(entry.rowCells(1), (QStringList{"5", "", "5", "", ""}));
        QCOMPARE(entry.rowCells(2), (QStringList{"6", "", "6", "", ""}));
        QCOMPARE(entry.cellText(1, 1), QStringLiteral("児童01"));
        entry.clickCell(3, 3);
        QTest::keyClick(entry.grid, Qt::Key_Backspace);
        QCOMPARE(entry.rowCells(3), (QStringList{"0", "", "0", "", ""}));
        // Outside the score columns there is nothing to clear.
        entry.clickCell(3, 2);
        QTest::keyClick(entry.grid, Qt::Key_Delete);
        QCOMPARE(env.ui.beeps, 1);
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(env.ui.messages.first().choices, (QStringList{"未入力のまま保存", "0点にする", "キャンセル"}));
        QVERIFY2(env.ui.messages.first().text.contains(QStringLiteral("No.1「二」：3人")), qPrintable(env.ui.lastMessage()));
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")),
                 crlf({"1", "\"二\"", "2", "2", "100", "0", "0", "0", "3", "20", "5", "6", "0"}));
    }
};

QTEST_MAIN(EntryClipboardTest)
#include "test_entry_clipboard.moc"
