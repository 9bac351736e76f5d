// The program entry: the splash covers the start-up, then the main window
// runs until it is closed.
//
// Usage: alborx [--otworz PLIK | PLIK] [--help] [--version]
#include "Unit1.h"
#include "Unit2.h"
#include "commandline.h"
#include "logo.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>

int main(int argc, char* argv[])
{
    // Help and version are answered before Qt starts: they need no display
    // and touch no settings.
    const alborx::CommandLine command = alborx::readCommandLine(argc, argv);
    if (command.help) {
        std::fputs(alborx::usageText(), stdout);
        return 0;
    }
    if (command.version) {
        std::puts("ALBORX! 1.0");
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ALBORX!"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(alborx::ui::iconImage(64))));

    // The whole interface is Polish, Qt's own dialogs and buttons included.
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    QTranslator qtTranslations;
    if (qtTranslations.load(QLocale(QLocale::Polish), QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);

    TForm1 form;
    form.Form2->showAsSplash();
    QApplication::processEvents();

    QStringList arguments;
    if (!command.catalogue.empty())
        arguments << QString::fromLocal8Bit(command.catalogue.c_str());
    form.poczatek(arguments, QString::fromLocal8Bit(command.otworz.c_str()));

    form.Form2->makeAboutWindow();
    form.showAtStart();
    return QApplication::exec();
}
