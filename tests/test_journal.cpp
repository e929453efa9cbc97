// The journal of a change of several files (model/SafeFileJournal.h): its record
// is recognised whole or not at all; a record left by a stop is finished when
// every new content is there, undone when one is missing or damaged, left alone
// when neither is possible; a journalled batch costs one sync more than one
// without; and a record left behind is dealt with before the next change.
// (tests/test_crash.cpp stops real changes at every call to the file system.)

#include "model/SafeFile.h"
#include "model/SafeFileJournal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <unistd.h>

using SafeFile::Journal::Outcome;
using SafeFile::Journal::Record;
using SafeFile::Journal::Step;

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList namesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A change of three files stopped after its record was synced: 国語.dat and
// Class.Nam replaced, shuketu.dat removed, each old file with its second name and
// each new content under its temporary name, as SafeFile::Batch leaves them.
struct StoppedChange {
    QString folder;
    Record record;
    QMap<QString, QByteArray> oldBytes{{QStringLiteral("国語.dat"), "old scores\r\n"},
                                       {QStringLiteral("Class.Nam"), "2\r\n\"a\"\r\n\"b\"\r\n"},
                                       {QStringLiteral("shuketu.dat"), "old attendance\r\n"}};
    QMap<QString, QByteArray> newBytes{{QStringLiteral("国語.dat"), "new scores, longer\r\n"},
                                       {QStringLiteral("Class.Nam"), "3\r\n\"a\"\r\n\"b\"\r\n\"c\"\r\n"}};

    explicit StoppedChange(const QString& in) : folder(in + QLatin1Char('/'))
    {
        record.title = QStringLiteral("転入処理");
        for (auto it = oldBytes.begin(); it != oldBytes.end(); ++it)
            put(folder + it.key(), it.value());
        for (const QString& name : {QStringLiteral("国語.dat"), QStringLiteral("Class.Nam")}) {
            Step step;
            step.file = name;
            step.temporary = QStringLiteral(".%1.kazane-99999999-1.tmp").arg(name);
            step.previous = QStringLiteral(".%1.kazane-99999999-2.tmp").arg(name);
            step.existed = true;
            step.size = newBytes[name].size();
            step.crc = SafeFile::Journal::crc32(newBytes[name]);
            put(folder + step.temporary, newBytes[name]);
            ::link(QFile::encodeName(folder + name).constData(), QFile::encodeName(folder + step.previous).constData());
            record.steps.append(step);
        }
        Step removal;
        removal.kind = Step::Kind::Remove;
        removal.file = QStringLiteral("shuketu.dat");
        removal.previous = QStringLiteral(".shuketu.dat.kazane-99999999-3.tmp");
        removal.existed = true;
        record.steps.append(removal);
        SafeFile::Journal::write(folder, record);
    }
    // The moves of the first `count` steps made, as the batch makes them.
    void move(int count)
    {
        for (int i = 0; i < count; ++i) {
            const Step& step = record.steps[i];
            const QString from = folder + (step.kind == Step::Kind::Remove ? step.file : step.temporary);
            const QString to = folder + (step.kind == Step::Kind::Remove ? step.previous : step.file);
            QVERIFY(::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0);
        }
    }
    bool holdsOld() const
    {
        for (auto it = oldBytes.begin(); it != oldBytes.end(); ++it)
            if (bytesOf(folder + it.key()) != it.value())
                return false;
        return namesIn(folder) == QStringList({QStringLiteral("Class.Nam"), QStringLiteral("shuketu.dat"), QStringLiteral("国語.dat")});
    }
    bool holdsNew() const
    {
        for (auto it = newBytes.begin(); it != newBytes.end(); ++it)
            if (bytesOf(folder + it.key()) != it.value())
                return false;
        return namesIn(folder) == QStringList({QStringLiteral("Class.Nam"), QStringLiteral("国語.dat")});
    }
};

}  // namespace

