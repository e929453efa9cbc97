#include "reports/RyoikiDspDialog.h"

#include <QLabel>
#include <QVBoxLayout>

RyoikiDspDialog::RyoikiDspDialog(AppContext& ctx, QWidget* parent) : ChildWindow(ctx, parent)
{
    setObjectName(QStringLiteral("RyoikiDspDialog"));
    setWindowTitle(QStringLiteral("総合成績集計"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("準備中です。"), this));
}
