// The main window's part in data files saved as UTF-8 (by a text editor or a
// spreadsheet): before the class's files are read, each one saved as UTF-8 is named
// to the teacher, who may have it stored back in CP932 (the old file kept as its
// backup). Declined, or in a folder open read-only, the file stays as it is and
// its reader refuses it with the same name: it is never read as mojibake.

#include "app/MainWindow.h"

#include "model/AttendanceFile.h"
#include "model/DataFolder.h"
#include "model/RosterFile.h"
#include "model/SafeFile.h"
#include "model/ScoreFile.h"
#include "model/TextFile.h"

#include <QFileInfo>

namespace {

QString conversionQuestion(const QString& fileName, const QString& backupName)
{
    return QStringLiteral("データファイル「%1」は UTF-8 で保存されています（テキストエディタや表計算ソフトで保存されたようです）。"
                          "かざねのデータファイルは、シフトJIS（CP932）で保存します。\n\n"
                          "UTF-8 として読み込み、シフトJISに変換して保存し直しますか？\n"
                          "元のファイルは「%2」として残します。\n\n"
                          "はい：変換して読み込みます。\n"
                          "いいえ：このファイルは書き換えず、読み込みません。")
        .arg(fileName, backupName);
}

}  // namespace

// The roster and the score file of the current unit (of every unit when the folder
// opens) and, when asked, the attendance: each one saved as UTF-8 is offered.
void MainWindow::offerUtf8Conversions(bool everyUnit, bool withAttendance)
{
    const ClassData& data = ctx.data;
    if (!mayWriteTo(data.dataFolder))
        return;
    const QString folder = data.dataFolder;
    offerUtf8Conversion(RosterFile::path(data), DataFolder::resolve(folder, RosterFile::backupName(data)));
    if (withAttendance)
        offerUtf8Conversion(AttendanceFile::path(data), AttendanceFile::backupPath(data));
    for (int unit = 1; unit <= Limits::Units; ++unit)
        if (everyUnit || unit == data.currentUnit())
            offerUtf8Conversion(ScoreFile::path(data, unit), DataFolder::resolve(folder, ScoreFile::backupName(data, unit)));
}

void MainWindow::offerUtf8Conversion(const QString& path, const QString& backupPath)
{
    QByteArray bytes;
    if (!QFileInfo(path).isFile() || !SafeFile::read(path, bytes)
        || TextFile::encodingOf(bytes) != TextFile::Encoding::Utf8)
        return;
    const QString name = QFileInfo(path).fileName();
    if (ctx.ui.message(this, conversionQuestion(name, QFileInfo(backupPath).fileName()), Ui::Buttons::YesNo,
                       Ui::Icon::Question)
        != Ui::Answer::Yes)
        return;
    ctx.check(TextFile::convertUtf8File(path, backupPath, name), this, Ui::Icon::Warning);
}
