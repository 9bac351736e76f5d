#include "buttonpictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace alborx::ui {

namespace {

template <typename Draw> QIcon picture(int size, Draw draw)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter, static_cast<qreal>(size));
    return QIcon(pixmap);
}

void drawDisc(QPainter& p, qreal s)
{
    p.setPen(QPen(QColor(110, 110, 120), s / 16));
    p.setBrush(QColor(205, 215, 230));
    p.drawEllipse(QRectF(s * 0.05, s * 0.05, s * 0.72, s * 0.72));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(s * 0.41, s * 0.41), s * 0.09, s * 0.09);
}

} // namespace

QIcon clearPicture()
{
    // An eraser wiping a line.
    return picture(12, [](QPainter& p, qreal s) {
        p.setPen(QPen(QColor(90, 90, 90), 1));
        p.drawLine(QPointF(1, s - 1.5), QPointF(s - 1, s - 1.5));
        QPainterPath eraser;
        eraser.moveTo(s * 0.15, s * 0.62);
        eraser.lineTo(s * 0.55, s * 0.15);
        eraser.lineTo(s * 0.92, s * 0.45);
        eraser.lineTo(s * 0.52, s * 0.9);
        eraser.closeSubpath();
        p.setBrush(QColor(230, 90, 110));
        p.drawPath(eraser);
    });
}

QIcon addPicture()
{
    return picture(20, [](QPainter& p, qreal s) {
        drawDisc(p, s);
        p.setPen(QPen(QColor(0, 140, 0), s / 7, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.78, s * 0.55), QPointF(s * 0.78, s * 0.95));
        p.drawLine(QPointF(s * 0.58, s * 0.75), QPointF(s * 0.98, s * 0.75));
    });
}

QIcon fixPicture()
{
    return picture(20, [](QPainter& p, qreal s) {
        drawDisc(p, s);
        p.setPen(QPen(QColor(40, 40, 40), 1));
        p.setBrush(QColor(240, 190, 40));
        QPainterPath pencil;
        pencil.moveTo(s * 0.95, s * 0.45);
        pencil.lineTo(s * 0.55, s * 0.95);
        pencil.lineTo(s * 0.45, s * 0.98);
        pencil.lineTo(s * 0.47, s * 0.86);
        pencil.lineTo(s * 0.86, s * 0.37);
        pencil.closeSubpath();
        p.drawPath(pencil);
    });
}

QIcon removePicture()
{
    return picture(20, [](QPainter& p, qreal s) {
        drawDisc(p, s);
        p.setPen(QPen(QColor(200, 0, 0), s / 7, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.6, s * 0.58), QPointF(s * 0.95, s * 0.93));
        p.drawLine(QPointF(s * 0.95, s * 0.58), QPointF(s * 0.6, s * 0.93));
    });
}

} // namespace alborx::ui
