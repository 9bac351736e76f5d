#include "CataloguePrint.h"

#include "CardPanel.h"
#include "PieChart.h"
#include "albumcards.h"
#include "progress.h"
#include "qtext.h"

#include <QFontMetricsF>
#include <QIODevice>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

namespace alborx::ui {

namespace {

// The share of a table's width each column takes, by the columns
// printedColumns names.
std::vector<double> columnShares(PrintedMedium medium, bool compact)
{
    if (medium == PrintedMedium::Mixed)
        return compact ? std::vector<double>{6, 9, 25, 27, 9, 4, 8, 4, 8}
                       : std::vector<double>{5, 6, 22, 25, 10, 9, 7, 9, 7};
    return compact ? std::vector<double>{7, 10, 28, 31, 11, 4, 9}
                   : std::vector<double>{6, 7, 25, 30, 12, 11, 9};
}

QFont printFont(double points, bool bold = false)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// A thumbnail a little sharper than the paper shows it.
constexpr int kThumbnailPixels = 160;

} // namespace

CataloguePrint::CataloguePrint(const AlbumTable& table, const TUstawienia& settings,
                               const AlbumCards* cards, QString title, QString date)
    : table_(table), settings_(settings), cards_(cards), title_(std::move(title)),
      date_(std::move(date)), sections_(printedSections(table, settings))
{
    if (settings.podsumowanie)
        sums_ = obliczpodsumowanie(table, settings.wypiszcd, settings.wypiszmc);
}

int CataloguePrint::layOut(const QPagedPaintDevice& device, const PrintChoices& choices)
{
    choices_ = choices;
    choices_.covers = choices.covers && cards_ != nullptr;
    const int dpi = device.logicalDpiY();
    const QRect paintable = device.pageLayout().paintRectPixels(dpi);
    page_ = QRectF(0, 0, paintable.width(), paintable.height());
    mm_ = dpi / 25.4;
    textFont_ = printFont(choices.compact ? 7 : 9);
    boldFont_ = printFont(choices.compact ? 7 : 9, true);
    headingFont_ = printFont(choices.compact ? 11 : 13, true);
    smallFont_ = printFont(7.5);
    text_.emplace(textFont_, &device);
    bold_.emplace(boldFont_, &device);
    small_.emplace(smallFont_, &device);
    textRowHeight_ = text_->height() * 1.35;
    rowHeight_ = choices_.covers ? std::max(textRowHeight_, (choices.compact ? 7 : 10) * mm_)
                                 : textRowHeight_;
    bandHeight_ = small_->height() * 2.2;
    headingHeight_ = QFontMetricsF(headingFont_, &device).height() * 1.6;

    const double body = page_.height() - 2 * bandHeight_ - textRowHeight_;
    rowsPerColumn_ = std::max(1, static_cast<int>(body / rowHeight_));
    firstRowsPerColumn_ = std::max(1, static_cast<int>((body - headingHeight_) / rowHeight_));
    const int columns = choices.compact ? 2 : 1;
    pages_ = paginate(sections_, firstRowsPerColumn_ * columns, rowsPerColumn_ * columns,
                      settings_.podsumowanie);
    return pageCount();
}

bool CataloguePrint::paint(QPainter& painter, QPagedPaintDevice& device, Progress* progress,
                           int first, int last) const
{
    first = std::max(1, first);
    last = last <= 0 ? pageCount() : std::min(last, pageCount());
    if (progress)
        progress->setMaximum(std::max(0, last - first + 1));
    for (int number = first; number <= last; ++number) {
        if (number > first && !device.newPage())
            return false;
        paintPage(painter, number);
        if (progress) {
            progress->setPosition(number - first + 1);
            if (progress->cancelled())
                return false;
        }
    }
    return true;
}

void CataloguePrint::paintPage(QPainter& painter, int number) const
{
    painter.setPen(Qt::black);
    painter.setFont(smallFont_);
    const QRectF header(page_.left(), page_.top(), page_.width(), bandHeight_ * 0.8);
    const double half = page_.width() / 2 - mm_;
    painter.drawText(QRectF(header.left(), header.top(), half, header.height()),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     small_->elidedText(title_, Qt::ElideMiddle, half));
    painter.drawText(header, Qt::AlignRight | Qt::AlignVCenter, date_);
    painter.setPen(QPen(Qt::black, 0.2 * mm_));
    painter.drawLine(QPointF(page_.left(), header.bottom()),
                     QPointF(page_.right(), header.bottom()));
    painter.setPen(Qt::black);
    const QRectF footer(page_.left(), page_.bottom() - bandHeight_ * 0.8, page_.width(),
                        bandHeight_ * 0.8);
    painter.drawText(footer, Qt::AlignHCenter | Qt::AlignBottom,
                     QStringLiteral("Strona %1 z %2").arg(number).arg(pageCount()));

    const QRectF body(page_.left(), page_.top() + bandHeight_, page_.width(),
                      page_.height() - 2 * bandHeight_);
    const PrintedPage& page = pages_[static_cast<std::size_t>(number - 1)];
    if (page.section < 0)
        paintSummary(painter, body);
    else
        paintAlbums(painter, page, body);
}

std::vector<CataloguePrint::Column> CataloguePrint::columnsOf(PrintedMedium medium,
                                                              double width) const
{
    std::vector<Column> columns;
    double left = 0;
    if (choices_.covers) {
        columns.push_back({0, rowHeight_});
        left = rowHeight_ + mm_;
    }
    const std::vector<double> shares = columnShares(medium, choices_.compact);
    double total = 0;
    for (const double share : shares)
        total += share;
    const double room = width - left;
    for (const double share : shares) {
        const double columnWidth = room * share / total;
        columns.push_back({left, columnWidth});
        left += columnWidth;
    }
    return columns;
}

void CataloguePrint::paintAlbums(QPainter& painter, const PrintedPage& page,
                                 const QRectF& area) const
{
    const PrintedSection& section = sections_[static_cast<std::size_t>(page.section)];
    double top = area.top();
    if (page.heading) {
        painter.setFont(headingFont_);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(area.left(), top, area.width(), headingHeight_),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromStdString(printedHeading(section.medium)));
        top += headingHeight_;
    }
    const int blocks = choices_.compact ? 2 : 1;
    const double gap = 6 * mm_;
    const double blockWidth = (area.width() - gap * (blocks - 1)) / blocks;
    const int perBlock = page.heading ? firstRowsPerColumn_ : rowsPerColumn_;
    const std::vector<Column> columns = columnsOf(section.medium, blockWidth);
    const std::size_t firstText = choices_.covers ? 1 : 0;
    const std::vector<std::string> captions = printedColumns(section.medium);
    const double pad = 0.8 * mm_;
    const QPen rule(QColor(170, 170, 170), 0.1 * mm_);

