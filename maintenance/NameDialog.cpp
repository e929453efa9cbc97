#include "maintenance/NameDialog.h"

#include <QLabel>
#include <QVBoxLayout>

NameDialog::NameDialog(AppContext& ctx, QWidget* parent) : ChildWindow(ctx, parent)
{
    setObjectName(QStringLiteral("NameDialog"));
    setWindowTitle(QStringLiteral("氏名メンテナンス"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("準備中です。"), this));
}
