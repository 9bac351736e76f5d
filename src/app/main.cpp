#include "Unit1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ALBORX!"));
    TForm1 form;
    form.show();
    return QApplication::exec();
}
