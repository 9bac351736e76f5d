#include "listcolours.h"

#include <gtest/gtest.h>

namespace alborx {
namespace {

Colour stripeOf(Colour background, std::int32_t wyrazistosc)
{
    TUstawienia s;
    ustawdomyslne(s);
    s.kolorytla.fill(background);
    s.wyrazistosc = wyrazistosc;
    zrobkolorypaskow(s);
    return s.kolorypaskow[5];
}

TEST(StripeColours, EachChannelIsLoweredAndFloorsAtZero)
{
    EXPECT_EQ(stripeOf(0x00DFDFDF, 15), 0x00D0D0D0u);
    EXPECT_EQ(stripeOf(0x00DFDFDF, 0), 0x00DFDFDFu);
    EXPECT_EQ(stripeOf(0x00DFDFDF, 82), 0x008D8D8Du);
    EXPECT_EQ(stripeOf(0x00204060, 50), 0x00000E2Eu);
    EXPECT_EQ(stripeOf(0x7F000000, 10), 0x7F000000u); // the high byte is carried
}

TEST(StripeColours, OddRowsAreStripesAndTextHasItsColumnColour)
{
    TUstawienia s;
    ustawdomyslne(s);
    s.kolorytla[2] = 0x00112233;
    s.kolorytekstu[2] = 0x00445566;
    zrobkolorypaskow(s);
    EXPECT_EQ(listacdGetCellColor(s, 1, 2).background, s.kolorypaskow[2]);
    EXPECT_EQ(listacdGetCellColor(s, 2, 2).background, 0x00112233u);
    EXPECT_EQ(listacdGetCellColor(s, 5, 2).background, s.kolorypaskow[2]);
    EXPECT_EQ(listacdGetCellColor(s, 4, 2).text, 0x00445566u);
}

} // namespace
} // namespace alborx