class JournalTest : public QObject {
    Q_OBJECT
private slots:
    // The record reads back as written, names with tabs and line ends included;
    // every shorter piece of it, and any changed byte, is not a record.
    void aRecordIsReadWholeOrNotAtAll()
    {
        Record record;
        record.title = QStringLiteral("新規クラスの作成");
        Step odd;
        odd.file = QStringLiteral("a\tb%c\nd.dat");
        odd.temporary = QStringLiteral(".x.tmp");
        odd.previous = QStringLiteral("/elsewhere/算数.dat");
        odd.existed = true;
        odd.size = 1234;
        odd.crc = 0x0badf00d;
        odd.oldSize = 99;
        odd.oldCrc = 0x1234;
        Step backup;
        backup.kind = Step::Kind::Backup;
        backup.file = QStringLiteral("算数.Bak");
        backup.temporary = QStringLiteral(".算数.Bak.kazane-1-2.tmp");
        record.steps = {odd, backup};
        const QByteArray bytes = SafeFile::Journal::format(record);

        Record read;
        QVERIFY(SafeFile::Journal::parse(bytes, read));
        QCOMPARE(read.title, record.title);
        QCOMPARE(read.steps.size(), 2);
        QCOMPARE(read.steps[0].file, odd.file);
        QCOMPARE(read.steps[0].previous, odd.previous);
        QCOMPARE(read.steps[0].size, qint64(1234));
        QCOMPARE(read.steps[0].crc, quint32(0x0badf00d));
        QCOMPARE(read.steps[0].oldSize, qint64(99));
        QCOMPARE(read.steps[0].oldCrc, quint32(0x1234));
        QVERIFY(read.steps[0].existed);
        QCOMPARE(read.steps[1].kind, Step::Kind::Backup);
        QVERIFY(read.steps[1].previous.isEmpty());
        QCOMPARE(read.steps[1].size, qint64(-1));
        QCOMPARE(read.steps[1].oldSize, qint64(-1));
        QVERIFY(!read.steps[1].existed);
        for (qsizetype length = 0; length < bytes.size(); ++length)
            QVERIFY2(!SafeFile::Journal::parse(bytes.left(length), read), qPrintable(QString::number(length)));
        for (qsizetype at = 0; at < bytes.size(); ++at) {
            QByteArray changed = bytes;
            changed[at] = char(changed[at] ^ 0x04);
            QVERIFY2(!SafeFile::Journal::parse(changed, read), qPrintable(QString::number(at)));
        }
    }

    // CRC-32 as in ZIP and PNG.
    void theChecksumIsTheCrc32OfZip()
    {
        QCOMPARE(SafeFile::Journal::crc32("123456789"), quint32(0xcbf43926));
        QCOMPARE(SafeFile::Journal::crc32(QByteArray()), quint32(0));
    }

    // A stop anywhere between the record and its removal: with every new content
    // there, the change is finished, however many moves were made.
    void aChangeWithEveryNewContentIsFinished_data()
    {
        QTest::addColumn<int>("moved");
        for (int moved = 0; moved <= 3; ++moved)
            QTest::addRow("%d moves made", moved) << moved;
    }
    void aChangeWithEveryNewContentIsFinished()
    {
        QFETCH(int, moved);
        QTemporaryDir dir;
        StoppedChange change(dir.path());
        change.move(moved);
        const Outcome outcome = SafeFile::Journal::recover(change.folder);
        QCOMPARE(outcome.state, Outcome::State::Finished);
        QVERIFY(change.holdsNew());
        QCOMPARE(outcome.sentence(), QStringLiteral("前回途中で止まった転入処理を、かざねが最後まで済ませました"
                                                    "（3個のファイルはすべて転入処理のあとの内容です）。"));
        QCOMPARE(SafeFile::Journal::recover(change.folder).state, Outcome::State::None);
    }

