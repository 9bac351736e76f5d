// Small pictures of the editor's buttons, drawn rather than loaded.
#pragma once

#include <QIcon>

namespace alborx::ui {

QIcon clearPicture(); // the six clear buttons
QIcon addPicture();
QIcon fixPicture();
QIcon removePicture();

} // namespace alborx::ui
