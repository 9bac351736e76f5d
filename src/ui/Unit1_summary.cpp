// The tab "Podsumowanie": the summary figures and the pie chart.
#include "PieChart.h"
#include "Unit1.h"
#include "Unit5.h"
#include "printedlist.h"
#include "summary.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The picture of "Oblicz wszystko": a small pie.
QIcon summaryPicture()
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    const QRect pie(2, 2, 20, 20);
    const QColor colours[] = {QColor(198, 13, 13), QColor(102, 119, 238), QColor(21, 176, 17)};
    const int spans[] = {170, 110, 80};
    int start = 90 * 16;
    for (int i = 0; i < 3; ++i) {
        painter.setBrush(colours[i]);
        painter.drawPie(pie, start, -spans[i] * 16);
        start -= spans[i] * 16;
    }
    return QIcon(pixmap);
}

// The captions of the figures, as the printed summary has them too.
QString figureCaption(std::size_t i)
{
    return QString::fromStdString(alborx::summaryFigures({}, 0).at(i).first);
}

// A figure shows its value; a screen reader hears the caption with it.
void showFigure(QLabel& figure, std::size_t i, const QString& value)
{
    figure.setText(value);
    figure.setAccessibleName(figureCaption(i) + QLatin1Char(' ') + value);
}

} // namespace

QWidget* TForm1::buildSummaryPage()
{
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    Chart1 = new alborx::ui::PieChart;
    Chart1->setObjectName(QStringLiteral("Chart1"));
    Chart1->setAccessibleName(QStringLiteral("Wykres rodzajów kopii"));
    layout->addWidget(Chart1, 1);

    auto* panel = new QWidget;
    auto* figures = new QGridLayout(panel);
    figures->setVerticalSpacing(2);
    const char* names[] = {"sumsuma", "sumalb", "sumcd",  "summc", "sumtesame",
                           "sumoryg", "sumpir", "sumkop", "summp3"};
    QFont bold = panel->font();
    bold.setBold(true);
    int row = 0;
    const auto line = [&] {
        auto* rule = new QFrame;
        rule->setFrameShape(QFrame::HLine);
        rule->setFrameShadow(QFrame::Sunken);
        figures->addWidget(rule, row++, 0, 1, 2);
    };
    for (std::size_t i = 0; i < summaryFigures.size(); ++i) {
        auto* caption = new QLabel(figureCaption(i));
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* figure = new QLabel;
        figure->setObjectName(QString::fromLatin1(names[i]));
        figure->setFont(bold);
        showFigure(*figure, i, QStringLiteral("0"));
        figures->addWidget(caption, row, 0);
        figures->addWidget(figure, row++, 1);
        summaryFigures[i] = figure;
        if (i == 0 || i == 1 || i == 3 || i == 4 || i == 8)
            line();
    }
    obliczwszystko = new QToolButton;
    obliczwszystko->setObjectName(QStringLiteral("obliczwszystko"));
    obliczwszystko->setText(QStringLiteral("Oblicz wszystko"));
    obliczwszystko->setFont(bold);
    obliczwszystko->setIcon(summaryPicture());
    obliczwszystko->setIconSize(QSize(24, 24));
    obliczwszystko->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    obliczwszystko->setAutoRaise(true);
    figures->addWidget(obliczwszystko, row++, 0, 1, 2, Qt::AlignHCenter);
    figures->setRowStretch(row, 1);
    layout->addWidget(panel);

    connect(obliczwszystko, &QToolButton::clicked, this, &TForm1::obliczwszystkoClick);
    return page;
}

void TForm1::obliczwszystkoClick()
{
    // An empty catalogue shows zeros and an empty chart, never the figures of
    // albums that are gone.
    const int albums = std::max(0, albumy.liczbaalbumow());
    alborx::TPodsumowanie s;
    if (albums > 0) {
        ProgressScope progress(*Form5, QStringLiteral("Obliczanie..."));
        progress->setMaximum(albums - 1);
        s = alborx::obliczpodsumowanie(albumy, ustawienia.wypiszcd, ustawienia.wypiszmc,
                                       progress.get());
    }
    const auto figures = alborx::summaryFigures(s, albums);
    for (std::size_t i = 0; i < summaryFigures.size(); ++i)
        showFigure(*summaryFigures[i], i, QString::fromStdString(figures[i].second));

    Chart1->setSlices(alborx::ui::copyKindSlices(s, ustawienia.kolorywykresu));
}
