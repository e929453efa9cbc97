#include "shell/CustomDialog.h"

#include <QLabel>
#include <QVBoxLayout>

CustomDialog::CustomDialog(AppContext& ctx, QWidget* parent) : ChildWindow(ctx, parent)
{
    setObjectName(QStringLiteral("CustomDialog"));
    setWindowTitle(QStringLiteral("環境設定"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("準備中です。"), this));
}
