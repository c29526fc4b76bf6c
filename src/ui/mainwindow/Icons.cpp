#include "ui/mainwindow/Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {
QPixmap blank(int side) {
    QPixmap pm(side, side);
    pm.fill(Qt::transparent);
    return pm;
}

void trend(QPainter& p, const QColor& c, double w) {
    QPainterPath path;
    path.moveTo(2, 14);
    path.cubicTo(6, 4, 9, 16, 12, 8);
    path.lineTo(14.5, 5);
    p.setPen(QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}
}  // namespace

QPixmap imageList1(int index) {
    QPixmap pm = blank(16);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QColor navy(0, 0, 128);
    switch (index) {
    case 0:  // collapsed: arrow pointing left, the panel opens leftwards
    case 1: {
        QPolygonF arrow;
        if (index == 0)
            arrow << QPointF(11, 3) << QPointF(4, 8) << QPointF(11, 13);
        else
            arrow << QPointF(5, 3) << QPointF(12, 8) << QPointF(5, 13);
        p.setPen(Qt::NoPen);
        p.setBrush(navy);
        p.drawPolygon(arrow);
        break;
    }
    case 2:  // laboratory series: a flask
    {
        QPainterPath flask;
        flask.moveTo(6, 1.5);
        flask.lineTo(10, 1.5);
        flask.lineTo(10, 6);
        flask.lineTo(14, 14.5);
        flask.lineTo(2, 14.5);
        flask.lineTo(6, 6);
        flask.closeSubpath();
        p.setPen(QPen(navy, 1.2));
        p.setBrush(QColor(198, 255, 217));
        p.drawPath(flask);
        break;
    }
    case 3:
        p.setPen(QPen(QColor(160, 160, 160), 1));
        p.drawLine(QPointF(1.5, 1), QPointF(1.5, 14.5));
        p.drawLine(QPointF(1.5, 14.5), QPointF(15, 14.5));
        trend(p, QColor(0, 90, 200), 1.8);
        break;
    case 4:  // static model: a regression line through points
    case 5: {
        p.setPen(Qt::NoPen);
        p.setBrush(index == 4 ? QColor(200, 60, 40) : QColor(40, 140, 60));
        p.drawRoundedRect(QRectF(1, 1, 14, 14), 3, 3);
        p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
        if (index == 4) {
            p.drawLine(QPointF(3, 12), QPointF(13, 4));
        } else {
            p.drawLine(QPointF(3, 12), QPointF(6, 12));
            QPainterPath s;
            s.moveTo(6, 12);
            s.cubicTo(8, 4, 10, 4, 13, 4);
            p.drawPath(s);
        }
        break;
    }
    default:
        break;
    }
    return pm;
}

QPixmap imageList2(int index) {
    QPixmap pm = blank(20);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    static const QColor colours[] = {QColor(0, 0, 128),   QColor(0, 110, 200), QColor(0, 150, 150),
                                     QColor(200, 120, 0), QColor(150, 60, 170), QColor(60, 150, 60),
                                     QColor(190, 50, 50), QColor(90, 90, 90)};
    const QColor c = colours[(index >= 0 && index < 8) ? index : 0];
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRoundedRect(QRectF(1, 1, 18, 18), 4, 4);
    p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    switch (index) {
    case 0:  // data: a stack of discs
        p.drawEllipse(QRectF(5, 4, 10, 4));
        p.drawArc(QRectF(5, 8, 10, 4), 180 * 16, 180 * 16);
        p.drawArc(QRectF(5, 12, 10, 4), 180 * 16, 180 * 16);
        break;
    case 1:  // loading: arrow down
        p.drawLine(QPointF(10, 4), QPointF(10, 14));
        p.drawLine(QPointF(6, 10), QPointF(10, 14));
        p.drawLine(QPointF(14, 10), QPointF(10, 14));
        break;
    case 2:  // conversion: two arrows
        p.drawLine(QPointF(4, 7), QPointF(15, 7));
        p.drawLine(QPointF(12, 4), QPointF(15, 7));
        p.drawLine(QPointF(16, 13), QPointF(5, 13));
        p.drawLine(QPointF(8, 16), QPointF(5, 13));
        break;
    case 3:  // statistics: bars
        p.drawLine(QPointF(5, 15), QPointF(5, 10));
        p.drawLine(QPointF(10, 15), QPointF(10, 5));
        p.drawLine(QPointF(15, 15), QPointF(15, 8));
        break;
    case 4:  // correlation: scattered points on a line
        p.drawLine(QPointF(4, 16), QPointF(16, 4));
        p.drawPoint(QPointF(7, 10));
        p.drawPoint(QPointF(12, 12));
        break;
    case 5:  // intervals: bracketed band
        p.drawLine(QPointF(5, 4), QPointF(5, 16));
        p.drawLine(QPointF(15, 4), QPointF(15, 16));
        p.drawLine(QPointF(5, 10), QPointF(15, 10));
        break;
    case 6:  // identification: a box with input and output
        p.drawRect(QRectF(6.5, 6.5, 7, 7));
        p.drawLine(QPointF(2, 10), QPointF(6.5, 10));
        p.drawLine(QPointF(13.5, 10), QPointF(18, 10));
        break;
    default:  // preparation: a funnel
        p.drawLine(QPointF(4, 5), QPointF(16, 5));
        p.drawLine(QPointF(4, 5), QPointF(9, 11));
        p.drawLine(QPointF(16, 5), QPointF(11, 11));
        p.drawLine(QPointF(9, 11), QPointF(9, 16));
        p.drawLine(QPointF(11, 11), QPointF(11, 16));
        break;
    }
    return pm;
}
