#include "Unit5.h"

#include "windowhelpers.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr int kBarWidth = 290;
constexpr int kBarHeight = 20;

int percentDone(int position, int maximum)
{
    if (maximum <= 0)
        return 0;
    return static_cast<int>(static_cast<long long>(position) * 100 / maximum);
}

} // namespace

int ProgressGauge::percent() const
{
    return percentDone(value(), maximum());
}

QString ProgressGauge::text() const
{
    return QString::number(percent()) + QLatin1Char('%');
}

void ProgressGauge::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::Button));
    if (maximum() > 0) {
        QRect done = rect();
        done.setWidth(static_cast<int>(static_cast<long long>(width()) * value() / maximum()));
        painter.fillRect(done, colours.color(QPalette::Highlight));
    }
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(colours.color(QPalette::ButtonText));
    painter.drawText(rect(), Qt::AlignCenter, text());
}

TForm5::TForm5(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(kBarWidth, kBarHeight);

    ProgressBar1 = new ProgressGauge(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(0, 0, kBarWidth, kBarHeight);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setAccessibleName(QStringLiteral("Postęp"));

    Anuluj = new QPushButton(QStringLiteral("Anuluj"), this);
    Anuluj->setObjectName(QStringLiteral("Anuluj"));
    Anuluj->setAutoDefault(false);
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
    return percentDone(position_, maximum_);
}

void TForm5::showPosition()
{
    // A bar whose maximum is 0 would show Qt's busy animation; the value
    // stays 0 either way. The bar repaints itself at once when its value
    // moves a pixel, so it is told only as often as events are let in.
    ProgressBar1->setRange(0, maximum_);
    ProgressBar1->setValue(position_);
}

void TForm5::start(const QString& title, bool cancellable)
{
    setWindowTitle(title);
    setAccessibleName(title);
    position_ = 0;
    showPosition();
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
    // The operation runs on this thread: let the bar paint now and then,
    // and "Anuluj" take its click. The window is modal, so no other input
    // reaches the program meanwhile.
    if (!sinceRedraw_.isValid() || sinceRedraw_.elapsed() >= 40) {
        showPosition();
        QCoreApplication::processEvents(cancellable_ ? QEventLoop::AllEvents
                                                     : QEventLoop::ExcludeUserInputEvents);
        sinceRedraw_.restart();
    }
}

void TForm5::keyPressEvent(QKeyEvent* event)
{
    // Esc must not hide the window under a running operation, as a
    // dialog's Esc would.
    if (event->key() == Qt::Key_Escape) {
        if (cancellable_)
            cancelled_ = true;
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm5::closeEvent(QCloseEvent* event)
{
    // Only the operation ends the window; a close asked of it is a wish to
    // stop where stopping is offered.
    if (cancellable_)
        cancelled_ = true;
    event->ignore();
}

void TForm5::showEvent(QShowEvent* event)
{
    if (!busyCursor_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        busyCursor_ = true;
    }
    QDialog::showEvent(event);
}

void TForm5::hideEvent(QHideEvent* event)
{
    if (busyCursor_) {
        QApplication::restoreOverrideCursor();
        busyCursor_ = false;
    }
    QDialog::hideEvent(event);
}
