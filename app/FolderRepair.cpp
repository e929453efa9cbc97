#include "app/FolderRepair.h"

#include "model/ClassCheck.h"
#include "model/ClassRepair.h"
#include "model/SafeFileJournal.h"
#include "platform/Ui.h"

#include <QFileInfo>

namespace {

QString dateText(const QDateTime& when)
{
    return when.toString(QStringLiteral("yyyy年M月d日 H:mm"));
}

QString offerQuestion(const ClassRepair::Copy& copy)
{
    const QString source = copy.leftover
        ? QStringLiteral("保存の途中で止まった新しい内容")
        : QStringLiteral("バックアップ「%1」").arg(QFileInfo(copy.copy).fileName());
    if (copy.missing)
        return QStringLiteral("データファイル「%1」が見つかりません。\n%2 に保存された%3があります。\nこれを戻しますか？\n\n"
                              "戻す：%3を「%1」として戻して開きます。\n"
                              "戻さない：何も書き換えずに、読み取り専用で開きます。")
            .arg(copy.fileName, dateText(copy.modified), source);
    return QStringLiteral("データファイル「%1」の保存が途中で止まっていました。\n%2 に保存された、今の「%1」より新しい内容が残っています。\n"
                          "これを戻しますか？\n\n"
                          "戻す：新しい内容を「%1」に戻します（今の内容はバックアップに残します）。\n"
                          "戻さない：残っていた新しい内容を削除します。")
        .arg(copy.fileName, dateText(copy.modified));
}

QString missingReason(const QString& name)
{
    return QStringLiteral("データファイル「%1」がないため、読み取り専用で開いています（保存はできません）。").arg(name);
}

struct Repair {
    const ClassData& data;
    Ui& ui;
    QWidget* owner;
    FolderRepair::Result result;

    void refuse(const QString& reason)
    {
        result.readOnly = true;
        if (result.reason.isEmpty())
            result.reason = reason;
    }

    void finishJournal()
    {
        const SafeFile::Journal::Outcome outcome = SafeFile::Journal::recover(data.dataFolder);
        if (outcome.state == SafeFile::Journal::Outcome::State::None)
            return;
        const bool failed = outcome.state == SafeFile::Journal::Outcome::State::Failed;
        ui.message(owner, outcome.sentence(), Ui::Buttons::Ok, failed ? Ui::Icon::Warning : Ui::Icon::Information);
        if (failed)
            refuse(QStringLiteral("途中で止まった変更を済ませられないため、読み取り専用で開いています（保存はできません）。"));
    }

    void offer(const ClassRepair::Copy& copy)
    {
        const int answer = ui.ask(owner, offerQuestion(copy), {QStringLiteral("戻す"), QStringLiteral("戻さない")}, 0, 1,
                                  Ui::Icon::Question);
        if (answer == 0) {
            const Status back = ClassRepair::bringBack(data, copy);
            if (back.ok)
                return;
            ui.message(owner, back.message, Ui::Buttons::Ok, Ui::Icon::Warning);
        } else if (!copy.missing) {
            ClassRepair::dismiss(copy);
            return;
        }
        if (copy.missing)
            refuse(missingReason(copy.fileName));
    }

    void restoreFiles()
    {
        const ClassRepair::Survey survey = ClassRepair::survey(data);
        ClassRepair::removeStale(survey);
        for (const ClassRepair::Copy& copy : survey.offers)
            offer(copy);
        for (const QString& name : survey.lost) {
            ui.message(owner,
                       QStringLiteral("データファイル「%1」が見つかりません。バックアップなどの写しはありますが、クラスのほかのファイルと"
                                      "人数が合わないため戻せません。新しく空のファイルを作らずに、読み取り専用で開きます。"
                                      "ヘルプの「データを守る」の手順で、ファイルを戻してください。")
                           .arg(name),
                       Ui::Buttons::Ok, Ui::Icon::Warning);
            refuse(missingReason(name));
        }
    }

    void compareCounts()
    {
        const QString disagreement = ClassCheck::disagreement(data);
        if (disagreement.isEmpty())
            return;
        ui.message(owner, disagreement, Ui::Buttons::Ok, Ui::Icon::Warning);
        refuse(QStringLiteral("クラスのファイルの人数またはテストの数が合わないため、読み取り専用で開いています（保存はできません）。"));
    }
};

}  // namespace

FolderRepair::Result FolderRepair::run(const ClassData& data, Ui& ui, QWidget* owner, bool mayWrite)
{
    Repair repair{data, ui, owner, {}};
    if (!QFileInfo(data.dataFolder).isDir())
        return repair.result;
    if (mayWrite) {
        repair.finishJournal();
        if (!repair.result.readOnly)
            repair.restoreFiles();
    }
    if (!repair.result.readOnly)
        repair.compareCounts();
    return repair.result;
}
