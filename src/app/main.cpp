// The program entry: the splash covers the start-up, then the main window
// runs until it is closed.
#include "Unit1.h"
#include "Unit2.h"
#include "logo.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ALBORX!"));
    QApplication::setApplicationDisplayName(QStringLiteral("ALBORX!"));
    QApplication::setWindowIcon(QIcon(alborx::ui::iconPicture(64)));

    // The whole interface is Polish, Qt's own dialogs and buttons included.
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    QTranslator qtTranslations;
    if (qtTranslations.load(QLocale(QLocale::Polish), QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);

    TForm1 form;
    form.Form2->showAsSplash();
    QApplication::processEvents();

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    form.poczatek(arguments);

    form.Form2->makeAboutWindow();
    form.showAtStart();
    return QApplication::exec();
}
