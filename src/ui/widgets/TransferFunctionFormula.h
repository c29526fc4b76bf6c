#pragma once
// A transfer function with delay drawn as a formula: "W(S)=", the numerator over the
// denominator as a fraction, then "e" with the delay factor raised to its upper right.
// The dynamics page and the dynamic-model viewer show it.
#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;

class TransferFunctionFormula : public QWidget {
    Q_OBJECT
public:
    explicit TransferFunctionFormula(QWidget* parent = nullptr);

    void setFraction(const QString& numerator, const QString& denominator);
    // The exponent's text, such as "-(3)*s"; the panel of "e" follows its width.
    void setDelay(const QString& exponent);

    QLabel* Label19 = nullptr;
    QFrame* Panel12 = nullptr;
    QLineEdit* Edit20 = nullptr;
    QLineEdit* Edit21 = nullptr;
    QFrame* Panel14 = nullptr;
    QLabel* Label28 = nullptr;
    QLabel* Label29 = nullptr;

private:
    // The fraction is as wide as the wider of its two texts.
    void fitFraction();
};
