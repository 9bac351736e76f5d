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

} // namespace

int ProgressGauge::percent() const
{
    if (maximum() <= 0)
        return 0;
    return static_cast<int>(static_cast<long long>(value()) * 100 / maximum());
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
    const int position = std::min(ProgressBar1->value(), std::max(0, maximum));
    // A bar whose maximum is 0 would show Qt's busy animation; the value
    // stays 0 either way.
    ProgressBar1->setRange(0, std::max(0, maximum));
    ProgressBar1->setValue(position);
    redraw();
}

void TForm5::setPosition(int position)
{
    ProgressBar1->setValue(std::clamp(position, 0, ProgressBar1->maximum()));
    redraw();
}

void TForm5::start(const QString& title, bool cancellable)
{
    setWindowTitle(title);
    setAccessibleName(title);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
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
