#include "commandline.h"

#include <string_view>

namespace alborx {

CommandLine readCommandLine(int argc, char* argv[])
{
    CommandLine command;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h")
            command.help = true;
        else if (argument == "--version" || argument == "-v")
            command.version = true;
        else if (argument == "--otworz") {
            // A file manager passes nothing when no file was chosen.
            if (i + 1 < argc)
                command.otworz = argv[++i];
        } else if (!argument.empty() && argument.front() == '-') {
            // Qt's options, and their values, are Qt's.
            if ((argument == "-platform" || argument == "-style" || argument == "-display") &&
                i + 1 < argc)
                ++i;
        } else if (command.catalogue.empty()) {
            command.catalogue = argument;
        }
    }
    return command;
}

const char* usageText()
{
    return "Użycie: alborx [opcje] [PLIK]\n"
           "Katalog płyt CD i kaset magnetofonowych.\n"
           "\n"
           "  PLIK               baza albumów (*.abx); otwierana przy starcie, gdy włączony\n"
           "                     jest automatyczny odczyt\n"
           "  --otworz PLIK      otwiera podaną bazę przy starcie zawsze\n"
           "  -h, --help         wyświetla ten opis i kończy działanie\n"
           "  -v, --version      wyświetla wersję programu i kończy działanie\n"
           "\n"
           "Ustawienia (alborx.cfg) i lista gatunków (alborx-gatunki.cfg) są w katalogu,\n"
           "z którego program został uruchomiony.\n";
}

} // namespace alborx
