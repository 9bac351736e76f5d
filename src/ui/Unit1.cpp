#include "Unit1.h"

TForm1::TForm1(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("ALBORX!"));
    setMinimumSize(640, 300);
    resize(649, 511);
}
