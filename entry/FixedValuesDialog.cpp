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
// The keys from the top row down.
constexpr int KeysTopDown[3] = {3, 2, 1};
QChar wideDigit(int key) { return QChar(0xFF10 + key); }
}  // namespace

FixedValuesDialog::FixedValuesDialog(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx(ctx)
{
    setObjectName(QStringLiteral("FixedValuesDialog"));
    setWindowTitle(QStringLiteral("固定入力モードの設定"));

    auto* rows = new QGridLayout;
    for (int row = 0; row < 3; ++row) {
        const int key = KeysTopDown[row];
        QLabel* label = new QLabel(QStringLiteral("「%1」を入力したら").arg(wideDigit(key)), this);
        label->setObjectName(QStringLiteral("key%1Label").arg(key));
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("key%1Value").arg(key));
        box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), box));
        box->setAlignment(Qt::AlignRight);
        box->setFixedWidth(56);
        box->installEventFilter(this);
        rows->addWidget(label, row, 0);
        rows->addWidget(box, row, 1);
        rows->addWidget(new QLabel(QStringLiteral("点とする"), this), row, 2);
        keyLabels[size_t(key)] = label;
        valueBoxes[size_t(key)] = box;
    }
    okButton = new QPushButton(QStringLiteral("決定(&O)"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    cancelButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(okButton, &QPushButton::clicked, this, &FixedValuesDialog::storeValues);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::close);
    okButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* root = new QVBoxLayout(this);
    root->addLayout(rows);
    root->addSpacing(8);
    root->addLayout(buttons);
}

void FixedValuesDialog::prepare()
{
    for (int key = 1; key <= 3; ++key)
        valueBoxes[size_t(key)]->setText(QString::number(ctx.data.fixedValues[size_t(key)]));
    adjustSize();
    if (QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void FixedValuesDialog::storeValues()
{
    std::array<int, 4> values = ctx.data.fixedValues;
    for (int key : KeysTopDown) {
        QLineEdit* box = valueBoxes[size_t(key)];
        bool ok = false;
        const int value = box->text().trimmed().toInt(&ok);
        if (!ok || value < 0 || value > 100) {
            ctx.ui.message(this, QStringLiteral("「%1」を入力したときの点数を、0から100までの数字で入力してください。")
                                     .arg(wideDigit(key)));
            box->setFocus(Qt::OtherFocusReason);
            box->selectAll();
            return;
        }
        values[size_t(key)] = value;
    }
    // The values take effect only once they are stored; otherwise the dialog stays
    // open with them for another try.
    const auto before = ctx.data.fixedValues;
    ctx.data.fixedValues = values;
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
