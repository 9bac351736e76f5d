// The catalogue on paper or in a PDF: the printed list's pages painted on
// any paged device (a printer, a PDF writer, the print preview), one after
// another, with a page header (the catalogue's file name and the date), the
// sections' tables with their header row on every page, "Strona N z M" at
// the foot, and the summary with its pie chart closing the document.
#pragma once

#include "printedlist.h"
#include "safefile.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <optional>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace alborx {
class AlbumCards;
class Progress;
} // namespace alborx

namespace alborx::ui {

class CataloguePrint
{
public:
    // title and date head every page; cards may be null.
    CataloguePrint(const AlbumTable& table, const TUstawienia& settings, const AlbumCards* cards,
                   QString title, QString date);

    // Lays the pages out for the device's page and the choices; returns how
    // many pages there are.
    int layOut(const QPagedPaintDevice& device, const PrintChoices& choices);
    int pageCount() const { return static_cast<int>(pages_.size()); }
    const std::vector<PrintedPage>& pages() const { return pages_; }

    // Paints pages first..last (counted from 1, clipped to the pages there
    // are) with a painter begun on the device it was laid out for, starting
    // a new page between them; false when the progress was cancelled.
    bool paint(QPainter& painter, QPagedPaintDevice& device, Progress* progress, int first = 1,
               int last = 0) const;

private:
    struct Column
    {
        double left = 0;
        double width = 0;
    };
    void paintPage(QPainter& painter, int number) const;
    void paintAlbums(QPainter& painter, const PrintedPage& page, const QRectF& area) const;
    void paintCover(QPainter& painter, int row, const QRectF& box) const;
    void paintSummary(QPainter& painter, const QRectF& area) const;
    std::vector<Column> columnsOf(PrintedMedium medium, double width) const;

    const AlbumTable& table_;
    const TUstawienia& settings_;
    const AlbumCards* cards_;
    QString title_;
    QString date_;
    std::vector<PrintedSection> sections_;
    std::vector<PrintedPage> pages_;
    PrintChoices choices_;

    // The layout, in the device's pixels.
    QRectF page_;
    double mm_ = 1;
    QFont textFont_, boldFont_, headingFont_, smallFont_;
    std::optional<QFontMetricsF> text_, bold_, small_;
    double textRowHeight_ = 0;
    double rowHeight_ = 0;  // taller than a line of text when covers are printed
    double bandHeight_ = 0; // the page header's and the footer's
    double headingHeight_ = 0;
    int rowsPerColumn_ = 0;
    int firstRowsPerColumn_ = 0; // under the section's heading
    TPodsumowanie sums_;
};

// A4 portrait with margins of 15 mm at the sides and 12 mm above and below.
QPageLayout defaultPageLayout();

// Writes the pages as a PDF file at path on pages of the layout, beside it
// first and put in its place once whole. cancelled tells whether the
// progress was cancelled; then no file is left and the old one stays.
WriteError writeCataloguePdf(const std::string& path, CataloguePrint& document,
                             const PrintChoices& choices, const QPageLayout& layout,
                             Progress* progress, bool& cancelled);

} // namespace alborx::ui
