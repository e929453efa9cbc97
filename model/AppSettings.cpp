#include "model/AppSettings.h"

#include "model/SettingsStore.h"
#include "model/ViewpointNames.h"

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

// "1111": which viewpoints count in the overall grade from the viewpoints.
QString countedText(const ViewpointPointsCriteria& points)
{
    QString text;
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        text += points.counted[size_t(v)] ? QLatin1Char('1') : QLatin1Char('0');
    return text;
}

// The stored "1111" read back; anything but four "1"/"0" characters is the default.
std::array<bool, 5> readCounted(const QString& text, const std::array<bool, 5>& fallback)
{
    const QString plain = text.trimmed();
    if (plain.size() != Limits::Viewpoints)
        return fallback;
    std::array<bool, 5> counted{};
    for (int v = 1; v <= Limits::Viewpoints; ++v) {
        const QChar c = plain.at(v - 1);
        if (c != QLatin1Char('0') && c != QLatin1Char('1'))
            return fallback;
        counted[size_t(v)] = c == QLatin1Char('1');
    }
    return counted;
}

QString useKyokaText(const ClassData& data)
{
    QString text;
    for (int i = 1; i <= Limits::Units; ++i)
        text += QString::number(data.subjectInUse[i]);
    return text;
}

}  // namespace

QString AppSettings::sModeKey(int s) { return QStringLiteral("sHyoteiMode%1").arg(s); }
QString AppSettings::rModeKey(int s, int v) { return QStringLiteral("rHyoteiMode%1%2").arg(s).arg(v); }
QString AppSettings::sKey(int s, int k) { return QStringLiteral("sHyotei%1%2").arg(s).arg(k); }
QString AppSettings::rKey(int s, int v, int k) { return QStringLiteral("rHyotei%1%2%3").arg(s).arg(v).arg(k); }
QString AppSettings::countedViewpointsKey(int s) { return QStringLiteral("sHyoteiKanten%1").arg(s); }

