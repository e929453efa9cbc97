#include "attendance/Frm_Shuseki.h"

#include <QLabel>
#include <QVBoxLayout>

Frm_Shuseki::Frm_Shuseki(AppContext& ctx, QWidget* parent) : ChildWindow(ctx, parent)
{
    setObjectName(QStringLiteral("Frm_Shuseki"));
    setWindowTitle(QStringLiteral("出欠管理"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("準備中です。"), this));
}
