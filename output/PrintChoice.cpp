#include "output/PrintChoice.h"

#include "model/SettingsStore.h"
#include "platform/PrintSystem.h"

#include <QSettings>

#include <cmath>

namespace {

const QString PrinterKey = QStringLiteral("Printing/Printer");
const QString PaperKey = QStringLiteral("Printing/Paper");
const QString OrientationKey = QStringLiteral("Printing/Orientation");
const QString CopiesKey = QStringLiteral("Printing/Copies");

QString orientationText(PrintChoice::Orientation orientation)
{
    switch (orientation) {
    case PrintChoice::Orientation::Portrait: return QStringLiteral("portrait");
    case PrintChoice::Orientation::Landscape: return QStringLiteral("landscape");
    case PrintChoice::Orientation::Sheet: break;
    }
    return QStringLiteral("sheet");
}

}  // namespace

PrintChoice PrintChoice::load(const QSettings& store)
{
    PrintChoice choice;
    choice.printer = store.value(PrinterKey).toString();
    const QString paper = store.value(PaperKey).toString();
    if (PrintPapers::byName(paper))
        choice.paper = paper;
    const QString orientation = store.value(OrientationKey).toString();
    if (orientation == orientationText(Orientation::Portrait))
        choice.orientation = Orientation::Portrait;
    else if (orientation == orientationText(Orientation::Landscape))
        choice.orientation = Orientation::Landscape;
    bool number = false;
    const int copies = store.value(CopiesKey).toString().toInt(&number);
    if (number && copies >= 1 && copies <= MaxCopies)
        choice.copies = copies;
    return choice;
}

Status PrintChoice::store(QSettings& store) const
{
    return SettingsStore::write(store, {{PrinterKey, printer},
                                        {PaperKey, paper},
                                        {OrientationKey, orientationText(orientation)},
                                        {CopiesKey, QString::number(copies)}});
}

QPageLayout::Orientation PrintChoice::orientationFor(QPageLayout::Orientation own) const
{
    switch (orientation) {
    case Orientation::Portrait: return QPageLayout::Portrait;
    case Orientation::Landscape: return QPageLayout::Landscape;
    case Orientation::Sheet: break;
    }
    return own;
}

bool PrintChoice::operator==(const PrintChoice& other) const
{
    return printer == other.printer && paper == other.paper && orientation == other.orientation
        && copies == other.copies;
}

const QList<PrintPapers::Paper>& PrintPapers::all()
{
    static const QList<Paper> papers{
        {QStringLiteral("A3"), QPageSize::A3, QStringLiteral("iso_a3_297x420mm")},
        {QStringLiteral("A4"), QPageSize::A4, QStringLiteral("iso_a4_210x297mm")},
        {QStringLiteral("A5"), QPageSize::A5, QStringLiteral("iso_a5_148x210mm")},
        {QStringLiteral("B4"), QPageSize::JisB4, QStringLiteral("jis_b4_257x364mm")},
        {QStringLiteral("B5"), QPageSize::JisB5, QStringLiteral("jis_b5_182x257mm")},
        {QStringLiteral("Letter"), QPageSize::Letter, QStringLiteral("na_letter_8.5x11in")},
    };
    return papers;
}

std::optional<PrintPapers::Paper> PrintPapers::byName(const QString& name)
{
    for (const Paper& paper : all())
        if (paper.name == name)
            return paper;
    return std::nullopt;
}

std::optional<PrintPapers::Paper> PrintPapers::byId(QPageSize::PageSizeId id)
{
    for (const Paper& paper : all())
        if (paper.id == id)
            return paper;
    return std::nullopt;
}

std::optional<QSizeF> PrintPapers::sizeOf(const QString& pwgName)
{
    const QString dimensions = pwgName.section(QLatin1Char('_'), -1);
    const bool inches = dimensions.endsWith(QLatin1String("in"));
    if (!inches && !dimensions.endsWith(QLatin1String("mm")))
        return std::nullopt;
    const QStringList sides = dimensions.chopped(2).split(QLatin1Char('x'));
    bool wide = false, high = false;
    const double width = sides.value(0).toDouble(&wide);
    const double height = sides.value(1).toDouble(&high);
    if (sides.size() != 2 || !wide || !high)
        return std::nullopt;
    const double unit = inches ? 25.4 : 1.0;
    return QSizeF(width * unit, height * unit);
}

QString PrintPapers::queueNameOf(QPageSize::PageSizeId id, const QStringList& pwgNames)
{
    const QSizeF wanted = QPageSize(id).size(QPageSize::Millimeter);
    for (const QString& name : pwgNames) {
        const std::optional<QSizeF> size = sizeOf(name);
        if (size && std::abs(size->width() - wanted.width()) <= 1.0 && std::abs(size->height() - wanted.height()) <= 1.0)
            return name;
    }
    return {};
}

QList<PrintPapers::Paper> PrintPapers::takenBy(const QStringList& pwgNames)
{
    QList<Paper> taken;
    for (const Paper& paper : all())
        if (!queueNameOf(paper.id, pwgNames).isEmpty())
            taken.append(paper);
    return taken;
}

PrintTarget resolvePrintTarget(const QString& stored, const QList<PrintQueue>& queues)
{
    const PrintQueue* fallback = nullptr;
    for (const PrintQueue& queue : queues) {
        if (!stored.isEmpty() && queue.name == stored)
            return {stored, {}, {}};
        if (queue.isDefault)
            fallback = &queue;
    }
    if (!fallback && queues.size() == 1)
        fallback = &queues.first();
    if (fallback && stored.isEmpty())
        return {fallback->name, {}, {}};
    if (fallback)
        return {fallback->name,
                QStringLiteral("プリンタ「%1」が見つからないため、%2「%3」に送りました。")
                    .arg(stored, fallback->isDefault ? QStringLiteral("既定のプリンタ") : QStringLiteral("ただ一つのプリンタ"),
                         fallback->name),
                {}};
    if (stored.isEmpty())
        return {{}, {}, QStringLiteral("既定のプリンタが決まっていません。")};
    return {{}, {}, QStringLiteral("プリンタ「%1」が見つかりません（削除されたか、名前が変わりました）。").arg(stored)};
}
