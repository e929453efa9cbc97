// The layout parser and the renderer: any text either is refused with the file
// and the line, or gives a layout whose pages paint without fault.

#include "FuzzSupport.h"
#include "output/ReportRenderer.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {

const ReportSheet& sheet()
{
    static const ReportSheet sample = [] {
        ReportSheet s;
        s.stem = QStringLiteral("sample");
        s.titleFields = {QStringLiteral("Title"), QStringLiteral("Mode")};
        s.titleValues = {QStringLiteral("【児童氏名一覧表】"), QStringLiteral("２学期集計")};
        s.dataFields = {QStringLiteral("data01"), QStringLiteral("data02"), QStringLiteral("data03")};
        for (int r = 1; r <= 50; ++r)
            s.rows.append({QString::number(r), QStringLiteral("青木一郎"), QString::number(r * 3)});
        return s;
    }();
    return sample;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: the libraries' own exit routines run after any static.
    new QGuiApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(Fuzz::bytes(data, size));
    ReportRenderer engine;
    const Status parsed = engine.parseLayout(text, QStringLiteral("sample.rpt"));
    if (!parsed) {
        FUZZ_CHECK(parsed.message.startsWith(QStringLiteral("印刷のレイアウトファイル「sample.rpt」")));
        return 0;
    }
    engine.setSheet(sheet());
    engine.checkSheet();
    const int pages = engine.pageCount();
    FUZZ_CHECK(pages >= 1 && pages <= sheet().rows.size() + 1);
    // One dot per millimetre: a small image of the whole paper.
    QImage image(440, 440, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    engine.paintPage(painter, 1, 1.0);
    if (pages > 1)
        engine.paintPage(painter, pages, 1.0);
    return 0;
}
