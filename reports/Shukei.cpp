#include "reports/Shukei.h"

#include <QLabel>
#include <QVBoxLayout>

Shukei::Shukei(AppContext& ctx, QWidget* parent) : ChildWindow(ctx, parent)
{
    setObjectName(QStringLiteral("Shukei"));
    setWindowTitle(QStringLiteral("集計ウインドウ（かざね）"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("準備中です。"), this));
}
