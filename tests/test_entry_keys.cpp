// Score entry's key rules, case by case: what each key typed into a score column
// does in both input modes, with and without a first digit waiting, and where the
// cursor goes after an accepted score and whether the grid scrolls with it.

#include "entry/ScoreKeys.h"

#include <QTest>

using namespace ScoreKeys;

Q_DECLARE_METATYPE(ScoreKeys::InputMode)
Q_DECLARE_METATYPE(ScoreKeys::KeyAction)

namespace {

// The fixed values of the keys 1, 2 and 3 (index 0 unused).
const std::array<int, 4> FixedValues{0, 15, 25, 35};

QString digitName(int waiting) { return waiting < 0 ? QStringLiteral("nothing waiting") : QStringLiteral("%1 waiting").arg(waiting); }

PendingDigit pendingOf(int waiting) { return waiting < 0 ? PendingDigit::none() : PendingDigit::of(waiting); }

// One row: the key typed with `waiting` (-1 nothing, else the digit) and what it does.
void addKey(const char* mode, InputMode inputMode, const QString& key, const QString& keyName, int waiting,
            KeyAction action, int value = 0, bool check = false, int waitingAfter = -1)
{
    QTest::addRow("%s, %s, %s", mode, qPrintable(keyName), qPrintable(digitName(waiting)))
        << inputMode << key << waiting << action << value << check << waitingAfter;
}

}  // namespace

class EntryKeysTest : public QObject {
    Q_OBJECT
private slots:
    void everyKeyInBothModes_data()
    {
        QTest::addColumn<InputMode>("mode");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("waiting");
        QTest::addColumn<KeyAction>("action");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("check");
        QTest::addColumn<int>("waitingAfter");
        const InputMode normal = InputMode::Normal;
        const InputMode fixed = InputMode::Fixed;
        for (int waiting : {-1, 4}) {
            // Normal mode: a first digit waits; the second makes the score with it.
            for (int d = 0; d <= 9; ++d) {
                const QString half = QString::number(d);
                const QString full(QChar(char16_t(0xFF10 + d)));
                for (const QString& key : {half, full}) {
                    if (waiting < 0)
                        addKey("normal", normal, key, key, waiting, KeyAction::Show, d, false, d);
                    else
                        addKey("normal", normal, key, key, waiting, KeyAction::Show, waiting * 10 + d, true);
                }
            }
            for (const QString& key : {QStringLiteral("*"), QStringLiteral("＊")})
                addKey("normal", normal, key, key, waiting, KeyAction::Show, 100, true);
            for (const QString& key : {QStringLiteral("+"), QStringLiteral("＋")})
                addKey("normal", normal, key, key, waiting, KeyAction::FullMarks);
            for (const QString& key : {QStringLiteral("/"), QStringLiteral("／")}) {
                addKey("normal", normal, key, key, waiting, KeyAction::Absent);
                addKey("fixed", fixed, key, key, waiting, KeyAction::Absent);
            }
            // Enter confirms a waiting digit and is refused otherwise, in both modes.
            for (const auto& [key, name] : {std::pair(QStringLiteral("\r"), "Return"), std::pair(QStringLiteral("\n"), "LF")}) {
                for (const auto& [mode, modeName] : {std::pair(normal, "normal"), std::pair(fixed, "fixed")}) {
                    if (waiting < 0)
                        addKey(modeName, mode, key, QLatin1String(name), waiting, KeyAction::Beep);
                    else
                        addKey(modeName, mode, key, QLatin1String(name), waiting, KeyAction::Show, waiting, true);
                }
            }
            for (const QString& key : {QStringLiteral("a"), QStringLiteral("-"), QStringLiteral(" "), QStringLiteral("."),
                                       QStringLiteral("Ａ"), QStringLiteral("欠")}) {
                addKey("normal", normal, key, key, waiting, KeyAction::Beep);
                addKey("fixed", fixed, key, key, waiting, KeyAction::Beep);
            }
            // Fixed mode: 1, 2 and 3 (or *) type their fixed values; no digit waits.
            addKey("fixed", fixed, QStringLiteral("1"), QStringLiteral("1"), waiting, KeyAction::Show, 15, true);
            addKey("fixed", fixed, QStringLiteral("２"), QStringLiteral("２"), waiting, KeyAction::Show, 25, true);
            for (const QString& key : {QStringLiteral("3"), QStringLiteral("３"), QStringLiteral("*"), QStringLiteral("＊")})
                addKey("fixed", fixed, key, key, waiting, KeyAction::Show, 35, true);
            for (const QString& key : {QStringLiteral("0"), QStringLiteral("4"), QStringLiteral("9"), QStringLiteral("+")})
                addKey("fixed", fixed, key, key, waiting, KeyAction::Beep);
        }
    }

