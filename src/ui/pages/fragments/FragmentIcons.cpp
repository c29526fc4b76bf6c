#include "ui/pages/fragments/FragmentIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace {

constexpr int kSide = 32;
const QColor kInk(40, 40, 90);
const QColor kGood(0xC6, 0xFF, 0xD9);
const QColor kBad(0xFF, 0xB3, 0xBE);

// A filled arrow head at `tip`, pointing along (dx, dy) (one of the four directions).
void head(QPainter& p, QPointF tip, int dx, int dy) {
    const double l = 5, w = 4;
    QPolygonF tri;
    tri << tip << QPointF(tip.x() - dx * l - dy * w, tip.y() - dy * l - dx * w)
        << QPointF(tip.x() - dx * l + dy * w, tip.y() - dy * l + dx * w);
    p.setBrush(kInk);
    p.setPen(Qt::NoPen);
    p.drawPolygon(tri);
}

void shaft(QPainter& p, QPointF a, QPointF b) {
    p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(a, b);
}

// A small trend line in the lower part, as the background of the band pictures.
void trend(QPainter& p) {
    QPainterPath path;
    path.moveTo(3, 22);
    path.cubicTo(9, 10, 14, 26, 20, 14);
    path.lineTo(29, 9);
    p.setPen(QPen(QColor(0, 0, 160), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void band(QPainter& p, double left, double right, const QColor& fill) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(fill);
    p.drawRect(QRectF(left, 4.5, right - left, 23));
}

void letter(QPainter& p, const QString& text, QRectF where) {
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(12);
    p.setFont(f);
    p.setPen(kInk);
    p.drawText(where, Qt::AlignCenter, text);
}

}  // namespace

QIcon fragmentToolIcon(FragmentTool tool) {
    QPixmap pm(kSide, kSide);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    switch (tool) {
    case FragmentTool::WholeRange:
        band(p, 3.5, 28.5, kGood);
        trend(p);
        shaft(p, {7, 16}, {25, 16});
        head(p, {4, 16}, -1, 0);
        head(p, {28, 16}, 1, 0);
        break;
    case FragmentTool::ZoomMode:
        p.setPen(QPen(kInk, 2.5));
        p.setBrush(QColor(230, 240, 255));
        p.drawEllipse(QPointF(13, 13), 8, 8);
        p.setPen(QPen(kInk, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(19, 19), QPointF(27, 27));
        break;
    case FragmentTool::BadMode:
    case FragmentTool::GoodMode:
        band(p, 9.5, 22.5, tool == FragmentTool::BadMode ? kBad : kGood);
        trend(p);
        letter(p, tool == FragmentTool::BadMode ? QStringLiteral("−") : QStringLiteral("+"), QRectF(9, 3, 14, 12));
        break;
    case FragmentTool::Split:
        for (int i = 0; i < 4; ++i) band(p, 3.5 + i * 6.5, 8.5 + i * 6.5, kGood);
        trend(p);
        break;
    case FragmentTool::Clear:
        trend(p);
        p.setPen(QPen(QColor(200, 0, 0), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 8), QPointF(24, 24));
        p.drawLine(QPointF(24, 8), QPointF(8, 24));
        break;
    case FragmentTool::StretchX:
        shaft(p, {8, 16}, {24, 16});
        head(p, {3, 16}, -1, 0);
        head(p, {29, 16}, 1, 0);
        letter(p, QStringLiteral("X"), QRectF(10, 2, 12, 12));
        break;
    case FragmentTool::ShrinkX:
        shaft(p, {3, 16}, {10, 16});
        shaft(p, {22, 16}, {29, 16});
        head(p, {15, 16}, 1, 0);
        head(p, {17, 16}, -1, 0);
        letter(p, QStringLiteral("X"), QRectF(10, 2, 12, 12));
        break;
    case FragmentTool::StretchY:
        shaft(p, {16, 8}, {16, 24});
        head(p, {16, 3}, 0, -1);
        head(p, {16, 29}, 0, 1);
        letter(p, QStringLiteral("Y"), QRectF(19, 10, 12, 12));
        break;
    case FragmentTool::ShrinkY:
        shaft(p, {16, 3}, {16, 10});
        shaft(p, {16, 22}, {16, 29});
        head(p, {16, 15}, 0, 1);
        head(p, {16, 17}, 0, -1);
        letter(p, QStringLiteral("Y"), QRectF(19, 10, 12, 12));
        break;
    case FragmentTool::AutoX:
        letter(p, QStringLiteral("A"), QRectF(10, 2, 12, 12));
        shaft(p, {8, 22}, {24, 22});
        head(p, {3, 22}, -1, 0);
        head(p, {29, 22}, 1, 0);
        break;
    case FragmentTool::AutoY:
        letter(p, QStringLiteral("A"), QRectF(18, 10, 12, 12));
        shaft(p, {11, 8}, {11, 24});
        head(p, {11, 3}, 0, -1);
        head(p, {11, 29}, 0, 1);
        break;
    case FragmentTool::Back:
    case FragmentTool::Forward: {
        const int d = tool == FragmentTool::Forward ? 1 : -1;
        shaft(p, {16.0 - d * 11, 16}, {16.0 + d * 5, 16});
        head(p, {16.0 + d * 11, 16}, d, 0);
        break;
    }
    case FragmentTool::ToStart:
    case FragmentTool::ToEnd: {
        const int d = tool == FragmentTool::ToEnd ? 1 : -1;
        shaft(p, {16.0 - d * 11, 16}, {16.0 + d * 3, 16});
        head(p, {16.0 + d * 9, 16}, d, 0);
        p.setPen(QPen(kInk, 2.5));
        p.drawLine(QPointF(16.0 + d * 11, 8), QPointF(16.0 + d * 11, 24));
        break;
    }
    }
    p.end();
    return QIcon(pm);
}
