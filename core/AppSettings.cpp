#include "core/AppSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

namespace Kotei {
constexpr int Default[4] = {0, 60, 80, 100};
}

// A stored number, or the default when the key is missing or holds no 16-bit number.
int readNumber(QSettings& store, const QString& key, int fallback, int minimum = -32768, int maximum = 32767)
{
    const QString text = store.value(key).toString().trimmed();
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < minimum || value > maximum)
        return fallback;
    return value;
}

QString useKyokaText(const ClassData& data)
{
    QString text;
    for (int i = 1; i <= Limits::Units; ++i)
        text += QString::number(data.UseKyoka[i]);
    return text;
}

}  // namespace

QString AppSettings::sModeKey(int s) { return QStringLiteral("sHyoteiMode%1").arg(s); }
QString AppSettings::rModeKey(int s, int v) { return QStringLiteral("rHyoteiMode%1%2").arg(s).arg(v); }
QString AppSettings::sKey(int s, int k) { return QStringLiteral("sHyotei%1%2").arg(s).arg(k); }
QString AppSettings::rKey(int s, int v, int k) { return QStringLiteral("rHyotei%1%2%3").arg(s).arg(v).arg(k); }

void AppSettings::WriteDefaultCriteria(QSettings& store)
{
    store.beginGroup(QLatin1String(Group));
    for (int s = 1; s <= Limits::Units; ++s)
        store.setValue(sModeKey(s), QStringLiteral("0"));
    for (int s = 1; s <= Limits::Units; ++s)
        for (int v = 1; v <= Limits::Viewpoints; ++v)
            store.setValue(rModeKey(s, v), QStringLiteral("0"));
    for (int s = 1; s <= Limits::Units; ++s)
        for (int k = 1; k <= 6; ++k)
            store.setValue(sKey(s, k), QString::number(Criteria::Default[k]));
    for (int s = 1; s <= Limits::Units; ++s)
        for (int v = 1; v <= Limits::Viewpoints; ++v)
            for (int k = 1; k <= 6; ++k)
                store.setValue(rKey(s, v, k), QString::number(Criteria::Default[k]));
    store.endGroup();
}

void AppSettings::LoadCriteria(ClassData& data, QSettings& store)
{
    store.beginGroup(QLatin1String(Group));
    for (int s = 1; s <= Limits::Units; ++s)
        data.sHyoteiMode[s] = readNumber(store, sModeKey(s), 0);
    for (int s = 1; s <= Limits::Units; ++s)
        for (int v = 1; v <= Limits::Viewpoints; ++v)
            data.rHyoteiMode[s][v] = readNumber(store, rModeKey(s, v), 0);
    for (int s = 1; s <= Limits::Units; ++s)
        for (int k = 1; k <= 6; ++k)
            data.sHyotei[s][k] = readNumber(store, sKey(s, k), Criteria::Default[k]);
    for (int s = 1; s <= Limits::Units; ++s)
        for (int v = 1; v <= Limits::Viewpoints; ++v)
            for (int k = 1; k <= 6; ++k)
                data.rHyotei[s][v][k] = readNumber(store, rKey(s, v, k), Criteria::Default[k]);
    store.endGroup();
}

void AppSettings::SaveCriteria(const ClassData& data, QSettings& store)
{
    store.beginGroup(QLatin1String(Group));
    for (int s = 1; s <= Limits::Units; ++s)
        store.setValue(sModeKey(s), QString::number(data.sHyoteiMode[s]));
    for (int s = 1; s <= Limits::Units; ++s)
        for (int v = 1; v <= Limits::Viewpoints; ++v)
            store.setValue(rModeKey(s, v), QString::number(data.rHyoteiMode[s][v]));
    for (int s = 1; s <= Limits::Units; ++s)
        for (int k = 1; k <= 6; ++k)
            store.setValue(sKey(s, k), QString::number(data.sHyotei[s][k]));
    for (int s = 1; s <= Limits::Units; ++s)
        for (int v = 1; v <= Limits::Viewpoints; ++v)
            for (int k = 1; k <= 6; ++k)
                store.setValue(rKey(s, v, k), QString::number(data.rHyotei[s][v][k]));
    store.endGroup();
    store.sync();
}

