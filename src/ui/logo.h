// The program's logo, drawn rather than loaded: the product name in green
// wire-frame letters around a compact disc on a black, starry background.
#pragma once

#include <QPixmap>
#include <QSize>

namespace alborx::ui {

QPixmap logoPicture(QSize size);

// The application icon: the compact disc alone.
QPixmap iconPicture(int size);

} // namespace alborx::ui