    for (int block = 0; block < blocks; ++block) {
        const int from = block * perBlock;
        const int to = std::min(page.count, from + perBlock);
        if (block > 0 && from >= to)
            break;
        const double left = area.left() + block * (blockWidth + gap);
        const auto cellBox = [&](const Column& column, double y, double height) {
            return QRectF(left + column.left + pad, y, column.width - 2 * pad, height);
        };
        // The header row, repeated on every page.
        painter.fillRect(QRectF(left, top, blockWidth, textRowHeight_), QColor(225, 225, 225));
        painter.setPen(Qt::black);
        painter.setFont(boldFont_);
        for (std::size_t c = 0; c < captions.size(); ++c) {
            const QRectF box = cellBox(columns[c + firstText], top, textRowHeight_);
            painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter,
                             bold_->elidedText(QString::fromStdString(captions[c]), Qt::ElideRight,
                                               box.width()));
        }
        painter.setFont(textFont_);
        double y = top + textRowHeight_;
        for (int i = from; i < to; ++i, y += rowHeight_) {
            const int index = page.first + i;
            const int row = section.rows[static_cast<std::size_t>(index)];
            if (choices_.covers)
                paintCover(
                    painter, row,
                    QRectF(left, y + 0.3 * mm_, rowHeight_ - 0.6 * mm_, rowHeight_ - 0.6 * mm_));
            const std::vector<std::string> cells = printedCells(
                table_.row(row), index + 1, section.medium, settings_, choices_.compact);
            painter.setPen(Qt::black);
            for (std::size_t c = 0; c < cells.size(); ++c) {
                if (cells[c].empty())
                    continue;
                // Cut within its column, never over the next one.
                const QRectF box = cellBox(columns[c + firstText], y, rowHeight_);
                painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter,
                                 text_->elidedText(toQt(cells[c]), Qt::ElideRight, box.width()));
            }
            painter.setPen(rule);
            painter.drawLine(QPointF(left, y + rowHeight_),
                             QPointF(left + blockWidth, y + rowHeight_));
        }
    }
}

