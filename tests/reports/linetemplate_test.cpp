#include "cp1250.h"
#include "linetemplate.h"

#include <gtest/gtest.h>

namespace alborx {
namespace {

// Values as the export passes them: number 7, title "Images And Words", ...
TemplateValues album()
{
    return {"7", "Images And Words", "Dream Theater", "Rock", "00126", "00052", "00035", "O",
            "P", "Oryginal",         "Pirat"};
}

std::string file(std::string_view szablon, const TemplateValues& values = album())
{
    return wypelnijformat(szablon, values, TemplateMode::File);
}

TEST(LineTemplate, LongerKeywordsWin)
{
    EXPECT_EQ(file("%idcd|%idmc|%id|%idc"), "00126|00052|00035|00035c");
    EXPECT_EQ(file("%kopiacds %kopiacd %kopiamcs %kopiamc"), "O Oryginal P Pirat");
    EXPECT_EQ(file("%idx"), "00035x");
    EXPECT_EQ(file("%Tytul %tytu %"), "%Tytul %tytu %");
    EXPECT_EQ(file("%nr%tytul"), "7Images And Words");
}

TEST(LineTemplate, WidthSuffixes)
{
    EXPECT_EQ(file("%tytul:25"), std::string(9, ' ') + "Images And Words");
    EXPECT_EQ(file("%tytul;25"), "Images And Words" + std::string(9, ' '));
    EXPECT_EQ(file("%tytul:5"), "Words");
    EXPECT_EQ(file("%tytul;5"), "Image");
    EXPECT_EQ(file("%nr:3."), "  7.");
    EXPECT_EQ(file("%nr:007"), "      7");
    EXPECT_EQ(file("%tytul:"), "Images And Words:");
    EXPECT_EQ(file("%tytul:x"), "Images And Words:x");
    EXPECT_EQ(file("%nr:0|"), "|");
    EXPECT_EQ(file("%tytul:150").size(), 150u);
    EXPECT_EQ(file("%tytul:99999999999"), "Images And Words:99999999999");
    // The running number, inserted first, completes the title's suffix.
    EXPECT_EQ(file("%tytul:%nr"), "d Words");
    EXPECT_EQ(file("%tytul;%nr"), "Images ");
}

TEST(LineTemplate, PreviewTakesWidthsFrom1To99Only)
{
    EXPECT_EQ(podgladformatu("%nr:0"), "123:0");
    EXPECT_EQ(podgladformatu("%tytul:150"), "Images And Words:150");
    EXPECT_EQ(podgladformatu("%nr:5"), "  123");
    EXPECT_EQ(podgladformatu("%kopiacd %kopiamc"), *utf8ToCp1250("Oryginał Pirat"));
    EXPECT_EQ(podgladformatu("%zespol - %gatunek [%idcd %idmc %id %kopiacds%kopiamcs]"),
              "Dream Theater - Rock Progresywny [00126 00052 00035 OP]");
}

TEST(LineTemplate, LineBreaks)
{
    EXPECT_EQ(file("a\\nb\\n"), "a\r\nb\r\n");
    EXPECT_EQ(podgladformatu("a\\nb"), "a\rb");
    EXPECT_EQ(file("\\n:5"), "\r\n:5");
    TemplateValues values = album();
    values[1] = "one\\ntwo";
    EXPECT_EQ(file("%tytul", values), "one\r\ntwo");
    EXPECT_EQ(file(""), "");
    EXPECT_EQ(file("plain"), "plain");
}

TEST(LineTemplate, ValuesAreSearchedByLaterKeywordsOnly)
{
    TemplateValues values = album();
    values[1] = "T %zespol"; // a title holding a later keyword
    values[2] = "P %tytul";  // a performer holding an earlier one
    EXPECT_EQ(file("%tytul", values), "T P %tytul");
    EXPECT_EQ(file("%zespol", values), "P %tytul");
}

TEST(LineTemplate, AValueHoldingItsOwnKeywordEnds)
{
    TemplateValues values = album();
    values[1] = "%tytul";
    EXPECT_EQ(file("%tytul %tytul", values), "%tytul %tytul");
    values[1] = "%ty";
    EXPECT_EQ(file("%tytultul", values), "%tytul");
}

TEST(LineTemplate, HugeWidthsAreBounded)
{
    EXPECT_EQ(file("%nr:2147483647").size(), static_cast<std::size_t>(kWidestCell));
}

TEST(LineTemplate, ValuesFullOfKeywordsCannotBlowTheLineUp)
{
    // Every title holds performers, every performer genres, and so on: each
    // level would multiply the line by thousands.
    TemplateValues values = album();
    values[1] = std::string(20, ' ') + "%zespol:65535%zespol:65535%zespol:65535";
    values[2] = "%gatunek:65535%gatunek:65535%gatunek:65535";
    values[3] = "%idcd:65535%idcd:65535%idcd:65535";
    std::string szablon;
    for (int i = 0; i < 20; ++i)
        szablon += "%tytul:65535";
    const std::string line = file(szablon, values);
    EXPECT_LE(line.size(), kLongestLine);
    EXPECT_GT(line.size(), kLongestLine - 70000);
}

} // namespace
} // namespace alborx