    // A new content that is missing or damaged cannot be put in place: the change
    // is undone, the files moved already taking back their old content.
    void aChangeWithANewContentMissingOrDamagedIsUndone_data()
    {
        QTest::addColumn<int>("moved");
        QTest::addColumn<bool>("damaged");
        for (int moved = 0; moved <= 1; ++moved) {
            QTest::addRow("missing, %d moved", moved) << moved << false;
            QTest::addRow("damaged, %d moved", moved) << moved << true;
        }
    }
    void aChangeWithANewContentMissingOrDamagedIsUndone()
    {
        QFETCH(int, moved);
        QFETCH(bool, damaged);
        QTemporaryDir dir;
        StoppedChange change(dir.path());
        change.move(moved);
        const QString classTemporary = change.folder + change.record.steps[1].temporary;
        if (damaged)
            put(classTemporary, "3\r\n\"a\"\r\n\"b\"\r\n\"X\"\r\n");
        else
            QVERIFY(QFile::remove(classTemporary));
        const Outcome outcome = SafeFile::Journal::recover(change.folder);
        QCOMPARE(outcome.state, Outcome::State::Undone);
        QVERIFY(change.holdsOld());
        QVERIFY(outcome.sentence().contains(QStringLiteral("転入処理を、かざねが取り消しました")));
    }

    // A removed file comes back when the change is undone.
    void aRemovedFileComesBackWhenUndone()
    {
        QTemporaryDir dir;
        StoppedChange change(dir.path());
        std::swap(change.record.steps[0], change.record.steps[2]);
        SafeFile::Journal::remove(change.folder);
        SafeFile::Journal::write(change.folder, change.record);
        change.move(1);
        QVERIFY(!QFile::exists(change.folder + QStringLiteral("shuketu.dat")));
        QVERIFY(QFile::remove(change.folder + change.record.steps[1].temporary));
        QCOMPARE(SafeFile::Journal::recover(change.folder).state, Outcome::State::Undone);
        QVERIFY(change.holdsOld());
    }

    // When a moved file has lost its old content's second name and another new
    // content is missing, neither is possible: everything stays as it is, the
    // record too, and the teacher is told.
    void aChangeThatCanBeNeitherFinishedNorUndoneIsLeftAlone()
    {
        QTemporaryDir dir;
        StoppedChange change(dir.path());
        change.move(1);
        QVERIFY(QFile::remove(change.folder + change.record.steps[0].previous));
        QVERIFY(QFile::remove(change.folder + change.record.steps[1].temporary));
        const QStringList before = namesIn(change.folder);
        const Outcome outcome = SafeFile::Journal::recover(change.folder);
        QCOMPARE(outcome.state, Outcome::State::Failed);
        QCOMPARE(namesIn(change.folder), before);
        QVERIFY(SafeFile::Journal::exists(change.folder));
        QVERIFY(outcome.sentence().contains(QStringLiteral("読み取り専用で開きます")));
        QVERIFY(outcome.sentence().contains(QStringLiteral("国語.dat、Class.Nam、shuketu.dat")));
    }

    // A record cut short was being written when the program stopped: nothing had
    // moved, the record goes and the files stay as they are.
    void aRecordCutShortMeansNothingHadChanged()
    {
        QTemporaryDir dir;
        StoppedChange change(dir.path());
        const QString path = change.folder + SafeFile::Journal::fileName();
        const QByteArray whole = bytesOf(path);
        put(path, whole.left(whole.size() - 5));
        const Outcome outcome = SafeFile::Journal::recover(change.folder);
        QCOMPARE(outcome.state, Outcome::State::NotStarted);
        QVERIFY(!SafeFile::Journal::exists(change.folder));
        QCOMPARE(bytesOf(change.folder + QStringLiteral("国語.dat")), change.oldBytes[QStringLiteral("国語.dat")]);
        QCOMPARE(outcome.sentence(), QStringLiteral("前回のファイルの変更はファイルを書き換える前に止まっていたため、ファイルはすべて元のままです。"));
    }