    void everyKeyInBothModes()
    {
        QFETCH(InputMode, mode);
        QFETCH(QString, key);
        QFETCH(int, waiting);
        QFETCH(KeyAction, action);
        QFETCH(int, value);
        QFETCH(bool, check);
        QFETCH(int, waitingAfter);
        const KeyResult result = interpretKey(key.at(0), mode, pendingOf(waiting), FixedValues);
        QCOMPARE(int(result.action), int(action));
        if (action == KeyAction::Show) {
            QCOMPARE(result.value, value);
            QCOMPARE(result.check, check);
        }
        QCOMPARE(result.pending.waiting, waitingAfter >= 0);
        if (waitingAfter >= 0)
            QCOMPARE(result.pending.digit, waitingAfter);
    }

    // After an accepted score the cursor moves along the chosen columns, then to the
    // first column of the next pupil; from row ScrollFromRow on, a move to the next
    // row also scrolls the grid, but only while the 観点数 box agrees with the chosen
    // viewpoints.
    void theCursorAdvancesAndTheGridScrolls_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<int>("pupils");
        QTest::addColumn<int>("viewpointCount");
        QTest::addColumn<int>("nextRow");
        QTest::addColumn<int>("nextCol");
        QTest::addColumn<bool>("scroll");
        const int wrapRow = ScrollFromRow - 1;  // the row whose advance reaches ScrollFromRow
        for (int n = 1; n <= 4; ++n) {
            const int last = FirstScoreColumn + n - 1;  // the last chosen column
            const auto add = [n](const char* what, int row, int col, int pupils, int count, int nextRow, int nextCol,
                                 bool scroll) {
                QTest::addRow("%d columns: %s", n, what) << row << col << n << pupils << count << nextRow << nextCol << scroll;
            };
            add("the row before the wrap", wrapRow - 1, last, 45, n, wrapRow, FirstScoreColumn, false);
            add("the wrap to ScrollFromRow", wrapRow, last, 45, n, ScrollFromRow, FirstScoreColumn, true);
            add("the wrap after ScrollFromRow", ScrollFromRow, last, 45, n, ScrollFromRow + 1, FirstScoreColumn, true);
            add("the wrap to the last pupil", 44, last, 45, n, 45, FirstScoreColumn, true);
            add("the last pupil stays", 45, last, 45, n, 45, last, false);
            add("the wrap in a class of twelve", wrapRow, last, ScrollFromRow, n, ScrollFromRow, FirstScoreColumn, true);
            add("the wrap with the count box unlike the choice", wrapRow, last, 45, n + 1, ScrollFromRow,
                FirstScoreColumn, false);
            if (n > 1) {
                add("along the row at ScrollFromRow", ScrollFromRow, FirstScoreColumn, 45, n, ScrollFromRow, FirstScoreColumn + 1, false);
                add("along the row of the last pupil", 45, last - 1, 45, n, 45, last, false);
            }
        }
    }

    void theCursorAdvancesAndTheGridScrolls()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(int, chosen);
        QFETCH(int, pupils);
        QFETCH(int, viewpointCount);
        QFETCH(int, nextRow);
        QFETCH(int, nextCol);
        QFETCH(bool, scroll);
        const Advance next = nextCell(row, col, chosen, pupils, viewpointCount);
        QCOMPARE(next.row, nextRow);
        QCOMPARE(next.col, nextCol);
        QCOMPARE(next.scrollDown, scroll);
    }

    // An observation (Ａ・Ｂ・Ｃ): the letters in either case and width and the
    // digits 3, 2, 1 give their points at once; "/" and "+" as in a test of scores;
    // every other key is refused. The same in both modes.
    void observationKeys_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<KeyAction>("action");
        QTest::addColumn<int>("value");
        const QList<std::pair<QString, int>> points{
            {"a", 3}, {"A", 3}, {"ａ", 3}, {"Ａ", 3}, {"3", 3}, {"３", 3}, {"b", 2}, {"B", 2}, {"Ｂ", 2},
            {"2", 2}, {"c", 1}, {"C", 1}, {"ｃ", 1}, {"1", 1}, {"１", 1}};
        for (const auto& [key, value] : points)
            QTest::addRow("%s", qPrintable(key)) << key << KeyAction::Show << value;
        QTest::newRow("/") << QStringLiteral("/") << KeyAction::Absent << 0;
        QTest::newRow("／") << QStringLiteral("／") << KeyAction::Absent << 0;
        QTest::newRow("+") << QStringLiteral("+") << KeyAction::FullMarks << 0;
        for (const char* refused : {"d", "D", "0", "4", "9", "*", "x", "-", "\r"})
            QTest::newRow(refused) << QString::fromUtf8(refused) << KeyAction::Beep << 0;
    }
    void observationKeys()
    {
        QFETCH(QString, key);
        QFETCH(KeyAction, action);
        QFETCH(int, value);
        const KeyResult result = interpretObservationKey(key.at(0));
        QCOMPARE(result.action, action);
        QCOMPARE(result.value, value);
        QCOMPARE(result.check, action == KeyAction::Show);
        QCOMPARE(result.pending, PendingDigit::none());
    }
};

QTEST_APPLESS_MAIN(EntryKeysTest)
#include "test_entry_keys.moc"