void AppSettings::SaveSettings(const ClassData& data, QSettings& store)
{
    store.beginGroup(QLatin1String(Group));
    store.setValue(QStringLiteral("SenkaMode"), data.SenkaMode ? QStringLiteral("-1") : QStringLiteral("0"));
    store.setValue(QStringLiteral("KyokaNumber"), QString::number(data.KyokaNumber));
    store.setValue(QStringLiteral("ClassNumber"), QString::number(data.ClassNumber));
    store.setValue(QStringLiteral("UseKyoka"), useKyokaText(data));
    store.setValue(QStringLiteral("DataPath"), data.DataPath);
    store.setValue(QStringLiteral("BackupPath"), data.BackupPath);
    for (int i = 1; i <= 3; ++i)
        store.setValue(QStringLiteral("Kotei%1").arg(i), QString::number(data.Kotei[i]));
    store.endGroup();
    SaveCriteria(data, store);
}

Status AppSettings::LoadSettings(ClassData& data, QSettings& store, const QString& programFolder)
{
    // First run: no "SenkaMode" key. Every key is written with its default.
    if (store.value(QStringLiteral("UseMode/SenkaMode")).toString().isEmpty()) {
        store.beginGroup(QLatin1String(Group));
        store.setValue(QStringLiteral("SenkaMode"), QStringLiteral("0"));
        store.setValue(QStringLiteral("KyokaNumber"), QStringLiteral("1"));
        store.setValue(QStringLiteral("ClassNumber"), QStringLiteral("1"));
        store.setValue(QStringLiteral("UseKyoka"), QStringLiteral("111111111"));
        store.setValue(QStringLiteral("DataPath"), programFolder);
        store.setValue(QStringLiteral("BackupPath"), programFolder);
        for (int i = 1; i <= 3; ++i)
            store.setValue(QStringLiteral("Kotei%1").arg(i), QString::number(Kotei::Default[i]));
        store.endGroup();
        WriteDefaultCriteria(store);
    }
    return ReadSettings(data, store, programFolder);
}

Status AppSettings::ReadSettings(ClassData& data, QSettings& store, const QString& programFolder)
{
    store.beginGroup(QLatin1String(Group));
    data.SenkaMode = readNumber(store, QStringLiteral("SenkaMode"), 0) != 0;
    data.KyokaNumber = readNumber(store, QStringLiteral("KyokaNumber"), 1, 1, Limits::Units);
    data.ClassNumber = readNumber(store, QStringLiteral("ClassNumber"), 1, 1, Limits::Units);
    const QString use = store.value(QStringLiteral("UseKyoka"), QStringLiteral("111111111")).toString();
    for (int i = 1; i <= Limits::Units; ++i) {
        const QChar digit = i <= use.size() ? use.at(i - 1) : QChar();
        data.UseKyoka[i] = (digit >= QLatin1Char('0') && digit <= QLatin1Char('9')) ? digit.digitValue() : 0;
    }
    data.DataPath = store.value(QStringLiteral("DataPath"), programFolder).toString();
    data.BackupPath = store.value(QStringLiteral("BackupPath"), programFolder).toString();
    for (int i = 1; i <= 3; ++i)
        data.Kotei[i] = readNumber(store, QStringLiteral("Kotei%1").arg(i), Kotei::Default[i]);
    store.endGroup();
    LoadCriteria(data, store);

    // The mode: file stems, and the first unit becomes current.
    data.setFileStems();
    // In homeroom mode that is the first subject in use (国語 unless it is switched off).
    if (data.SenkaMode) {
        data.ClassNumber = 1;
    } else {
        data.KyokaNumber = 1;
        for (int i = 1; i <= Limits::Units; ++i)
            if (data.UseKyoka[i] == 1) {
                data.KyokaNumber = i;
                break;
            }
    }

    if (!data.DataPath.endsWith(QLatin1Char('/')))
        data.DataPath += QLatin1Char('/');
    const QFileInfo folder(data.DataPath);
    if (!folder.exists())
        return Status::failure(data.DataPath
                               + QStringLiteral("というフォルダは存在しません．ﾌｧｲﾙの環境設定で正しいホルダを指定してください."));
    if (!folder.isDir() || !folder.isReadable()) {
        data.DataPath = QDir::currentPath() + QLatin1Char('/');
        return Status::failure(QStringLiteral("ファイル上のエラーです.環境設定をし直すかレジストリを調べてみてください"));
    }
    return Status::success();
}
