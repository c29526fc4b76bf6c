#include "ui/pages/dynamics/TForm21.h"

#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 80;

// A run of text whose parts may be raised as exponents or lowered as indexes.
struct Piece {
    QString text;
    int shift;  // 0 on the line, 1 raised, -1 lowered
};
using Run = std::vector<Piece>;

QFont smaller(const QFont& f) {
    QFont s = f;
    s.setPixelSize(std::max(7, f.pixelSize() * 3 / 4));
    return s;
}

int runWidth(const Run& run, const QFont& font) {
    const QFontMetrics big(font), small(smaller(font));
    int w = 0;
    for (const Piece& p : run) w += p.shift == 0 ? big.horizontalAdvance(p.text) : small.horizontalAdvance(p.text);
    return w;
}

void drawRun(QPainter& painter, const Run& run, const QFont& font, int x, int baseline) {
    const QFont low = smaller(font);
    const int rise = QFontMetrics(font).ascent() / 2;
    for (const Piece& p : run) {
        painter.setFont(p.shift == 0 ? font : low);
        const int y = baseline - (p.shift > 0 ? rise : p.shift < 0 ? -rise / 2 : 0);
        painter.drawText(x, y, p.text);
        x += QFontMetrics(painter.font()).horizontalAdvance(p.text);
    }
}

// b0·s^m + b1·s^(m−1) + … + bm, or the same with a and n.
Run polynomial(const QString& c, const QString& order) {
    const QString dot = QStringLiteral("\u00B7");
    return {{c, 0}, {QStringLiteral("0"), -1}, {dot + QStringLiteral("s"), 0}, {order, 1},
            {QStringLiteral(" + ") + c, 0}, {QStringLiteral("1"), -1}, {dot + QStringLiteral("s"), 0},
            {order + QStringLiteral("\u22121"), 1}, {QStringLiteral(" + \u2026 + ") + c, 0}, {order, -1}};
}

}  // namespace

QPixmap transferFunctionPicture() {
    QPixmap picture(kWidth, kHeight);
    picture.fill(QColor(0xFF, 0xFF, 0xE1));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.drawRect(0, 0, kWidth - 1, kHeight - 1);
    painter.setPen(Qt::black);

    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(14);
    font.setItalic(true);
    const QFontMetrics fm(font);
    const Run numerator = polynomial(QStringLiteral("b"), QStringLiteral("m"));
    const Run denominator = polynomial(QStringLiteral("a"), QStringLiteral("n"));
    const Run lead = {{QStringLiteral("W(s) = "), 0}};
    const Run tail = {{QStringLiteral(" = "), 0}};
    const int fraction = std::max(runWidth(numerator, font), runWidth(denominator, font));

    // One line of W(s) = fraction = K(s)/D(s), its bar on the middle of the first 50 pixels.
    const int bar = 26;
    const int middle = bar + fm.ascent() / 2 - 1;
    int x = 6;
    drawRun(painter, lead, font, x, middle);
    x += runWidth(lead, font);
    drawRun(painter, numerator, font, x + (fraction - runWidth(numerator, font)) / 2, bar - 5);
    drawRun(painter, denominator, font, x + (fraction - runWidth(denominator, font)) / 2, bar + fm.ascent() + 3);
    painter.drawLine(x, bar, x + fraction, bar);
    x += fraction;
    drawRun(painter, tail, font, x, middle);
    x += runWidth(tail, font);
    const QString k = QStringLiteral("K(s)"), d = QStringLiteral("D(s)");
    const int kd = std::max(fm.horizontalAdvance(k), fm.horizontalAdvance(d));
    painter.setFont(font);
    painter.drawText(x, bar - 5, k);
    painter.drawText(x, bar + fm.ascent() + 3, d);
    painter.drawLine(x, bar, x + kd, bar);

    // The legend of the orders.
    QFont legend(QStringLiteral("Tahoma"));
    legend.setPixelSize(11);
    painter.setFont(legend);
    const QFontMetrics lm(legend);
    painter.drawText(6, kHeight - 8 - lm.height(), QStringLiteral("m \u2014 порядок числителя,"));
    painter.drawText(6, kHeight - 8, QStringLiteral("n \u2014 порядок знаменателя"));
    return picture;
}

TForm21::TForm21(QWidget* parent) : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("Form21"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Image5 = new QLabel(this);
    Image5->setObjectName(QStringLiteral("Image5"));
    Image5->setFixedSize(kWidth, kHeight);
    Image5->setPixmap(transferFunctionPicture());
    layout->addWidget(Image5);
    setFixedSize(kWidth, kHeight);
}
