#include "Unit2.h"

#include "logo.h"
#include "windowhelpers.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr int kWidth = 449;
constexpr int kFullHeight = 431;
constexpr int kSplashHeight = 310;

QLabel* addLine(QWidget* parent, const QString& text, const QColor& colour, const QFont& font,
                int top, int height)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(0, top, kWidth, height);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

QFont pixelFont(const QString& family, int pixels, bool bold = false, bool italic = false)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

} // namespace

TForm2::TForm2(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("O programie"));
    setWindowModality(Qt::ApplicationModal);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);

    Image1 = new QLabel(this);
    Image1->setGeometry(0, 0, kWidth, 289);
    Image1->setPixmap(alborx::ui::logoPicture(QSize(kWidth, 289)));
    Image1->setAccessibleName(QStringLiteral("ALBORX!"));

    const QColor white(255, 255, 255);
    const QColor green(0, 255, 0);
    const QString times = QStringLiteral("Times New Roman");
    addLine(this, QStringLiteral("ALBORX!"), white,
            pixelFont(QStringLiteral("Arial Black"), 20, true), 272, 33);
    addLine(this, QStringLiteral("wersja 1.0"), white,
            pixelFont(QStringLiteral("Arial"), 13, false, true), 296, 20);
    addLine(this, QStringLiteral("Program do katalogowania płyt i kaset."), white,
            pixelFont(times, 19, true), 320, 28);
    addLine(this, QStringLiteral("Autor: zespół programistów ALBORX!"), QColor(255, 255, 0),
            pixelFont(times, 16, true, true), 352, 26);
    addLine(this, QStringLiteral("alborx@example.org   www.example.org/alborx"), green,
            pixelFont(times, 15, false, true), 384, 22);
    addLine(this, QStringLiteral("Wolne oprogramowanie tworzone przez społeczność."), green,
            pixelFont(times, 15, false, true), 408, 22);

    // Below the visible area: Escape presses it.
    zamknij = new QPushButton(QStringLiteral("zamknij"), this);
    zamknij->setGeometry(180, 450, 75, 25);
    connect(zamknij, &QPushButton::clicked, this, &QWidget::hide);

    setFixedSize(kWidth, kFullHeight);
}

void TForm2::showAsSplash()
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFixedSize(kWidth, kSplashHeight);
    alborx::ui::centreOnScreen(this);
    show();
    repaint();
}

void TForm2::makeAboutWindow()
{
    hide();
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);
    setFixedSize(kWidth, kFullHeight);
    alborx::ui::centreOnScreen(this);
}

void TForm2::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        zamknij->click();
        return;
    }
    QWidget::keyPressEvent(event);
}
