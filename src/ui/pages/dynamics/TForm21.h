#pragma once
// The picture of the transfer-function formula that the dynamics page shows beside the
// pointer while it rests on the page's help icon: W(s) as the ratio of two polynomials in
// s with the Russian legend of the orders m and n. A borderless window without code of
// its own.
#include <QPixmap>
#include <QWidget>

class QLabel;

class TForm21 : public QWidget {
    Q_OBJECT
public:
    explicit TForm21(QWidget* parent = nullptr);
    QLabel* Image5 = nullptr;
};

// The formula drawn on a 300 x 80 picture.
QPixmap transferFunctionPicture();
