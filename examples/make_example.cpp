// Writes the sample catalogue examples/przyklad.abx: about forty albums of
// made-up performers, with every copy kind, multi-disc albums, albums sharing
// a CD and albums sharing a cassette.
// Usage: alborx-example FILE
#include "cataloguefile.h"
#include "cp1250.h"
#include "settings.h"

#include <cstdio>

namespace {

struct Entry
{
    const char* id;
    const char* performer;
    const char* title;
    const char* genre;
    const char* cd;
    const char* mc;
    const char* idcd;
    const char* idmc;
};

// Two discs of one album share its ID (00004, 00019); compilations share a
// CD (00003) or a cassette (00007).
constexpr Entry kAlbums[] = {
    {"00001", "Stare Dęby", "Korzenie", "Rock", "O", "-", "00001", "-"},
    {"00002", "Stare Dęby", "Słoje i sęki", "Rock", "O", "K", "00002", "00001"},
    {"00003", "Żółte Latawce", "Nad łąką", "Pop", "P", "-", "00003", "-"},
    {"00004", "Orkiestra Dęta z Wólki", "Marsze i polki (CD 1)", "Folk", "O", "-", "00004", "-"},
    {"00004", "Orkiestra Dęta z Wólki", "Marsze i polki (CD 2)", "Folk", "O", "-", "00005", "-"},
    {"00005", "Cisza Nocna", "Szept", "Elektronika", "M", "-", "00006", "-"},
    {"00006", "Cisza Nocna", "Echo", "Elektronika", "M", "-", "00006", "-"},
    {"00007", "Północny Wiatr", "Fiordy", "Metal", "K", "P", "00007", "00002"},
    {"00008", "Kwartet Śląski", "Wieczór w Gliwicach", "Jazz", "O", "-", "00008", "-"},
    {"00009", "Kwartet Śląski", "Szyb Wilson", "Jazz", "-", "O", "-", "00003"},
    {"00010", "Bracia Kowalscy", "Podwórko", "Blues", "P", "-", "00009", "-"},
    {"00011", "Bracia Kowalscy", "Deszczowy poniedziałek", "Blues", "K", "K", "00010", "00004"},
    {"00012", "Łąka", "Trawy", "Poezja śpiewana", "O", "-", "00011", "-"},
    {"00013", "Łąka", "Ćmy i świetliki", "Poezja śpiewana", "-", "M", "-", "00005"},
    {"00014", "Mgła Poranna", "Rosa", "Ambient", "M", "-", "00012", "-"},
    {"00015", "Grzmot", "Burza nad Bałtykiem", "Metal", "O", "O", "00013", "00006"},
    {"00016", "Grzmot", "Piorun kulisty", "Metal", "P", "-", "00014", "-"},
    {"00017", "Różowe Okulary", "Wakacje", "Pop", "-", "K", "-", "00007"},
    {"00018", "Różowe Okulary", "Zima w mieście", "Pop", "-", "K", "-", "00007"},
    {"00019", "Chór Dziewczęcy Jaskółki", "Kolędy (CD 1)", "Chóralna", "O", "-", "00015", "-"},
    {"00019", "Chór Dziewczęcy Jaskółki", "Kolędy (CD 2)", "Chóralna", "O", "-", "00016", "-"},
    {"00020", "Ekspres Relaks", "Pociąg do Zakopanego", "Rock", "K", "-", "00017", "-"},
    {"00021", "Ekspres Relaks", "Ostatnia stacja", "Rock", "M", "P", "00018", "00008"},
    {"00022", "Dyskoteka Pod Gwiazdami", "Największe przeboje", "Disco", "P", "-", "00019", "-"},
    {"00023", "Jan Nowakowski Trio", "Standardy", "Jazz", "O", "-", "00020", "-"},
    {"00024", "Jan Nowakowski Trio", "Nokturny", "Jazz", "O", "O", "00021", "00009"},
    {"00025", "Zgrzyt", "Hałas", "Punk", "K", "-", "00022", "-"},
    {"00026", "Zgrzyt", "Więcej hałasu", "Punk", "M", "-", "00023", "-"},
    {"00027", "Srebrne Struny", "Ballady", "Folk", "O", "-", "00024", "-"},
    {"00028", "Srebrne Struny", "Gawędy", "Folk", "-", "O", "-", "00010"},
    {"00029", "Fala Dźwięku", "Przypływ", "Elektronika", "P", "P", "00025", "00011"},
    {"00030", "Młody Las", "Pierwsze kroki", "Pop", "O", "-", "00026", "-"},
    {"00031", "Młody Las", "Drugi oddech", "Pop", "K", "-", "00027", "-"},
    {"00032", "Kapela z Podwórza", "Przyśpiewki", "Folk", "-", "M", "-", "00012"},
    {"00033", "Kwiat Paproci", "Noc świętojańska", "Rock", "O", "-", "00028", "-"},
    {"00034", "Kwiat Paproci", "Wianki", "Rock", "P", "-", "00029", "-"},
    {"00035", "Różne zespoły", "Składanka rockowa 1", "Rock", "K", "-", "00030", "-"},
    {"00036", "Różne zespoły", "Składanka rockowa 2", "Rock", "K", "-", "00030", "-"},
    {"00037", "Elżbieta Zawadzka", "Piosenki na dobranoc", "Dziecięca", "O", "K", "00031", "00013"},
    {"00038", "Orkiestra Salonowa Ślizg", "Walce", "Klasyczna", "M", "O", "00032", "00014"},
};

std::string w1250(const char* utf8)
{
    return alborx::utf8ToCp1250(utf8).value_or(utf8);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fputs("Usage: alborx-example FILE\n", stderr);
        return 2;
    }
    std::vector<alborx::Row> rows;
    for (const Entry& e : kAlbums)
        rows.push_back(
            {e.id, w1250(e.performer), w1250(e.title), w1250(e.genre), e.cd, e.mc, e.idcd, e.idmc});
    alborx::AlbumTable table;
    table.assignAlbums(std::move(rows));
    alborx::TUstawienia settings;
    return alborx::zapiszbaze(table, settings, argv[1]) == alborx::WriteError::None ? 0 : 1;
}
