#include "entry/InputDialog.h"

#include <QLabel>
#include <QVBoxLayout>

InputDialog::InputDialog(AppContext& ctx, QWidget* parent) : ChildWindow(ctx, parent)
{
    setObjectName(QStringLiteral("InputDialog"));
    setWindowTitle(QStringLiteral("点数入力"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("準備中です。"), this));
}