void CataloguePrint::paintCover(QPainter& painter, int row, const QRectF& box) const
{
    const CardRef card = cards_->card(table_.rowKey(row));
    if (!card)
        return;
    const std::optional<std::string> cover = cards_->cover(card);
    if (!cover || cover->empty())
        return;
    const QImage picture = coverPicture(*cover, QSize(kThumbnailPixels, kThumbnailPixels));
    if (picture.isNull())
        return;
    const QSizeF shown = QSizeF(picture.size()).scaled(box.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRectF(box.topLeft() + QPointF((box.width() - shown.width()) / 2,
                                                     (box.height() - shown.height()) / 2),
                             shown),
                      picture);
}

void CataloguePrint::paintSummary(QPainter& painter, const QRectF& area) const
{
    painter.setFont(headingFont_);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(area.left(), area.top(), area.width(), headingHeight_),
                     Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Podsumowanie"));
    double y = area.top() + headingHeight_;
    const double captionWidth = 75 * mm_;
    const double valueWidth = 45 * mm_;
    const QPen rule(QColor(170, 170, 170), 0.1 * mm_);
    for (const auto& [caption, value] : summaryFigures(sums_, table_.liczbaalbumow())) {
        painter.setPen(Qt::black);
        painter.setFont(textFont_);
        painter.drawText(QRectF(area.left(), y, captionWidth - 2 * mm_, textRowHeight_),
                         Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(caption));
        painter.setFont(boldFont_);
        painter.drawText(QRectF(area.left() + captionWidth, y, valueWidth, textRowHeight_),
                         Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(value));
        y += textRowHeight_;
        painter.setPen(rule);
        painter.drawLine(QPointF(area.left(), y),
                         QPointF(area.left() + captionWidth + valueWidth, y));
    }

    PieChart::PieStyle style;
    style.unit = painter.device()->logicalDpiY() / 96.0;
    style.markFont = printFont(8);
    style.legendFont = printFont(8);
    const double side = std::min(area.width(), 130 * mm_);
    const QRectF chart(area.left(), y + 8 * mm_, side, std::min(side, area.bottom() - y - 8 * mm_));
    if (chart.height() > 20 * mm_)
        PieChart::paint(painter, chart, copyKindSlices(sums_, settings_.kolorywykresu), style);
}

namespace {

// The PDF writer's output, into a file written safely.
class SafeFileDevice : public QIODevice
{
public:
    explicit SafeFileDevice(SafeFileWriter& file) : file_(file) {}
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        return file_.write(data, static_cast<std::size_t>(size)) ? size : -1;
    }

private:
    SafeFileWriter& file_;
};

} // namespace

WriteError writeCataloguePdf(const std::string& path, CataloguePrint& document,
                             const PrintChoices& choices, const QPageLayout& layout,
                             Progress* progress, bool& cancelled)
{
    cancelled = false;
    SafeFileWriter file(path);
    if (!file.ok())
        return file.error();
    SafeFileDevice device(file);
    device.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&device);
    pdf.setCreator(QStringLiteral("ALBORX!"));
    pdf.setResolution(600);
    pdf.setPageLayout(layout);
    document.layOut(pdf, choices);
    QPainter painter;
    if (!painter.begin(&pdf))
        return WriteError::WriteFailed;
    const bool painted = document.paint(painter, pdf, progress);
    painter.end();
    if (!painted) {
        cancelled = progress != nullptr && progress->cancelled();
        return cancelled ? WriteError::None : WriteError::WriteFailed;
    }
    file.commit();
    return file.error();
}

QPageLayout defaultPageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 12, 15, 12),
                       QPageLayout::Millimeter);
}

} // namespace alborx::ui
