// The settings record: everything the program remembers between runs apart
// from the catalogues, kept in one instance for the whole run and stored
// whole in "alborx.cfg" as a fixed 3856-byte layout.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace alborx {

constexpr int kSettingsRecordSize = 3856;
constexpr int kSettingsFileSize = 10 + kSettingsRecordSize;
constexpr int kRecentCount = 8;
constexpr int kListColumnCount = 16;
constexpr std::size_t kSettingsStringCapacity = 255;

inline constexpr char kSettingsFileName[] = "alborx.cfg";
inline constexpr char kSettingsMagic[] = "ALBORX!100";

// Whether a text fits a string field of the record whole.
inline bool fitsSettingsString(const std::string& text)
{
    return text.size() <= kSettingsStringCapacity;
}

// Colours are 0x00BBGGRR: red in the lowest byte.
using Colour = std::uint32_t;

struct TUstawienia
{
    std::int32_t oknolewo = 0;
    std::int32_t oknogora = 0;
    std::int32_t oknoszerokosc = 0;
    std::int32_t oknowysokosc = 0;
    bool oknomaks = false;
    std::int32_t nastid = 0;
    std::int32_t nastidcd = 0;
    std::int32_t nastidmc = 0;
    // Entries 0..7: columns of the main list; 8..15: of the filtered list.
    std::array<std::int32_t, kListColumnCount> kolumny{};
    std::string formatcd;
    std::string formatmc;
    std::array<bool, 4> wypiszcd{};
    std::array<bool, 4> wypiszmc{};
    bool podsumowanie = false;
    std::int32_t kolejnosc = 0;
    bool gatunkiprzyladowaniu = false;
    bool autozapis = false;
    bool autoodczyt = false;
    bool dolaczaj = false;
    std::uint8_t czcionkaznaki = 0;
    Colour czcionkakolor = 0;
    std::int32_t czcionkawysokosc = 0;
    std::string czcionkanazwa;
    std::int32_t czcionkarozmiar = 0;
    std::uint8_t czcionkastyl = 0;
    std::int32_t wysokoscwiersza = 0;
    std::string plikbazy;
    std::array<std::string, kRecentCount> ostatnie{};
    bool nawierzchu = false;
    std::string szukane;
    std::string zamiana;
    std::array<bool, 8> szukajw{};
    bool zamieniaj = false;
    bool pytaj = false;
    std::array<Colour, 8> kolorytla{};
    std::array<Colour, 8> kolorypaskow{};
    std::array<Colour, 8> kolorytekstu{};
    std::int32_t wyrazistosc = 0;
    std::array<Colour, 4> kolorywykresu{};

    // Bytes the program never sets: they carry what the last settings file
    // held at offsets 17..19, 617..619, 629..631, 901..903, 908..911 and 3739.
    std::array<std::uint8_t, 3> reserved17{};
    std::array<std::uint8_t, 3> reserved617{};
    std::array<std::uint8_t, 3> reserved629{};
    std::array<std::uint8_t, 3> reserved901{};
    std::array<std::uint8_t, 4> reserved908{};
    std::uint8_t reserved3739 = 0;
};

// Fills the fields that have defaults. The window bounds, the column widths,
// the font fields and the row height are left as they are: the caller puts
// the window's current bounds in first, and the list fields stay unset (0)
// until a settings file or the lists fill them.
void ustawdomyslne(TUstawienia& settings);

// The record as the 3856 bytes of the file, and back. Strings longer than 255
// bytes are cut; a length byte is trusted up to the field's capacity.
std::vector<std::uint8_t> encodeSettings(const TUstawienia& settings);
void decodeSettings(const std::uint8_t* bytes, TUstawienia& settings);

// Reads a settings file over the record. The record changes only when the
// file starts with the magic and holds the whole record; anything else
// leaves it untouched and returns false.
bool readSettingsFile(const std::string& path, TUstawienia& settings);

// Writes the magic and the record safely (a failure leaves any previous file
// as it was). Returns false when the file could not be written.
bool writeSettingsFile(const std::string& path, const TUstawienia& settings);

// Whether a stored value can be applied to the window and the lists; a value
// that is not usable keeps the built-in one.
bool isUsableRowHeight(std::int32_t height);
bool isUsableFontSize(std::int32_t points);
bool isUsableFontName(const std::string& name);
bool isUsableColumnWidth(std::int32_t width);
bool isUsableStripeDarkness(std::int32_t wyrazistosc);
bool isUsableExportOrder(std::int32_t kolejnosc);

} // namespace alborx
