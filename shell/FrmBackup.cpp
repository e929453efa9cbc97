#include "shell/FrmBackup.h"

#include <QLabel>
#include <QVBoxLayout>

FrmBackup::FrmBackup(AppContext& ctx, QWidget* parent) : ChildWindow(ctx, parent)
{
    setObjectName(QStringLiteral("FrmBackup"));
    setWindowTitle(QStringLiteral("データのバックアップ"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("準備中です。"), this));
}
