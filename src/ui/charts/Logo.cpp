#include "ui/charts/Logo.h"

#include <QPainter>
#include <QPainterPath>

QPixmap tarvolynLogo(int side) {
    QPixmap pm(side, side);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    const double s = side / 116.0;
    p.scale(s, s);
    // Navy rounded tile.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 128));
    p.drawRoundedRect(QRectF(2, 2, 112, 112), 18, 18);
    // A pale band: a marked interval behind the trend.
    p.setBrush(QColor(198, 255, 217, 90));
    p.drawRect(QRectF(40, 22, 34, 72));
    // The measured trend and, dashed, the model following it.
    QPainterPath trend;
    trend.moveTo(14, 78);
    trend.cubicTo(30, 40, 42, 96, 58, 60);
    trend.cubicTo(72, 28, 86, 70, 102, 34);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255), 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(trend);
    p.setPen(QPen(QColor(255, 120, 60), 3, Qt::DashLine, Qt::RoundCap, Qt::RoundJoin));
    p.translate(0, 8);
    p.drawPath(trend);
    return pm;
}
