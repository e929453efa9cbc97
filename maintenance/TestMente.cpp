#include "maintenance/TestMente.h"

#include <QLabel>
#include <QVBoxLayout>

TestMente::TestMente(AppContext& ctx, QWidget* parent) : ChildWindow(ctx, parent)
{
    setObjectName(QStringLiteral("TestMente"));
    setWindowTitle(QStringLiteral("テストのメンテナンス"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("準備中です。"), this));
}
