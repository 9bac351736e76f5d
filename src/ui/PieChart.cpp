#include "PieChart.h"

#include "qcolours.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QtMath>
#include <algorithm>
#include <numeric>

namespace alborx::ui {

namespace {

// Qt measures angles in 1/16 degree, counter-clockwise from three o'clock.
constexpr int kFull = 360 * 16;
constexpr int kStart = 90 * 16;
constexpr double kTilt = 0.55;  // height of the tilted ellipse against its width
constexpr double kDepth = 0.40; // depth of the pie against its tilted height

QColor sideColour(const QColor& colour)
{
    return colour.darker(150);
}

} // namespace

PieChart::PieChart(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(160, 160);
    legendBackground_ = palette().color(QPalette::Window);
}

void PieChart::setSlices(std::vector<Slice> slices)
{
    std::stable_sort(slices.begin(), slices.end(),
                     [](const Slice& a, const Slice& b) { return a.value > b.value; });
    slices_ = std::move(slices);
    update();
}

void PieChart::setLegendBackground(const QColor& colour)
{
    legendBackground_ = colour;
    update();
}

QString PieChart::formatShare(double percent)
{
    QString text = QLocale().toString(percent, 'f', 1);
    const QString zero = QLocale().decimalPoint() + QLatin1Char('0');
    if (text.endsWith(zero))
        text.chop(zero.size());
    return text + QStringLiteral(" %");
}

void PieChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PieStyle style;
    style.legendBackground = legendBackground_;
    style.frame = palette().color(QPalette::Dark);
    paint(painter, rect(), slices_, style);
}

void PieChart::paint(QPainter& painter, const QRectF& bounds, std::vector<Slice> slices,
                     const PieStyle& style)
{
    std::stable_sort(slices.begin(), slices.end(),
                     [](const Slice& a, const Slice& b) { return a.value > b.value; });
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double unit = style.unit;
    const int total = std::accumulate(slices.begin(), slices.end(), 0, [](int sum, const Slice& s) {
        return sum + std::max(0, s.value);
    });
    const QFontMetricsF legendMetrics(style.legendFont, painter.device());
    const double lineHeight = legendMetrics.height() + 2 * unit;
    const double legendHeight =
        slices.empty() ? 0 : static_cast<double>(slices.size()) * lineHeight + 10 * unit;

    // The pie above, the legend below.
    const QRectF area = bounds.adjusted(8 * unit, 8 * unit, -8 * unit, -8 * unit - legendHeight);
    const double width = std::min(area.width(), area.height() / (kTilt * (1 + kDepth)));
    const double height = width * kTilt;
    const double depth = height * kDepth;
    const QRectF top(area.center().x() - width / 2,
                     area.top() + (area.height() - height - depth) / 2, width, height);

    if (total > 0 && width > 10 * unit) {
        // Every slice's span in Qt's angles, largest first from twelve o'clock
        // going clockwise.
        std::vector<std::pair<int, int>> spans;
        int angle = kStart;
        for (const Slice& slice : slices) {
            const int span = static_cast<int>(
                std::llround(static_cast<double>(kFull) * std::max(0, slice.value) / total));
            spans.emplace_back(angle, -span);
            angle -= span;
        }
        // The depth: the pie drawn downwards layer by layer in darker colours.
        painter.setPen(Qt::NoPen);
        const double layer = std::max(1.0, unit);
        for (double dy = depth; dy > 0; dy -= layer) {
            for (std::size_t i = 0; i < slices.size(); ++i) {
                if (slices[i].value <= 0)
                    continue;
                painter.setBrush(sideColour(slices[i].colour));
                painter.drawPie(top.translated(0, dy), spans[i].first, spans[i].second);
            }
        }
        painter.setPen(QPen(QColor(0, 0, 0, 90), unit));
        for (std::size_t i = 0; i < slices.size(); ++i) {
            if (slices[i].value <= 0)
                continue;
            painter.setBrush(slices[i].colour);
            painter.drawPie(top, spans[i].first, spans[i].second);
        }
        // Each count just inside its slice's rim, white on black.
        painter.setFont(style.markFont);
        const QFontMetricsF marks(style.markFont, painter.device());
        for (std::size_t i = 0; i < slices.size(); ++i) {
            if (slices[i].value <= 0)
                continue;
            const double middle =
                qDegreesToRadians((spans[i].first + spans[i].second / 2.0) / 16.0);
            const QPointF at(top.center().x() + std::cos(middle) * width * 0.36,
                             top.center().y() - std::sin(middle) * height * 0.36);
            const QString text = QString::number(slices[i].value);
            QRectF box(0, 0, marks.horizontalAdvance(text) + 6 * unit, marks.height() + 2 * unit);
            box.moveCenter(at);
            painter.fillRect(box, Qt::black);
            painter.setPen(Qt::white);
            painter.drawText(box, Qt::AlignCenter, text);
        }
    }

    if (slices.empty()) {
        painter.restore();
        return;
    }
    // The legend: colour box, share and label per slice, on a framed panel
    // with a small shadow.
    painter.setFont(style.legendFont);
    double legendWidth = 0;
    std::vector<QString> lines;
    for (const Slice& slice : slices) {
        const double share = total > 0 ? 100.0 * std::max(0, slice.value) / total : 0.0;
        lines.push_back(formatShare(share) + QStringLiteral("  ") + slice.label);
        legendWidth = std::max(legendWidth, legendMetrics.horizontalAdvance(lines.back()));
    }
    legendWidth += 12 * unit + lineHeight;
    const QRectF legend(bounds.center().x() - legendWidth / 2,
                        bounds.bottom() - legendHeight + 2 * unit, legendWidth,
                        static_cast<double>(slices.size()) * lineHeight + 4 * unit);
    painter.setPen(Qt::NoPen);
    painter.fillRect(legend.translated(2 * unit, 2 * unit), QColor(0, 0, 0, 70));
    painter.fillRect(legend, style.legendBackground);
    painter.setPen(QPen(style.frame, unit));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(legend.adjusted(0, 0, -unit, -unit));
    for (std::size_t i = 0; i < slices.size(); ++i) {
        const double y = legend.top() + 2 * unit + static_cast<double>(i) * lineHeight;
        const QRectF swatch(legend.left() + 4 * unit, y + 2 * unit, lineHeight - 4 * unit,
                            lineHeight - 4 * unit);
        painter.fillRect(swatch, slices[i].colour);
        painter.setPen(QPen(Qt::black, unit));
        painter.drawRect(swatch);
        painter.drawText(QRectF(swatch.right() + 6 * unit, y, legendWidth, lineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
    }
    painter.restore();
}

std::vector<PieChart::Slice> copyKindSlices(const TPodsumowanie& sums,
                                            const std::array<Colour, 4>& colours)
{
    const char* labels[] = {"Oryginały", "Piraty", "Kopie", "Z MP3"};
    std::vector<PieChart::Slice> slices;
    for (std::size_t k = 1; k <= 4; ++k)
        slices.push_back({QString::fromUtf8(labels[k - 1]), sums.rodzajecd[k] + sums.rodzajemc[k],
                          toQColor(colours[k - 1])});
    return slices;
}

} // namespace alborx::ui
