#include "reports/TestDisplay.h"

#include <QLabel>
#include <QVBoxLayout>

TestDisplay::TestDisplay(AppContext& ctx, QWidget* parent) : ChildWindow(ctx, parent)
{
    setObjectName(QStringLiteral("TestDisplay"));
    setWindowTitle(QStringLiteral("テスト別集計ウインドウ"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("準備中です。"), this));
}