namespace {

// A key of the group with its text, for SettingsStore::write.
void put(SettingsStore::Values& values, const QString& key, const QString& text)
{
    values.append({QLatin1String(AppSettings::Group) + QLatin1Char('/') + key, text});
}

// The criteria keys in their fixed order: every subject's overall basis, every
// viewpoint's basis, every subject's overall thresholds, every viewpoint's
// thresholds.
void putCriteria(SettingsStore::Values& values, const std::array<SubjectCriteria, Limits::Units + 1>& criteria)
{
    using namespace AppSettings;
    const auto number = [](int value) { return QString::number(value); };
    for (int s = 1; s <= Limits::Units; ++s)
        put(values, sModeKey(s), number(int(criteria[s].overall().basis)));
    for (int s = 1; s <= Limits::Units; ++s)
        for (int v = 1; v <= Limits::Viewpoints; ++v)
            put(values, rModeKey(s, v), number(int(criteria[s].viewpoint(v).basis)));
    for (int s = 1; s <= Limits::Units; ++s)
        for (int k = 1; k <= GroupCriteria::Thresholds; ++k)
            put(values, sKey(s, k), number(criteria[s].overall().threshold(k)));
    for (int s = 1; s <= Limits::Units; ++s)
        for (int v = 1; v <= Limits::Viewpoints; ++v)
            for (int k = 1; k <= GroupCriteria::Thresholds; ++k)
                put(values, rKey(s, v, k), number(criteria[s].viewpoint(v).threshold(k)));
}

// The keys of grading against goals are written only where they were set: a value
// other than its default, or a key the store holds already (so that a value set back
// to its default is stored too). A settings file of the older choices stays as it
// was, byte for byte.
void putGoalCriteria(SettingsStore::Values& values, const std::array<SubjectCriteria, Limits::Units + 1>& criteria,
                     const QSettings& store)
{
    using namespace AppSettings;
    const auto putSet = [&values, &store](const QString& key, const QString& text, const QString& fallback) {
        if (text != fallback || store.contains(QLatin1String(Group) + QLatin1Char('/') + key))
            put(values, key, text);
    };
    const SubjectCriteria defaults;
    const ViewpointPointsCriteria& pointDefaults = defaults.fromViewpoints;
    const GroupCriteria& groupDefaults = defaults.viewpoint(1);
    for (int s = 1; s <= Limits::Units; ++s) {
        const ViewpointPointsCriteria& points = criteria[s].fromViewpoints;
        putSet(sKey(s, GoalBest), Points::text(points.bestFromPoints), Points::text(pointDefaults.bestFromPoints));
        putSet(sKey(s, GoalLowest), Points::text(points.lowestUpToPoints), Points::text(pointDefaults.lowestUpToPoints));
        putSet(countedViewpointsKey(s), countedText(points), countedText(pointDefaults));
        for (int v = 1; v <= Limits::Viewpoints; ++v) {
            const GroupCriteria& group = criteria[s].viewpoint(v);
            putSet(rKey(s, v, GoalBest), QString::number(group.attainedFromPercent),
                   QString::number(groupDefaults.attainedFromPercent));
            putSet(rKey(s, v, GoalLowest), QString::number(group.lowestBelowPercent),
                   QString::number(groupDefaults.lowestBelowPercent));
        }
    }
}

void putDefaultCriteria(SettingsStore::Values& values)
{
    putCriteria(values, std::array<SubjectCriteria, Limits::Units + 1>{});
}

// The viewpoint names that differ from the older table are stored; a name that is
// the older one again has its key removed, so that a store whose names were never
// changed stays as it was written before the names could be changed.
void putViewpointNames(SettingsStore::Values& values, QStringList& removed, const ViewpointNameTable& names)
{
    const ViewpointNameTable& older = ViewpointNames::olderTable();
    for (int s = 1; s <= Limits::Units; ++s)
        for (int v = 1; v <= Limits::Viewpoints; ++v) {
            const QString key = ViewpointNames::key(s, v);
            if (names[s][v] == older[s][v])
                removed.append(QLatin1String(AppSettings::Group) + QLatin1Char('/') + key);
            else
                put(values, key, names[s][v]);
        }
}

// The terms: each key written once it differs from its default or is stored already.
void putTerms(SettingsStore::Values& values, const TermPlan& plan, const QSettings& store)
{
    const TermPlan defaults;
    const auto months = [](const auto& starts) {
        QStringList list;
        for (size_t t = 1; t < starts.size(); ++t)
            list << QString::number(Terms::calendarMonth(starts[t]));
        return list.join(QLatin1Char(','));
    };
    const auto putSet = [&values, &store](const QString& key, const QString& text, const QString& fallback) {
        if (text != fallback || store.contains(QLatin1String(AppSettings::Group) + QLatin1Char('/') + key))
            put(values, key, text);
    };
    putSet(QStringLiteral("TermCount"), QString::number(plan.count), QString::number(defaults.count));
    putSet(QStringLiteral("ThreeTermStarts"), months(plan.threeStarts), months(defaults.threeStarts));
    putSet(QStringLiteral("TwoTermStart"), months(plan.twoStarts), months(defaults.twoStarts));
}

// The terms from the store (its group open); a key that holds no months that can
// be keeps its default.
void loadTerms(ClassData& data, QSettings& store)
{
    const TermPlan defaults;
    TermPlan plan;
    plan.count = readNumber(store, QStringLiteral("TermCount"), 3) == 2 ? 2 : 3;
    const auto starts = [&store](const QString& key, auto& into) {
        const QStringList months = store.value(key).toString().split(QLatin1Char(','));
        if (months.size() != int(into.size()) - 1)
            return;
        for (size_t t = 1; t < into.size(); ++t) {
            bool ok = false;
            const int month = months[int(t) - 1].trimmed().toInt(&ok);
            if (!ok || month < 1 || month > 12)
                return;
            into[t] = Terms::schoolMonth(month);
        }
    };
    starts(QStringLiteral("ThreeTermStarts"), plan.threeStarts);
    starts(QStringLiteral("TwoTermStart"), plan.twoStarts);
    TermPlan three = plan, two = plan;
    three.count = 3;
    two.count = 2;
    if (!Terms::problem(three).isEmpty())
        plan.threeStarts = defaults.threeStarts;
    if (!Terms::problem(two).isEmpty())
        plan.twoStarts = defaults.twoStarts;
    data.termPlan = plan;
}

SettingsStore::Values criteriaValues(const ClassData& data, const QSettings& store)
{
    SettingsStore::Values values;
    putCriteria(values, data.criteria);
    putGoalCriteria(values, data.criteria, store);
    return values;
}

}  // namespace

Status AppSettings::writeDefaultCriteria(QSettings& store)
{
    SettingsStore::Values values;
    putDefaultCriteria(values);
    return SettingsStore::write(store, values);
}

