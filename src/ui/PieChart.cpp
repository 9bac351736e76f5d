#include "PieChart.h"

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

int PieChart::legendHeight() const
{
    const int lineHeight = fontMetrics().height() + 2;
    return slices_.empty() ? 0 : static_cast<int>(slices_.size()) * lineHeight + 10;
}

void PieChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int total =
        std::accumulate(slices_.begin(), slices_.end(), 0,
                        [](int sum, const Slice& s) { return sum + std::max(0, s.value); });

    // The pie above, the legend below.
    const QRect area = rect().adjusted(8, 8, -8, -8 - legendHeight());
    const int width =
        std::min(area.width(), static_cast<int>(area.height() / (kTilt * (1 + kDepth))));
    const int height = static_cast<int>(width * kTilt);
    const int depth = static_cast<int>(height * kDepth);
    const QRect top(area.center().x() - width / 2,
                    area.top() + (area.height() - height - depth) / 2, width, height);

    if (total > 0 && width > 10) {
        // Every slice's span in Qt's angles, largest first from twelve o'clock
        // going clockwise.
        std::vector<std::pair<int, int>> spans;
        int angle = kStart;
        for (const Slice& slice : slices_) {
            const int span = static_cast<int>(
                std::llround(static_cast<double>(kFull) * std::max(0, slice.value) / total));
            spans.emplace_back(angle, -span);
            angle -= span;
        }
        // The depth: the pie drawn downwards layer by layer in darker colours.
        painter.setPen(Qt::NoPen);
        for (int dy = depth; dy > 0; --dy) {
            for (std::size_t i = 0; i < slices_.size(); ++i) {
                if (slices_[i].value <= 0)
                    continue;
                painter.setBrush(sideColour(slices_[i].colour));
                painter.drawPie(top.translated(0, dy), spans[i].first, spans[i].second);
            }
        }
        painter.setPen(QPen(QColor(0, 0, 0, 90), 1));
        for (std::size_t i = 0; i < slices_.size(); ++i) {
            if (slices_[i].value <= 0)
                continue;
            painter.setBrush(slices_[i].colour);
            painter.drawPie(top, spans[i].first, spans[i].second);
        }
        // Each count just inside its slice's rim, white on black.
        QFont markFont(QStringLiteral("Arial"), 8);
        painter.setFont(markFont);
        const QFontMetrics marks(markFont);
        for (std::size_t i = 0; i < slices_.size(); ++i) {
            if (slices_[i].value <= 0)
                continue;
            const double middle =
                qDegreesToRadians((spans[i].first + spans[i].second / 2.0) / 16.0);
            const QPointF at(top.center().x() + std::cos(middle) * width * 0.36,
                             top.center().y() - std::sin(middle) * height * 0.36);
            const QString text = QString::number(slices_[i].value);
            QRectF box(0, 0, marks.horizontalAdvance(text) + 6, marks.height() + 2);
            box.moveCenter(at);
            painter.fillRect(box, Qt::black);
            painter.setPen(Qt::white);
            painter.drawText(box, Qt::AlignCenter, text);
        }
    }

    if (slices_.empty())
        return;
    // The legend: colour box, share and label per slice, on a framed panel
    // with a small shadow.
    QFont legendFont(QStringLiteral("Tahoma"), 8);
    painter.setFont(legendFont);
    const QFontMetrics metrics(legendFont);
    const int lineHeight = metrics.height() + 2;
    int legendWidth = 0;
    std::vector<QString> lines;
    for (const Slice& slice : slices_) {
        const double share = total > 0 ? 100.0 * std::max(0, slice.value) / total : 0.0;
        lines.push_back(formatShare(share) + QStringLiteral("  ") + slice.label);
        legendWidth = std::max(legendWidth, metrics.horizontalAdvance(lines.back()));
    }
    legendWidth += 12 + lineHeight;
    const QRect legend(rect().center().x() - legendWidth / 2, rect().bottom() - legendHeight() + 2,
                       legendWidth, static_cast<int>(slices_.size()) * lineHeight + 4);
    painter.setPen(Qt::NoPen);
    painter.fillRect(legend.translated(2, 2), QColor(0, 0, 0, 70));
    painter.fillRect(legend, legendBackground_);
    painter.setPen(palette().color(QPalette::Dark));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(legend.adjusted(0, 0, -1, -1));
    for (std::size_t i = 0; i < slices_.size(); ++i) {
        const int y = legend.top() + 2 + static_cast<int>(i) * lineHeight;
        const QRect swatch(legend.left() + 4, y + 2, lineHeight - 4, lineHeight - 4);
        painter.fillRect(swatch, slices_[i].colour);
        painter.setPen(Qt::black);
        painter.drawRect(swatch);
        painter.drawText(QRect(swatch.right() + 6, y, legendWidth, lineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
    }
}

} // namespace alborx::ui
