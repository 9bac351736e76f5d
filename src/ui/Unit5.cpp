#include "Unit5.h"

#include "windowhelpers.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr int kBarWidth = 290;
constexpr int kBarHeight = 20;

} // namespace

TForm5::TForm5(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(kBarWidth, kBarHeight);
    setAccessibleName(QStringLiteral("ProgressBar1"));

    Anuluj = new QPushButton(QStringLiteral("Anuluj"), this);
    Anuluj->setObjectName(QStringLiteral("Anuluj"));
    Anuluj->hide();
    connect(Anuluj, &QPushButton::clicked, this, [this] { cancelled_ = true; });
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

void TForm5::start(const QString& title, bool cancellable)
{
    setWindowTitle(title);
    position_ = 0;
    cancellable_ = cancellable;
    cancelled_ = false;
    const int buttonHeight = Anuluj->sizeHint().height();
    setFixedSize(kBarWidth, cancellable ? kBarHeight + buttonHeight + 8 : kBarHeight);
    Anuluj->setGeometry((kBarWidth - 100) / 2, kBarHeight + 4, 100, buttonHeight);
    Anuluj->setVisible(cancellable);
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
    // The operation runs on this thread: let the bar paint now and then,
    // and "Anuluj" take its click. The window is modal, so no other input
    // reaches the program meanwhile.
    if (!sinceRedraw_.isValid() || sinceRedraw_.elapsed() >= 40) {
        QCoreApplication::processEvents(cancellable_ ? QEventLoop::AllEvents
                                                     : QEventLoop::ExcludeUserInputEvents);
        sinceRedraw_.restart();
    }
}

void TForm5::keyPressEvent(QKeyEvent* event)
{
    if (cancellable_ && event->key() == Qt::Key_Escape)
        cancelled_ = true;
    else
        QWidget::keyPressEvent(event);
}

void TForm5::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::Button));
    const QRect bar(0, 0, kBarWidth, kBarHeight);
    if (maximum_ > 0) {
        QRect done = bar;
        done.setWidth(static_cast<int>(static_cast<long long>(bar.width()) * position_ / maximum_));
        painter.fillRect(done, colours.color(QPalette::Highlight));
    }
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(colours.color(QPalette::ButtonText));
    painter.drawText(bar, Qt::AlignCenter, QString::number(percent()) + QLatin1Char('%'));
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
