// The program's artwork, drawn rather than loaded: a compact disc with a
// rainbow sheen (the application icon), and the logo of the about window,
// the product name in green wire-frame letters across that disc on a black,
// starry background.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace alborx::ui {

QPixmap logoPicture(QSize size);

// The application icon at a size, on a transparent ground.
QImage iconImage(int size);

// The same icon as an SVG document, drawn from the same shapes.
QString iconSvg();

} // namespace alborx::ui
