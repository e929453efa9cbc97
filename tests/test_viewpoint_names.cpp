// The viewpoint names in the settings store, the names of a new class typed or
// pasted, and the folder the backup window proposes: the store read back byte for
// byte, the messages read as the teacher reads them.

#include "model/AppSettings.h"
#include "model/BackupCopy.h"
#include "model/ClassData.h"
#include "model/Cp932.h"
#include "model/NameEntry.h"
#include "model/ViewpointNames.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A settings file as the program wrote it before the viewpoint names could be
// changed, with a folder of this machine for its data folder.
QString olderStore(const QTemporaryDir& dir)
{
    QByteArray bytes = bytesOf(QStringLiteral(TESTS_SOURCE_DIR "/data/settings-before.ini"));
    bytes.replace("@FOLDER@", dir.path().toUtf8());
    const QString path = dir.filePath(QStringLiteral("kazane.ini"));
    return writeBytes(path, bytes) ? path : QString();
}

QStringList lines(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

}  // namespace

class ViewpointNamesTest : public QObject {
    Q_OBJECT
private slots:
    // A store written before gives the older table and keeps its bytes when saved
    // again; new names add their own keys only, and the older names back take them
    // out again.
    void olderStoreKeepsItsBytes()
    {
        QTemporaryDir dir;
        const QString path = olderStore(dir);
        QVERIFY(!path.isEmpty());
        const QByteArray before = bytesOf(path);
        QVERIFY(!before.contains("KantenMei"));

        ClassData data;
        {
            QSettings store(path, QSettings::IniFormat);
            QVERIFY(AppSettings::load(data, store, dir.path()).ok);
        }
        QCOMPARE(data.viewpointName[3][2], QStringLiteral("数学的な考え方"));
        QCOMPARE(data.viewpointName[5][3], QStringLiteral("気づき"));
        QCOMPARE(data.viewpointName[5][4], QString());
        QCOMPARE(data.viewpointName[9][4], QStringLiteral("知識・理解"));
        QCOMPARE(data.criteria[2].viewpoint(3).lowestSharePercent, -236);  // a criterion of the file, read
        {
            QSettings store(path, QSettings::IniFormat);
            QVERIFY(AppSettings::save(data, store).ok);
        }
        QCOMPARE(bytesOf(path), before);

        data.viewpointName = ViewpointNames::currentCurriculum();
        data.viewpointName[3][2] = QStringLiteral("数学的な思考・表現");
        {
            QSettings store(path, QSettings::IniFormat);
            QVERIFY(AppSettings::save(data, store).ok);
        }
        const QByteArray changed = bytesOf(path);
        const QStringList beforeLines = lines(before);
        QStringList added = lines(changed);
        for (const QString& line : beforeLines)
            QVERIFY2(added.removeOne(line), qPrintable(line));
        // Every name of eight subjects and three of 生活 (whose fourth was empty already).
        QCOMPARE(added.size(), 8 * 4 + 3);
        QVERIFY(added.contains(QStringLiteral("KantenMei32=数学的な思考・表現")));
        QVERIFY(added.contains(QStringLiteral("KantenMei93=主体的に学習に取り組む態度")));
        QVERIFY(added.contains(QStringLiteral("KantenMei14=")));

        ClassData reread;
        {
            QSettings store(path, QSettings::IniFormat);
            QVERIFY(AppSettings::load(reread, store, dir.path()).ok);
        }
        QVERIFY(reread.viewpointName == data.viewpointName);

        reread.viewpointName = ViewpointNames::olderTable();
        {
            QSettings store(path, QSettings::IniFormat);
            QVERIFY(AppSettings::save(reread, store).ok);
        }
        QCOMPARE(bytesOf(path), before);
    }

    // A name edited by hand into the store that no window would store is read as
    // the older name; an empty fourth name is a name.
    void unusableStoredNamesGiveTheOlderName()
    {
        QTemporaryDir dir;
        const QString path = olderStore(dir);
        {
            QSettings store(path, QSettings::IniFormat);
            store.setValue(QStringLiteral("UseMode/KantenMei21"), QStringLiteral("𠮷"));
            store.setValue(QStringLiteral("UseMode/KantenMei22"), QString());
            store.setValue(QStringLiteral("UseMode/KantenMei23"), QStringLiteral("あ").repeated(21));
            store.setValue(QStringLiteral("UseMode/KantenMei24"), QString());
            store.setValue(QStringLiteral("UseMode/KantenMei61"), QStringLiteral("表現"));
        }
        ClassData data;
        QSettings store(path, QSettings::IniFormat);
        AppSettings::loadViewpointNames(data, store);
        QCOMPARE(data.viewpointName[2][1], QStringLiteral("関心,意欲,態度"));
        QCOMPARE(data.viewpointName[2][2], QStringLiteral("思考・判断"));
        QCOMPARE(data.viewpointName[2][3], QStringLiteral("観察・資料活用"));
        QCOMPARE(data.viewpointName[2][4], QString());
        QCOMPARE(data.viewpointName[6][1], QStringLiteral("表現"));
    }

