#include "commandline.h"

#include <gtest/gtest.h>
#include <vector>

namespace alborx {
namespace {

CommandLine read(std::vector<const char*> arguments)
{
    arguments.insert(arguments.begin(), "alborx");
    return readCommandLine(static_cast<int>(arguments.size()),
                           const_cast<char**>(arguments.data()));
}

TEST(CommandLine, HelpVersionAndFiles)
{
    EXPECT_TRUE(read({"--help"}).help);
    EXPECT_TRUE(read({"-h"}).help);
    EXPECT_TRUE(read({"--version"}).version);
    EXPECT_EQ(read({"kolekcja.abx"}).catalogue, "kolekcja.abx");
    EXPECT_EQ(read({"a.abx", "b.abx"}).catalogue, "a.abx"); // only the first counts
    const CommandLine forced = read({"--otworz", "/dom/R&B.abx"});
    EXPECT_EQ(forced.otworz, "/dom/R&B.abx");
    EXPECT_EQ(forced.catalogue, "");
    EXPECT_EQ(read({"--otworz"}).otworz, ""); // a file manager gave no file
    EXPECT_EQ(read({"-platform", "offscreen", "x.abx"}).catalogue, "x.abx");
}

TEST(CommandLine, UsageIsPolishAndNamesEveryOption)
{
    const std::string usage = usageText();
    for (const char* option : {"--otworz", "--help", "--version", "Użycie"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}

} // namespace
} // namespace alborx