    // A batch that gives two files new contents keeps a record only while it moves
    // them, and costs one sync more than without (the record's content; its name is
    // synced with the temporaries' in the folder's one sync, made before the moves
    // instead of after). A file with its backup needs no record and costs nothing more.
    void aJournalledBatchCostsOneSyncMore_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("more");
        QTest::newRow("two files") << 2 << 1;
        QTest::newRow("eleven files") << 11 << 1;
        QTest::newRow("one file and its backup") << 1 << 0;
    }
    void aJournalledBatchCostsOneSyncMore()
    {
        QFETCH(int, files);
        QFETCH(int, more);
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        const auto change = [&](const QByteArray& text) {
            SafeFile::Batch batch;
            batch.backup(folder + QStringLiteral("0.dat"), folder + QStringLiteral("0.Bak"));
            for (int i = 0; i < files; ++i)
                batch.write(folder + QStringLiteral("%1.dat").arg(i), text + QByteArray::number(i));
            const qint64 before = SafeFile::syncCount();
            const bool ok = batch.commit().ok;
            return ok ? SafeFile::syncCount() - before : -1;
        };
        change("first");
        SafeFile::setJournal(false);
        const qint64 without = change("without");
        SafeFile::setJournal(true);
        const qint64 with = change("with");
        QCOMPARE(with, without + more);
        QVERIFY(!SafeFile::Journal::exists(folder));
        QCOMPARE(bytesOf(folder + QStringLiteral("0.dat")), QByteArray("with0"));
        QCOMPARE(bytesOf(folder + QStringLiteral("0.Bak")), QByteArray("without0"));
        QCOMPARE(namesIn(folder).filter(QStringLiteral(".tmp")), QStringList());
    }

    // A record an earlier stop left is finished before the next write into the
    // folder, a change of several files or the save of a single file, which then
    // goes ahead: a save of a file of the stopped change keeps what it saves, and
    // no record is left to act on it later.
    void aRecordLeftBehindIsFinishedBeforeTheNextWrite_data()
    {
        QTest::addColumn<bool>("single");
        QTest::newRow("a change of several files") << false;
        QTest::newRow("the save of a file of the stopped change") << true;
    }
    void aRecordLeftBehindIsFinishedBeforeTheNextWrite()
    {
        QFETCH(bool, single);
        QTemporaryDir dir;
        StoppedChange change(dir.path());
        change.move(1);
        if (single) {
            QVERIFY(SafeFile::write(change.folder + QStringLiteral("Class.Nam"), "4\r\n").ok);
            QCOMPARE(bytesOf(change.folder + QStringLiteral("Class.Nam")), QByteArray("4\r\n"));
        } else {
            SafeFile::Batch batch;
            batch.write(change.folder + QStringLiteral("a.dat"), "a");
            batch.write(change.folder + QStringLiteral("b.dat"), "b");
            QVERIFY(batch.commit().ok);
            QCOMPARE(bytesOf(change.folder + QStringLiteral("Class.Nam")), change.newBytes[QStringLiteral("Class.Nam")]);
            QCOMPARE(bytesOf(change.folder + QStringLiteral("b.dat")), QByteArray("b"));
        }
        QCOMPARE(bytesOf(change.folder + QStringLiteral("国語.dat")), change.newBytes[QStringLiteral("国語.dat")]);
        QVERIFY(!QFile::exists(change.folder + QStringLiteral("shuketu.dat")));
        QVERIFY(!SafeFile::Journal::exists(change.folder));
        QCOMPARE(namesIn(change.folder).filter(QStringLiteral(".tmp")), QStringList());
    }

    // A record that can be neither finished nor undone refuses every write into
    // its folder, and says why; the files stay as they are.
    void aWriteIsRefusedWhileARecordCanBeNeitherFinishedNorUndone()
    {
        QTemporaryDir dir;
        StoppedChange change(dir.path());
        change.move(1);
        // 国語.dat moved without its old content's second name, Class.Nam's new
        // content gone.
        QVERIFY(QFile::remove(change.folder + change.record.steps[0].previous));
        QVERIFY(QFile::remove(change.folder + change.record.steps[1].temporary));
        const Status refused = SafeFile::write(change.folder + QStringLiteral("算数.dat"), "x");
        QVERIFY(!refused.ok);
        QVERIFY2(refused.message.contains(QStringLiteral("済ませることも取り消すこともできない")), qPrintable(refused.message));
        QVERIFY(!QFile::exists(change.folder + QStringLiteral("算数.dat")));
        QCOMPARE(bytesOf(change.folder + QStringLiteral("国語.dat")), change.newBytes[QStringLiteral("国語.dat")]);
        QCOMPARE(bytesOf(change.folder + QStringLiteral("Class.Nam")), change.oldBytes[QStringLiteral("Class.Nam")]);
        QVERIFY(SafeFile::Journal::exists(change.folder));
    }
};

QTEST_MAIN(JournalTest)
#include "test_journal.moc"
