// The summary's pie chart: slices ordered largest first, drawn tilted with a
// depth, each with its count just inside its rim, and a legend below with
// each slice's colour, share and label.
#pragma once

#include "settings.h"
#include "summary.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>
#include <vector>

namespace alborx::ui {

class PieChart : public QWidget
{
    Q_OBJECT

public:
    struct Slice
    {
        QString label;
        int value = 0;
        QColor colour;
    };

    explicit PieChart(QWidget* parent = nullptr);

    // Replaces the slices; they are kept largest first (equal values in the
    // order given).
    void setSlices(std::vector<Slice> slices);
    const std::vector<Slice>& slices() const { return slices_; }
    void setLegendBackground(const QColor& colour);

    // A share as the legend writes it: at most one decimal, a space and "%".
    static QString formatShare(double percent);

    // How the chart is drawn: unit is the size of a screen pixel on the
    // device painted (more than 1 on a printer), so that the chart keeps its
    // proportions there.
    struct PieStyle
    {
        double unit = 1;
        QFont markFont{QStringLiteral("Arial"), 8};
        QFont legendFont{QStringLiteral("Tahoma"), 8};
        QColor legendBackground = Qt::white;
        QColor frame = Qt::darkGray;
    };
    // Draws the chart of the slices, largest first, within bounds, in
    // vectors.
    static void paint(QPainter& painter, const QRectF& bounds, std::vector<Slice> slices,
                      const PieStyle& style);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<Slice> slices_;
    QColor legendBackground_;
};

// The summary's slices: originals, pirates, copies and MP3 recordings of
// both media, in the chart's colours.
std::vector<PieChart::Slice> copyKindSlices(const TPodsumowanie& sums,
                                            const std::array<Colour, 4>& colours);

} // namespace alborx::ui