namespace {

// The thresholds against goals (the store's group open); a missing key, or one that
// holds no number of its kind, keeps its default.
void loadGoalCriteria(ClassData& data, QSettings& store)
{
    using namespace AppSettings;
    const SubjectCriteria defaults;
    const auto points = [&store](const QString& key, int fallback) {
        return Points::parse(store.value(key).toString()).value_or(fallback);
    };
    for (int s = 1; s <= Limits::Units; ++s) {
        ViewpointPointsCriteria& fromViewpoints = data.criteria[s].fromViewpoints;
        fromViewpoints.bestFromPoints = points(sKey(s, GoalBest), defaults.fromViewpoints.bestFromPoints);
        fromViewpoints.lowestUpToPoints = points(sKey(s, GoalLowest), defaults.fromViewpoints.lowestUpToPoints);
        fromViewpoints.counted = readCounted(store.value(countedViewpointsKey(s)).toString(), defaults.fromViewpoints.counted);
        for (int v = 1; v <= Limits::Viewpoints; ++v) {
            GroupCriteria& group = data.criteria[s].groups[v];
            group.attainedFromPercent = readNumber(store, rKey(s, v, GoalBest), defaults.viewpoint(v).attainedFromPercent);
            group.lowestBelowPercent = readNumber(store, rKey(s, v, GoalLowest), defaults.viewpoint(v).lowestBelowPercent);
        }
    }
}

}  // namespace

void AppSettings::loadCriteria(ClassData& data, QSettings& store)
{
    // A missing key, or one holding no 16-bit number, keeps its default.
    const GroupCriteria defaults;
    const auto basis = [&store, &defaults](const QString& key) {
        return GradeBasis(readNumber(store, key, int(defaults.basis)));
    };
    const auto thresholds = [&store, &defaults](GroupCriteria& group, const auto& keyOf) {
        for (int k = 1; k <= GroupCriteria::Thresholds; ++k)
            group.setThreshold(k, readNumber(store, keyOf(k), defaults.threshold(k)));
    };
    store.beginGroup(QLatin1String(Group));
    for (int s = 1; s <= Limits::Units; ++s)
        data.criteria[s].groups[SubjectCriteria::Overall].basis = basis(sModeKey(s));
    for (int s = 1; s <= Limits::Units; ++s)
        for (int v = 1; v <= Limits::Viewpoints; ++v)
            data.criteria[s].groups[v].basis = basis(rModeKey(s, v));
    for (int s = 1; s <= Limits::Units; ++s)
        thresholds(data.criteria[s].groups[SubjectCriteria::Overall], [s](int k) { return sKey(s, k); });
    for (int s = 1; s <= Limits::Units; ++s)
        for (int v = 1; v <= Limits::Viewpoints; ++v)
            thresholds(data.criteria[s].groups[v], [s, v](int k) { return rKey(s, v, k); });
    loadGoalCriteria(data, store);
    store.endGroup();
}

Status AppSettings::saveCriteria(const ClassData& data, QSettings& store)
{
    return SettingsStore::write(store, criteriaValues(data, store));
}

Status AppSettings::save(const ClassData& data, QSettings& store)
{
    SettingsStore::Values values;
    put(values, QStringLiteral("SenkaMode"), data.specialistMode ? QStringLiteral("-1") : QStringLiteral("0"));
    put(values, QStringLiteral("KyokaNumber"), QString::number(data.subject));
    put(values, QStringLiteral("ClassNumber"), QString::number(data.classNumber));
    put(values, QStringLiteral("UseKyoka"), useKyokaText(data));
    put(values, QStringLiteral("DataPath"), data.dataFolder);
    put(values, QStringLiteral("BackupPath"), data.backupFolder);
    for (int i = 1; i <= 3; ++i)
        put(values, QStringLiteral("Kotei%1").arg(i), QString::number(data.fixedValues[i]));
    values.append(criteriaValues(data, store));
    putTerms(values, data.termPlan, store);
    QStringList removed;
    putViewpointNames(values, removed, data.viewpointName);
    return SettingsStore::write(store, values, removed);
}

