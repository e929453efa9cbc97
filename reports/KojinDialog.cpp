#include "reports/KojinDialog.h"

#include <QLabel>
#include <QVBoxLayout>

KojinDialog::KojinDialog(AppContext& ctx, QWidget* parent) : ChildWindow(ctx, parent)
{
    setObjectName(QStringLiteral("KojinDialog"));
    setWindowTitle(QStringLiteral("個人別成績集計"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("準備中です。"), this));
}
