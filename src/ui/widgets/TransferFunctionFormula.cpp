#include "ui/widgets/TransferFunctionFormula.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

namespace {
constexpr int kFractionPadding = 12;
}

TransferFunctionFormula::TransferFunctionFormula(QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    Label19 = new QLabel(QStringLiteral("W(S)="), this);
    Label19->setObjectName(QStringLiteral("Label19"));
    Panel12 = new QFrame(this);
    Panel12->setObjectName(QStringLiteral("Panel12"));
    auto* stack = new QVBoxLayout(Panel12);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    Edit20 = new QLineEdit(Panel12);
    Edit20->setObjectName(QStringLiteral("Edit20"));
    Edit21 = new QLineEdit(Panel12);
    Edit21->setObjectName(QStringLiteral("Edit21"));
    for (QLineEdit* e : {Edit20, Edit21}) {
        e->setReadOnly(true);
        e->setAlignment(Qt::AlignCenter);
        e->setFrame(false);
        stack->addWidget(e);
    }
    // The line under the numerator is the fraction bar.
    Edit20->setStyleSheet(QStringLiteral("QLineEdit { border: none; border-bottom: 1px solid black; background: transparent; }"));
    Edit21->setStyleSheet(QStringLiteral("QLineEdit { border: none; background: transparent; }"));
    connect(Edit20, &QLineEdit::textChanged, this, &TransferFunctionFormula::fitFraction);
    connect(Edit21, &QLineEdit::textChanged, this, &TransferFunctionFormula::fitFraction);

    Panel14 = new QFrame(this);
    Panel14->setObjectName(QStringLiteral("Panel14"));
    const int lineHeight = fontMetrics().height();
    Panel14->setFixedHeight(2 * lineHeight + 6);
    Label28 = new QLabel(QStringLiteral("e"), Panel14);
    Label28->setObjectName(QStringLiteral("Label28"));
    QFont big = font();
    big.setPixelSize(lineHeight + 4);
    Label28->setFont(big);
    Label28->adjustSize();
    Label28->move(4, Panel14->height() - Label28->height() - 2);
    Label29 = new QLabel(Panel14);
    Label29->setObjectName(QStringLiteral("Label29"));
    Label29->move(4 + Label28->width(), 1);

    row->addWidget(Label19);
    row->addWidget(Panel12);
    row->addWidget(Panel14);
    row->addStretch(1);
    fitFraction();
}

void TransferFunctionFormula::setFraction(const QString& numerator, const QString& denominator) {
    Edit20->setText(numerator);
    Edit21->setText(denominator);
}

void TransferFunctionFormula::setDelay(const QString& exponent) {
    Label29->setText(exponent);
    Label29->adjustSize();
    Panel14->setFixedWidth(fontMetrics().horizontalAdvance(exponent) + 30);
}

void TransferFunctionFormula::fitFraction() {
    const QFontMetrics fm = fontMetrics();
    Panel12->setFixedWidth(std::max(fm.horizontalAdvance(Edit20->text()), fm.horizontalAdvance(Edit21->text())) +
                           kFractionPadding);
}