void AppSettings::loadViewpointNames(ClassData& data, QSettings& store)
{
    // A missing key gives the older name; so does a stored name that no window
    // could have stored (a settings file edited by hand).
    const ViewpointNameTable& older = ViewpointNames::olderTable();
    store.beginGroup(QLatin1String(Group));
    for (int s = 1; s <= Limits::Units; ++s)
        for (int v = 1; v <= Limits::Viewpoints; ++v) {
            const QString key = ViewpointNames::key(s, v);
            const QString stored = store.contains(key) ? store.value(key).toString() : older[s][v];
            data.viewpointName[s][v] = ViewpointNames::problem(s, v, stored).isEmpty() ? stored : older[s][v];
        }
    store.endGroup();
}

Status AppSettings::load(ClassData& data, QSettings& store, const QString& programFolder)
{
    // First run: no "SenkaMode" key. Every key is written with its default; when
    // they cannot be stored, the defaults are used all the same and the teacher is
    // told.
    Status written = Status::success();
    if (store.value(QStringLiteral("UseMode/SenkaMode")).toString().isEmpty()) {
        SettingsStore::Values values;
        put(values, QStringLiteral("SenkaMode"), QStringLiteral("0"));
        put(values, QStringLiteral("KyokaNumber"), QStringLiteral("1"));
        put(values, QStringLiteral("ClassNumber"), QStringLiteral("1"));
        put(values, QStringLiteral("UseKyoka"), QStringLiteral("111111111"));
        put(values, QStringLiteral("DataPath"), programFolder);
        put(values, QStringLiteral("BackupPath"), programFolder);
        for (int i = 1; i <= 3; ++i)
            put(values, QStringLiteral("Kotei%1").arg(i), QString::number(Kotei::Default[i]));
        putDefaultCriteria(values);
        written = SettingsStore::write(store, values);
    }
    const Status readStatus = read(data, store, programFolder);
    if (written)
        return readStatus;
    if (readStatus)
        return written;
    return Status::failure(written.message + QStringLiteral("\n\n") + readStatus.message);
}

Status AppSettings::read(ClassData& data, QSettings& store, const QString& programFolder)
{
    store.beginGroup(QLatin1String(Group));
    data.specialistMode = readNumber(store, QStringLiteral("SenkaMode"), 0) != 0;
    data.subject = readNumber(store, QStringLiteral("KyokaNumber"), 1, 1, Limits::Units);
    data.classNumber = readNumber(store, QStringLiteral("ClassNumber"), 1, 1, Limits::Units);
    const QString use = store.value(QStringLiteral("UseKyoka"), QStringLiteral("111111111")).toString();
    for (int i = 1; i <= Limits::Units; ++i) {
        const QChar digit = i <= use.size() ? use.at(i - 1) : QChar();
        data.subjectInUse[i] = (digit >= QLatin1Char('0') && digit <= QLatin1Char('9')) ? digit.digitValue() : 0;
    }
    data.dataFolder = store.value(QStringLiteral("DataPath"), programFolder).toString();
    data.backupFolder = store.value(QStringLiteral("BackupPath"), programFolder).toString();
    for (int i = 1; i <= 3; ++i)
        data.fixedValues[i] = readNumber(store, QStringLiteral("Kotei%1").arg(i), Kotei::Default[i]);
    loadTerms(data, store);
    store.endGroup();
    loadCriteria(data, store);
    loadViewpointNames(data, store);
    return takeEffect(data);
}

Status AppSettings::takeEffect(ClassData& data)
{
    // The mode: file stems, and the first unit becomes current.
    data.setFileStems();
    // In homeroom mode that is the first subject in use (国語 unless it is switched off).
    if (data.specialistMode) {
        data.classNumber = 1;
    } else {
        data.subject = 1;
        for (int i = 1; i <= Limits::Units; ++i)
            if (data.subjectInUse[i] == 1) {
                data.subject = i;
                break;
            }
    }

    if (!data.dataFolder.endsWith(QLatin1Char('/')))
        data.dataFolder += QLatin1Char('/');
    const QFileInfo folder(data.dataFolder);
    if (!folder.exists())
        return Status::failure(data.dataFolder
                               + QStringLiteral("というフォルダは存在しません．ﾌｧｲﾙの環境設定で正しいホルダを指定してください."));
    if (!folder.isDir() || !folder.isReadable()) {
        data.dataFolder = QDir::currentPath() + QLatin1Char('/');
        return Status::failure(QStringLiteral("ファイル上のエラーです.環境設定をし直すかレジストリを調べてみてください"));
    }
    return Status::success();
}
