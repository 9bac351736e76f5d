// The program's command line.
#pragma once

#include <string>

namespace alborx {

struct CommandLine
{
    bool help = false;
    bool version = false;
    // --otworz PLIK: opened at start whatever automatic opening says.
    std::string otworz;
    // A bare argument: the catalogue opened only with automatic opening on.
    std::string catalogue;
};

// Reads the arguments after the program's name; Qt's own options (such as
// -platform) are left to Qt.
CommandLine readCommandLine(int argc, char* argv[]);

const char* usageText();

} // namespace alborx