    void namesThatCannotBeUsed()
    {
        QCOMPARE(ViewpointNames::problem(3, 2, QString()),
                 QStringLiteral("「算数」の観点Ⅱの観点名を入力してください（空にできるのは観点Ⅳだけです）。"));
        QCOMPARE(ViewpointNames::problem(3, 4, QString()), QString());
        QCOMPARE(ViewpointNames::problem(1, 1, QStringLiteral("𠮷野の読み")),
                 QStringLiteral("「国語」の観点Ⅰの観点名「𠮷野の読み」は保存できません。「𠮷」(U+20BB7)は使えない文字です。"));
        QVERIFY(ViewpointNames::problem(4, 3, QStringLiteral("実験\"観察")).contains(QStringLiteral("二重引用符")));
        QVERIFY(ViewpointNames::problem(4, 3, QStringLiteral("あ").repeated(ViewpointNames::MaxLength)).isEmpty());
        QVERIFY(ViewpointNames::problem(4, 3, QStringLiteral("あ").repeated(ViewpointNames::MaxLength + 1))
                    .contains(QStringLiteral("長すぎます")));

        ViewpointNameTable names = ViewpointNames::currentCurriculum();
        QVERIFY(!ViewpointNames::firstProblem(names));
        names[7][3] = QStringLiteral("①②");  // in code page 932
        names[8][2] = QStringLiteral("🎵思考");  // not
        names[9][1].clear();
        const auto problem = ViewpointNames::firstProblem(names);
        QVERIFY(problem);
        QCOMPARE(problem->subject, 8);
        QCOMPARE(problem->viewpoint, 2);
        QVERIFY(problem->message.contains(QStringLiteral("「🎵」(U+1F3B5)")));

        // Lists show a viewpoint without a name by its heading.
        QCOMPARE(ViewpointNames::listName(names, 9, 4), QStringLiteral("観点Ⅳ"));
        QCOMPARE(ViewpointNames::listName(names, 3, 3), QStringLiteral("主体的に学習に取り組む態度"));
    }

    void refusedCharactersCarryTheirCode()
    {
        QCOMPARE(StorableText::problem(QStringLiteral("𠮷田")), QStringLiteral("「𠮷」(U+20BB7)は使えない文字です"));
        QCOMPARE(StorableText::problem(QStringLiteral("髙橋")), QString());  // in code page 932
        QCOMPARE(StorableText::problem(QStringLiteral("Kim 😀")), QStringLiteral("「😀」(U+1F600)は使えない文字です"));
        QCOMPARE(NameEntry::refusal(QStringLiteral("𠮷田"), 3),
                 QStringLiteral("氏名「𠮷田」は保存できません。「𠮷」(U+20BB7)は使えない文字です。"));
    }

    // A spreadsheet column: CRLF line ends, a last line end, blanks around names.
    void pastedColumnIsReadInOrder()
    {
        QVERIFY(NameEntry::isList(QStringLiteral("青木\n")));
        QVERIFY(NameEntry::isList(QStringLiteral("青木\t石田")));
        QVERIFY(!NameEntry::isList(QStringLiteral("青木　一郎")));
        const NameEntry::Pasted pasted = NameEntry::readPasted(QStringLiteral("\r\n青木　一郎\r\n 石田,花子\t\r\n上野\r\n\r\n"), 40);
        QCOMPARE(pasted.refusal, QString());
        QCOMPARE(pasted.names, (QStringList{QStringLiteral("青木　一郎"), QStringLiteral("石田,花子"), QStringLiteral("上野")}));
    }

    void refusedPasteAddsNothing()
    {
        const NameEntry::Pasted bad =
            NameEntry::readPasted(QStringLiteral("青木\n𠮷田\n\n石田\"\n上野\n"), 0);
        QVERIFY(bad.names.isEmpty());
        QCOMPARE(bad.refusal, QStringLiteral("次の行は氏名として保存できないため、貼り付けませんでした。氏名は１人も追加していません。\n\n"
                                             "2行目「𠮷田」：「𠮷」(U+20BB7)は使えない文字です\n"
                                             "3行目「」：空の行です\n"
                                             "4行目「石田\"」：「\"」（二重引用符）は使えません\n\n"
                                             "直してから、もう一度貼り付けてください。"));

        QStringList five;
        for (int i = 1; i <= 5; ++i)
            five << QStringLiteral("児童%1").arg(i);
        QVERIFY(NameEntry::readPasted(five.join(QLatin1Char('\n')), 40).refusal.isEmpty());
        const NameEntry::Pasted over = NameEntry::readPasted(five.join(QLatin1Char('\n')), 41);
        QVERIFY(over.names.isEmpty());
        QVERIFY(over.refusal.contains(QStringLiteral("今の41人と合わせると46人")));

        const NameEntry::Pasted table = NameEntry::readPasted(QStringLiteral("1\t青木\n2\t石田\n"), 0);
        QVERIFY(table.names.isEmpty());
        QVERIFY(table.refusal.startsWith(QStringLiteral("貼り付けた内容の1行目に2つの欄があります。")));
    }

    // The backup window never proposes the data folder itself.
    void backupFolderProposal()
    {
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("data"));
        const QString usb = dir.filePath(QStringLiteral("usb"));
        QVERIFY(QDir().mkpath(data) && QDir().mkpath(usb));
        const QString documents = dir.filePath(QStringLiteral("文書"));
        const QString proposed = documents + QStringLiteral("/かざねバックアップ");
        QCOMPARE(BackupCopy::proposedFolder(data + QLatin1Char('/'), data, documents), proposed);
        QCOMPARE(BackupCopy::proposedFolder(data, data + QStringLiteral("/../data/"), documents), proposed);
        QCOMPARE(BackupCopy::proposedFolder(data, QString(), documents), proposed);
        QCOMPARE(BackupCopy::proposedFolder(data, usb, documents), usb);
    }
};

QTEST_MAIN(ViewpointNamesTest)
#include "test_viewpoint_names.moc"
