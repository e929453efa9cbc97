#include "entry/FixedValuesDialog.h"

#include "model/AppSettings.h"
#include "frame/MainFrame.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {
// The key whose value box k holds: box 0 is key 3, box 2 key 1.
int keyOfBox(int k) { return 3 - k; }
}  // namespace

FixedValuesDialog::FixedValuesDialog(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx(ctx)
{
    setObjectName(QStringLiteral("FixedValuesDialog"));
    setWindowTitle(QStringLiteral("固定入力モードの設定"));

    auto* rows = new QGridLayout;
    // The boxes stand from the top in index order, each on the row of its own key.
    for (int k = 0; k < 3; ++k) {
        Label1[k] = new QLabel(QStringLiteral("「%1」を入力したら").arg(QChar(0xFF10 + keyOfBox(k))), this);
        Tx_Ten[k] = new QLineEdit(this);
        Tx_Ten[k]->setObjectName(QStringLiteral("Tx_Ten%1").arg(k));
        Tx_Ten[k]->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), Tx_Ten[k]));
        Tx_Ten[k]->setAlignment(Qt::AlignRight);
        Tx_Ten[k]->setFixedWidth(56);
        Tx_Ten[k]->installEventFilter(this);
        rows->addWidget(Label1[k], k, 0);
        rows->addWidget(Tx_Ten[k], k, 1);
        rows->addWidget(new QLabel(QStringLiteral("点とする"), this), k, 2);
    }
    Command1[0] = new QPushButton(QStringLiteral("決定(&O)"), this);
    Command1[1] = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    for (int i = 0; i < 2; ++i) {
        Command1[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    Command1[0]->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1[0]);
    buttons->addWidget(Command1[1]);
    auto* root = new QVBoxLayout(this);
    root->addLayout(rows);
    root->addSpacing(8);
    root->addLayout(buttons);
}

void FixedValuesDialog::prepare()
{
    for (int k = 0; k < 3; ++k)
        Tx_Ten[k]->setText(QString::number(ctx.data.fixedValues[size_t(keyOfBox(k))]));
    adjustSize();
    if (QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void FixedValuesDialog::Command1_Click(int index)
{
    if (index != 0) {
        close();
        return;
    }
    int values[3] = {};
    for (int k = 0; k < 3; ++k) {
        bool ok = false;
        values[k] = Tx_Ten[k]->text().trimmed().toInt(&ok);
        if (!ok || values[k] < 0 || values[k] > 100) {
            ctx.ui.message(this, QStringLiteral("「%1」を入力したときの点数を、0から100までの数字で入力してください。")
                                     .arg(QChar(0xFF10 + keyOfBox(k))));
            Tx_Ten[k]->setFocus(Qt::OtherFocusReason);
            Tx_Ten[k]->selectAll();
            return;
        }
    }
    // The values take effect only once they are stored; otherwise the dialog stays
    // open with them for another try.
    const auto before = ctx.data.fixedValues;
    for (int k = 0; k < 3; ++k)
        ctx.data.fixedValues[size_t(keyOfBox(k))] = values[k];
    if (!ctx.check(AppSettings::save(ctx.data, ctx.settings), this, Ui::Icon::Warning)) {
        ctx.data.fixedValues = before;
        return;
    }
    close();
}

bool FixedValuesDialog::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && ctx.frame)
        ctx.frame->disablePrint();
    return QDialog::event(event);
}

bool FixedValuesDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn)
        if (auto* box = qobject_cast<QLineEdit*>(watched)) {
            box->selectAll();
            if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
                QTimer::singleShot(0, box, [box] { box->selectAll(); });
        }
    return QDialog::eventFilter(watched, event);
}
