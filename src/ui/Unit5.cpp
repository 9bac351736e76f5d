#include "Unit5.h"

#include "windowhelpers.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>

TForm5::TForm5(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(290, 20);
    setAccessibleName(QStringLiteral("ProgressBar1"));
}

void TForm5::setMaximum(int maximum)
{
    maximum_ = std::max(0, maximum);
    position_ = std::min(position_, maximum_);
    redraw();
}

void TForm5::setPosition(int position)
{
    position_ = std::clamp(position, 0, maximum_);
    redraw();
}

int TForm5::percent() const
{
    if (maximum_ <= 0)
        return 0;
    return static_cast<int>(static_cast<long long>(position_) * 100 / maximum_);
}

void TForm5::start(const QString& title)
{
    setWindowTitle(title);
    position_ = 0;
    alborx::ui::centreOnScreen(this);
    show();
    sinceRedraw_.start();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TForm5::redraw()
{
    if (!isVisible())
        return;
    update();
    // The operation runs on this thread: let the bar paint now and then.
    if (!sinceRedraw_.isValid() || sinceRedraw_.elapsed() >= 40) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        sinceRedraw_.restart();
    }
}

void TForm5::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::Button));
    if (maximum_ > 0) {
        QRect done = rect();
        done.setWidth(static_cast<int>(static_cast<long long>(width()) * position_ / maximum_));
        painter.fillRect(done, colours.color(QPalette::Highlight));
    }
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(colours.color(QPalette::ButtonText));
    painter.drawText(rect(), Qt::AlignCenter, QString::number(percent()) + QLatin1Char('%'));
}

void TForm5::showEvent(QShowEvent* event)
{
    if (!busyCursor_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        busyCursor_ = true;
    }
    QWidget::showEvent(event);
}

void TForm5::hideEvent(QHideEvent* event)
{
    if (busyCursor_) {
        QApplication::restoreOverrideCursor();
        busyCursor_ = false;
    }
    QWidget::hideEvent(event);
}
