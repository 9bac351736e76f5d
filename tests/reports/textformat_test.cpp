#include "cp1250.h"
#include "linetemplate.h"
#include "textformat.h"

#include <gtest/gtest.h>

namespace alborx {
namespace {

TEST(SwapCopy, SwapsTheFirstOccurrenceOfEachKeywordOnce)
{
    EXPECT_EQ(zamianacm("A %kopiacds B"), "A %kopiamcs B");
    EXPECT_EQ(zamianacm("%idcd/%idcd"), "%idmc/%idcd");
    EXPECT_EQ(zamianacm("%idcd %idmc"), "%idmc %idcd");
    EXPECT_EQ(zamianacm("%kopiacds %kopiacd"), "%kopiamcs %kopiacd");
    EXPECT_EQ(zamianacm("CD: %kopiacd MC: %kopiamc"), "CD: %kopiamc MC: %kopiacd");
    EXPECT_EQ(zamianacm(""), "");
}

TEST(Presets, MatchTheDefaultsAndUseOnlyKnownKeywords)
{
    const auto& presets = formatPresets();
    EXPECT_EQ(presets[0].formatcd, "%nr:3. %zespol - %tytul (%gatunek) [%kopiacds]");
    EXPECT_EQ(presets[3].name, *utf8ToCp1250("Prosta lista bez podziału"));
    EXPECT_EQ(presets[3].kolejnosc, 2);
    EXPECT_TRUE(presets[4].formatmc.empty());
    // The full descriptions put each field on its own line.
    EXPECT_EQ(podgladformatu(presets[2].formatcd),
              "123.\r   Dream Theater: \"Images And Words\"\r   Gatunek: Rock Progresywny\r"
              "   CD: " +
                  *utf8ToCp1250("Oryginał") + " ID:00126\r   ID albumu: 00035");
    for (const FormatPreset& preset : presets) {
        EXPECT_EQ(podgladformatu(preset.formatcd).find('%'), std::string::npos) << preset.name;
        EXPECT_EQ(podgladformatu(preset.formatmc).find('%'), std::string::npos) << preset.name;
    }
}

} // namespace
} // namespace alborx
