#include "logo.h"

#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QTransform>
#include <QtMath>

namespace alborx::ui {

namespace {

// The disc, in fractions of its radius: the sheen is twelve coloured wedges
// over a silver face, then tracks, the clamping ring and the hole.
constexpr const char* kSheen[] = {"#78dcff", "#9ab4ff", "#d28cff", "#ff96b4", "#ffb478", "#ffe678",
                                  "#c8f078", "#8cffaa", "#78f0dc", "#c8d2dc", "#b4c8e6", "#e6e6f0"};
constexpr qreal kTrackFrom = 0.45;
constexpr qreal kTrackStep = 0.06;
constexpr qreal kRing = 0.33;
constexpr qreal kHole = 0.12;

struct Wedge
{
    qreal startDegrees;
    qreal spanDegrees;
    QColor colour;
};

std::vector<Wedge> wedges()
{
    std::vector<Wedge> result;
    const qreal span = 360.0 / std::size(kSheen);
    for (std::size_t i = 0; i < std::size(kSheen); ++i)
        result.push_back({30 + span * static_cast<qreal>(i), span, QColor(kSheen[i])});
    return result;
}

void paintDisc(QPainter& painter, QPointF centre, qreal radius)
{
    const QRectF face(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    painter.setPen(Qt::NoPen);
    for (const Wedge& wedge : wedges()) {
        painter.setBrush(wedge.colour);
        painter.drawPie(face, qRound(wedge.startDegrees * 16), qRound(wedge.spanDegrees * 16));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(230, 230, 230), radius / 40));
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(QPen(QColor(255, 255, 255, 60), std::max<qreal>(1, radius / 120)));
    for (qreal r = kTrackFrom; r < 0.97; r += kTrackStep)
        painter.drawEllipse(centre, radius * r, radius * r);
    painter.setPen(QPen(QColor(160, 160, 160), radius / 50));
    painter.setBrush(QColor(215, 215, 220));
    painter.drawEllipse(centre, radius * kRing, radius * kRing);
    painter.setBrush(Qt::black);
    painter.drawEllipse(centre, radius * kHole, radius * kHole);
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
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < size.width() * size.height() / 400; ++i) {
        const QPointF at(stars.bounded(size.width()), stars.bounded(size.height()));
        const int brightness = 90 + stars.bounded(166);
        const qreal radius = stars.bounded(10) == 0 ? 1.3 : 0.6;
        painter.setBrush(QColor(brightness, brightness, brightness));
        painter.drawEllipse(at, radius, radius);
    }

    const QPointF centre(size.width() / 2.0, size.height() * 0.48);
    paintDisc(painter, centre, size.height() * 0.40);

    // The name in wire-frame letters, across the disc, fitted into the
    // picture whatever face stands in for Arial Black.
    QFont font(QStringLiteral("Arial Black"));
    font.setPixelSize(static_cast<int>(size.height() * 0.30));
    font.setBold(true);
    QPainterPath name;
    name.addText(0, 0, font, QStringLiteral("ALBORX!"));
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

QImage iconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paintDisc(painter, QPointF(size / 2.0, size / 2.0), size * 0.47);
    return image;
}

QString iconSvg()
{
    // A 256 x 256 canvas; angles turn anticlockwise from three o'clock as
    // the painter's do, while SVG's y axis points down.
    const qreal c = 128;
    const qreal r = 256 * 0.47;
    const auto point = [&](qreal degrees) {
        const qreal a = qDegreesToRadians(degrees);
        return QStringLiteral("%1,%2")
            .arg(c + r * std::cos(a), 0, 'f', 2)
            .arg(c - r * std::sin(a), 0, 'f', 2);
    };
    QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" "
                                 "height=\"256\" viewBox=\"0 0 256 256\">\n"
                                 "  <title>ALBORX!</title>\n"
                                 "  <circle cx=\"128\" cy=\"128\" r=\"120\" fill=\"#c8d2dc\"/>\n");
    for (const Wedge& wedge : wedges()) {
        svg += QStringLiteral("  <path d=\"M%1,%2 L%3 A%4,%4 0 0,0 %5 Z\" fill=\"%6\"/>\n")
                   .arg(c)
                   .arg(c)
                   .arg(point(wedge.startDegrees))
                   .arg(r, 0, 'f', 2)
                   .arg(point(wedge.startDegrees + wedge.spanDegrees))
                   .arg(wedge.colour.name());
    }
    svg +=
        QStringLiteral("  <circle cx=\"128\" cy=\"128\" r=\"%1\" fill=\"none\" stroke=\"#e6e6e6\" "
                       "stroke-width=\"%2\"/>\n")
            .arg(r, 0, 'f', 2)
            .arg(r / 40, 0, 'f', 2);
    for (qreal t = kTrackFrom; t < 0.97; t += kTrackStep)
        svg += QStringLiteral(
                   "  <circle cx=\"128\" cy=\"128\" r=\"%1\" fill=\"none\" stroke=\"#ffffff\" "
                   "stroke-opacity=\"0.24\" stroke-width=\"1\"/>\n")
                   .arg(r * t, 0, 'f', 2);
    svg += QStringLiteral(
               "  <circle cx=\"128\" cy=\"128\" r=\"%1\" fill=\"#d7d7dc\" stroke=\"#a0a0a0\" "
               "stroke-width=\"%2\"/>\n")
               .arg(r * kRing, 0, 'f', 2)
               .arg(r / 50, 0, 'f', 2);
    svg += QStringLiteral(
               "  <circle cx=\"128\" cy=\"128\" r=\"%1\" fill=\"#000000\" stroke=\"#a0a0a0\" "
               "stroke-width=\"%2\"/>\n")
               .arg(r * kHole, 0, 'f', 2)
               .arg(r / 50, 0, 'f', 2);
    svg += QStringLiteral("</svg>\n");
    return svg;
}

} // namespace alborx::ui
