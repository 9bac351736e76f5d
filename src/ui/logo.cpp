#include "logo.h"

#include <QConicalGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QTransform>

namespace alborx::ui {

namespace {

void paintDisc(QPainter& painter, QPointF centre, qreal radius)
{
    // Rainbow sheen of the data side.
    QConicalGradient sheen(centre, 30);
    sheen.setColorAt(0.00, QColor(190, 200, 210));
    sheen.setColorAt(0.15, QColor(120, 220, 255));
    sheen.setColorAt(0.30, QColor(210, 140, 255));
    sheen.setColorAt(0.45, QColor(200, 210, 220));
    sheen.setColorAt(0.60, QColor(140, 255, 170));
    sheen.setColorAt(0.75, QColor(255, 230, 120));
    sheen.setColorAt(0.90, QColor(255, 150, 170));
    sheen.setColorAt(1.00, QColor(190, 200, 210));
    painter.setPen(QPen(QColor(230, 230, 230), radius / 40));
    painter.setBrush(sheen);
    painter.drawEllipse(centre, radius, radius);

    // Tracks.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, 50), 1));
    for (qreal r = radius * 0.45; r < radius * 0.97; r += radius * 0.06)
        painter.drawEllipse(centre, r, r);

    // Clamping ring and hole.
    painter.setPen(QPen(QColor(160, 160, 160), radius / 50));
    painter.setBrush(QColor(215, 215, 220));
    painter.drawEllipse(centre, radius * 0.33, radius * 0.33);
    painter.setBrush(Qt::black);
    painter.drawEllipse(centre, radius * 0.12, radius * 0.12);
}

} // namespace

QPixmap logoPicture(QSize size)
{
    QPixmap picture(size);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);

    // Stars: a fixed seed draws the same sky every time.
    QRandomGenerator stars(1250);
    for (int i = 0; i < size.width() * size.height() / 400; ++i) {
        const QPointF at(stars.bounded(size.width()), stars.bounded(size.height()));
        const int brightness = 90 + stars.bounded(166);
        const qreal radius = stars.bounded(10) == 0 ? 1.3 : 0.6;
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(brightness, brightness, brightness));
        painter.drawEllipse(at, radius, radius);
    }

    const QPointF centre(size.width() / 2.0, size.height() * 0.48);
    const qreal radius = size.height() * 0.40;
    paintDisc(painter, centre, radius);

    // The name in wire-frame letters, across the disc.
    QFont font(QStringLiteral("Arial Black"));
    font.setPixelSize(static_cast<int>(size.height() * 0.30));
    font.setBold(true);
    QPainterPath name;
    name.addText(0, 0, font, QStringLiteral("ALBORX!"));
    // Fit the name into the picture whatever face stands in for Arial Black.
    const QRectF bounds = name.boundingRect();
    const qreal scale = std::min<qreal>(1.0, size.width() * 0.86 / bounds.width());
    name = QTransform::fromScale(scale, scale).map(name);
    const QRectF fitted = name.boundingRect();
    name.translate(centre.x() - fitted.center().x(), centre.y() - fitted.center().y());
    painter.setBrush(QColor(0, 60, 0, 170));
    painter.setPen(QPen(QColor(40, 255, 60), 2.2));
    painter.drawPath(name);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(180, 255, 180), 0.7));
    painter.drawPath(name.translated(3, -3));
    return picture;
}

QPixmap iconPicture(int size)
{
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    paintDisc(painter, QPointF(size / 2.0, size / 2.0), size * 0.47);
    return picture;
}

} // namespace alborx::ui
