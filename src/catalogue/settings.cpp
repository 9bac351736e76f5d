#include "settings.h"

#include "binaryfields.h"
#include "safefile.h"

#include <cstring>

namespace alborx {

namespace {

// Offsets of the fields within the record.
enum Offset : std::size_t
{
    OffOknolewo = 0,
    OffOknogora = 4,
    OffOknoszerokosc = 8,
    OffOknowysokosc = 12,
    OffOknomaks = 16,
    OffReserved17 = 17,
    OffNastid = 20,
    OffNastidcd = 24,
    OffNastidmc = 28,
    OffKolumny = 32,
    OffFormatcd = 96,
    OffFormatmc = 352,
    OffWypiszcd = 608,
    OffWypiszmc = 612,
    OffPodsumowanie = 616,
    OffReserved617 = 617,
    OffKolejnosc = 620,
    OffGatunkiprzyladowaniu = 624,
    OffAutozapis = 625,
    OffAutoodczyt = 626,
    OffDolaczaj = 627,
    OffCzcionkaznaki = 628,
    OffReserved629 = 629,
    OffCzcionkakolor = 632,
    OffCzcionkawysokosc = 636,
    OffCzcionkanazwa = 640,
    OffCzcionkarozmiar = 896,
    OffCzcionkastyl = 900,
    OffReserved901 = 901,
    OffWysokoscwiersza = 904,
    OffReserved908 = 908,
    OffPlikbazy = 912,
    OffOstatnie = 1168,
    OffNawierzchu = 3216,
    OffSzukane = 3217,
    OffZamiana = 3473,
    OffSzukajw = 3729,
    OffZamieniaj = 3737,
    OffPytaj = 3738,
    OffReserved3739 = 3739,
    OffKolorytla = 3740,
    OffKolorypaskow = 3772,
    OffKolorytekstu = 3804,
    OffWyrazistosc = 3836,
    OffKolorywykresu = 3840,
};

constexpr std::size_t kStringField = 1 + kSettingsStringCapacity;

void putColour(std::uint8_t* at, Colour colour)
{
    putInt32(at, static_cast<std::int32_t>(colour));
}

Colour getColour(const std::uint8_t* at)
{
    return static_cast<Colour>(getInt32(at));
}

template <std::size_t N> void putBytes(std::uint8_t* at, const std::array<std::uint8_t, N>& bytes)
{
    std::memcpy(at, bytes.data(), N);
}

template <std::size_t N> void getBytes(const std::uint8_t* at, std::array<std::uint8_t, N>& bytes)
{
    std::memcpy(bytes.data(), at, N);
}

std::string getString(const std::uint8_t* at)
{
    return getShortString(at, kSettingsStringCapacity);
}

} // namespace

void ustawdomyslne(TUstawienia& s)
{
    s.oknomaks = false;
    s.nastid = 0;
    s.nastidcd = 0;
    s.nastidmc = 0;
    s.formatcd = "%nr:3. %zespol - %tytul (%gatunek) [%kopiacds]";
    s.formatmc = "%nr:3. %zespol - %tytul (%gatunek) [%kopiamcs]";
    s.wypiszcd.fill(true);
    s.wypiszmc.fill(true);
    s.podsumowanie = true;
    s.kolejnosc = 0;
    s.gatunkiprzyladowaniu = true;
    s.autozapis = false;
    s.autoodczyt = false;
    s.dolaczaj = false;
    s.plikbazy.clear();
    s.ostatnie.fill(std::string());
    s.nawierzchu = false;
    s.szukane.clear();
    s.zamiana.clear();
    s.szukajw.fill(true);
    s.zamieniaj = false;
    s.pytaj = true;
    s.reserved3739 = 0;
    s.kolorytla.fill(0x00DFDFDF);
    s.kolorypaskow.fill(0x00D0D0D0);
    s.kolorytekstu.fill(0x00700000);
    s.wyrazistosc = 15;
    s.kolorywykresu = {0x000D0DC6, 0x00EE7766, 0x0011B015, 0x00E800AE};
}

std::vector<std::uint8_t> encodeSettings(const TUstawienia& s)
{
    std::vector<std::uint8_t> bytes(kSettingsRecordSize, 0);
    std::uint8_t* r = bytes.data();
    putInt32(r + OffOknolewo, s.oknolewo);
    putInt32(r + OffOknogora, s.oknogora);
    putInt32(r + OffOknoszerokosc, s.oknoszerokosc);
    putInt32(r + OffOknowysokosc, s.oknowysokosc);
    r[OffOknomaks] = s.oknomaks;
    putBytes(r + OffReserved17, s.reserved17);
    putInt32(r + OffNastid, s.nastid);
    putInt32(r + OffNastidcd, s.nastidcd);
    putInt32(r + OffNastidmc, s.nastidmc);
    for (std::size_t i = 0; i < s.kolumny.size(); ++i)
        putInt32(r + OffKolumny + 4 * i, s.kolumny[i]);
    putShortString(r + OffFormatcd, kSettingsStringCapacity, s.formatcd);
    putShortString(r + OffFormatmc, kSettingsStringCapacity, s.formatmc);
    for (std::size_t i = 0; i < 4; ++i) {
        r[OffWypiszcd + i] = s.wypiszcd[i];
        r[OffWypiszmc + i] = s.wypiszmc[i];
    }
    r[OffPodsumowanie] = s.podsumowanie;
    putBytes(r + OffReserved617, s.reserved617);
    putInt32(r + OffKolejnosc, s.kolejnosc);
    r[OffGatunkiprzyladowaniu] = s.gatunkiprzyladowaniu;
    r[OffAutozapis] = s.autozapis;
    r[OffAutoodczyt] = s.autoodczyt;
    r[OffDolaczaj] = s.dolaczaj;
    r[OffCzcionkaznaki] = s.czcionkaznaki;
    putBytes(r + OffReserved629, s.reserved629);
    putColour(r + OffCzcionkakolor, s.czcionkakolor);
    putInt32(r + OffCzcionkawysokosc, s.czcionkawysokosc);
    putShortString(r + OffCzcionkanazwa, kSettingsStringCapacity, s.czcionkanazwa);
    putInt32(r + OffCzcionkarozmiar, s.czcionkarozmiar);
    r[OffCzcionkastyl] = s.czcionkastyl;
    putBytes(r + OffReserved901, s.reserved901);
    putInt32(r + OffWysokoscwiersza, s.wysokoscwiersza);
    putBytes(r + OffReserved908, s.reserved908);
    // A name cut to the field would lead to another file: it is not kept.
    putShortString(r + OffPlikbazy, kSettingsStringCapacity,
                   fitsSettingsString(s.plikbazy) ? s.plikbazy : std::string());
    for (std::size_t k = 0; k < s.ostatnie.size(); ++k)
        putShortString(r + OffOstatnie + kStringField * k, kSettingsStringCapacity, s.ostatnie[k]);
    r[OffNawierzchu] = s.nawierzchu;
    putShortString(r + OffSzukane, kSettingsStringCapacity, s.szukane);
    putShortString(r + OffZamiana, kSettingsStringCapacity, s.zamiana);
    for (std::size_t i = 0; i < s.szukajw.size(); ++i)
        r[OffSzukajw + i] = s.szukajw[i];
    r[OffZamieniaj] = s.zamieniaj;
    r[OffPytaj] = s.pytaj;
    r[OffReserved3739] = s.reserved3739;
    for (std::size_t i = 0; i < 8; ++i) {
        putColour(r + OffKolorytla + 4 * i, s.kolorytla[i]);
        putColour(r + OffKolorypaskow + 4 * i, s.kolorypaskow[i]);
        putColour(r + OffKolorytekstu + 4 * i, s.kolorytekstu[i]);
    }
    putInt32(r + OffWyrazistosc, s.wyrazistosc);
    for (std::size_t i = 0; i < s.kolorywykresu.size(); ++i)
        putColour(r + OffKolorywykresu + 4 * i, s.kolorywykresu[i]);
    return bytes;
}

void decodeSettings(const std::uint8_t* r, TUstawienia& s)
{
    s.oknolewo = getInt32(r + OffOknolewo);
    s.oknogora = getInt32(r + OffOknogora);
    s.oknoszerokosc = getInt32(r + OffOknoszerokosc);
    s.oknowysokosc = getInt32(r + OffOknowysokosc);
    s.oknomaks = r[OffOknomaks] != 0;
    getBytes(r + OffReserved17, s.reserved17);
    s.nastid = getInt32(r + OffNastid);
    s.nastidcd = getInt32(r + OffNastidcd);
    s.nastidmc = getInt32(r + OffNastidmc);
    for (std::size_t i = 0; i < s.kolumny.size(); ++i)
        s.kolumny[i] = getInt32(r + OffKolumny + 4 * i);
    s.formatcd = getString(r + OffFormatcd);
    s.formatmc = getString(r + OffFormatmc);
    for (std::size_t i = 0; i < 4; ++i) {
        s.wypiszcd[i] = r[OffWypiszcd + i] != 0;
        s.wypiszmc[i] = r[OffWypiszmc + i] != 0;
    }
    s.podsumowanie = r[OffPodsumowanie] != 0;
    getBytes(r + OffReserved617, s.reserved617);
    s.kolejnosc = getInt32(r + OffKolejnosc);
    s.gatunkiprzyladowaniu = r[OffGatunkiprzyladowaniu] != 0;
    s.autozapis = r[OffAutozapis] != 0;
    s.autoodczyt = r[OffAutoodczyt] != 0;
    s.dolaczaj = r[OffDolaczaj] != 0;
    s.czcionkaznaki = r[OffCzcionkaznaki];
    getBytes(r + OffReserved629, s.reserved629);
    s.czcionkakolor = getColour(r + OffCzcionkakolor);
    s.czcionkawysokosc = getInt32(r + OffCzcionkawysokosc);
    s.czcionkanazwa = getString(r + OffCzcionkanazwa);
    s.czcionkarozmiar = getInt32(r + OffCzcionkarozmiar);
    s.czcionkastyl = r[OffCzcionkastyl];
    getBytes(r + OffReserved901, s.reserved901);
    s.wysokoscwiersza = getInt32(r + OffWysokoscwiersza);
    getBytes(r + OffReserved908, s.reserved908);
    s.plikbazy = getString(r + OffPlikbazy);
    for (std::size_t k = 0; k < s.ostatnie.size(); ++k)
        s.ostatnie[k] = getString(r + OffOstatnie + kStringField * k);
    s.nawierzchu = r[OffNawierzchu] != 0;
    s.szukane = getString(r + OffSzukane);
    s.zamiana = getString(r + OffZamiana);
    for (std::size_t i = 0; i < s.szukajw.size(); ++i)
        s.szukajw[i] = r[OffSzukajw + i] != 0;
    s.zamieniaj = r[OffZamieniaj] != 0;
    s.pytaj = r[OffPytaj] != 0;
    s.reserved3739 = r[OffReserved3739];
    for (std::size_t i = 0; i < 8; ++i) {
        s.kolorytla[i] = getColour(r + OffKolorytla + 4 * i);
        s.kolorypaskow[i] = getColour(r + OffKolorypaskow + 4 * i);
        s.kolorytekstu[i] = getColour(r + OffKolorytekstu + 4 * i);
    }
    s.wyrazistosc = getInt32(r + OffWyrazistosc);
    for (std::size_t i = 0; i < s.kolorywykresu.size(); ++i)
        s.kolorywykresu[i] = getColour(r + OffKolorywykresu + 4 * i);
}

bool readSettingsFile(const std::string& path, TUstawienia& settings)
{
    std::vector<std::uint8_t> bytes;
    if (!readWholeFile(path, bytes, kSettingsFileSize))
        return false;
    // A file with the right magic but a cut record is ignored whole, so the
    // defaults never mix with a part of a record.
    if (bytes.size() < static_cast<std::size_t>(kSettingsFileSize) ||
        std::memcmp(bytes.data(), kSettingsMagic, 10) != 0)
        return false;
    decodeSettings(bytes.data() + 10, settings);
    return true;
}

bool writeSettingsFile(const std::string& path, const TUstawienia& settings)
{
    std::vector<std::uint8_t> bytes(kSettingsMagic, kSettingsMagic + 10);
    const std::vector<std::uint8_t> record = encodeSettings(settings);
    bytes.insert(bytes.end(), record.begin(), record.end());
    return writeFileSafely(path, bytes) == WriteError::None;
}

bool isUsableRowHeight(std::int32_t height)
{
    return height >= 6 && height <= 40;
}

bool isUsableFontSize(std::int32_t points)
{
    return points >= 3 && points <= 72;
}

bool isUsableFontName(const std::string& name)
{
    return name.find_first_not_of(' ') != std::string::npos;
}

bool isUsableColumnWidth(std::int32_t width)
{
    return width >= 1 && width <= 2000;
}

bool isUsableStripeDarkness(std::int32_t wyrazistosc)
{
    return wyrazistosc >= 0 && wyrazistosc <= 82;
}

bool isUsableExportOrder(std::int32_t kolejnosc)
{
    return kolejnosc >= 0 && kolejnosc <= 2;
}

} // namespace alborx
