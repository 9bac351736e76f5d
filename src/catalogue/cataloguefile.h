// The catalogue file: the magic "PALBORX!100", a signed 32-bit album count
// and one 144-byte record per album, in catalogue order. The operations here
// move albums between such files and the album table; showing messages and
// the progress window is left to the caller.
//
// File names, like all text the program keeps, are Windows-1250 bytes: they
// are what plikbazy and the recent list store. The file system sees them in
// UTF-8.
#pragma once

#include "albumtable.h"
#include "progress.h"
#include "safefile.h"
#include "settings.h"
#include "tablechange.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace alborx {

inline constexpr char kCatalogueMagic[] = "PALBORX!100";
constexpr std::size_t kCatalogueMagicSize = 11;
constexpr std::size_t kCatalogueHeaderSize = kCatalogueMagicSize + 4;
constexpr std::size_t kAlbumRecordSize = 144;

// One album as the file stores it.
struct TAlbum
{
    std::int32_t id = 0;
    std::int32_t idcd = 0;
    std::int32_t idmc = 0;
    std::string zespol;  // capacity 35
    std::string tytul;   // capacity 60
    std::string gatunek; // capacity 30
    std::uint8_t kopiacd = 0;
    std::uint8_t kopiamc = 0;
};

// The 144 bytes of a record: zero-filled, strings cut to their capacity.
std::array<std::uint8_t, kAlbumRecordSize> encodeAlbum(const TAlbum& album);
// Reads a record; a length byte above its capacity is taken as the capacity
// and sets *damaged, and so does a copy-kind code above 4.
TAlbum decodeAlbum(const std::uint8_t* bytes, bool* damaged = nullptr);

// The record of a row, written at record (zero-filled, kAlbumRecordSize
// bytes); copy kinds as codes, ID 0 for a medium that is not owned. A
// record is read back into a row with IDs as 5-digit text, copy kinds as
// letters, "-" for a medium that is not owned, a code above 4 as "M".
void encodeRow(const RowView& row, std::uint8_t* record);

// The whole file for the first liczbaalbumow album rows of the table.
std::vector<std::uint8_t> encodeCatalogue(const AlbumTable& table, Progress* progress = nullptr);

enum class ReadStatus
{
    Ok,
    CannotOpen,
    BadHeader
};

struct CatalogueContents
{
    ReadStatus status = ReadStatus::CannotOpen;
    std::vector<Row> albums;
    // The stored count did not match the whole records present, or a length
    // byte was above its field's capacity. The albums hold what could be read.
    bool damaged = false;
};

// The most albums a catalogue in memory holds: ten times the largest
// collection the program is built for. A file that claims more loads this
// many and is reported damaged.
constexpr int kMostAlbums = 1'000'000;

// Reads a catalogue file given by its file-system path. Only a regular file is
// read (anything else cannot be opened). Only the whole records present are
// read, never more than the stored count when that is not negative and never
// more than mostAlbums; memory grows only with records actually read, never
// by a stored count or size.
CatalogueContents readCatalogue(const std::string& path, Progress* progress = nullptr,
                                int mostAlbums = kMostAlbums);

// The data side of starting a new catalogue: the table emptied, no current
// file, the ID counters back to 0.
void nowabaza(AlbumTable& table, TUstawienia& settings);

// The recent-file menu may leave an accelerator marker in a name: the first
// "&" is removed.
std::string withoutAmpersand(std::string_view name);

// The name that otworzbaze turns back into name: a real file name with an
// "&" in it (from a file dialog, the command line or the settings) keeps it.
std::string withAmpersandKept(std::string_view name);

enum class OpenStatus
{
    NoName,
    CannotOpen,
    BadHeader,
    Opened
};

struct OpenResult
{
    OpenStatus status = OpenStatus::NoName;
    std::string name; // the name used, without its first "&"
    int loaded = 0;
    bool damaged = false;
};

// Replaces the catalogue by the file's albums. A name that is blank does
// nothing. A file that cannot be read or has the wrong magic leaves the
// albums as they are and empties plikbazy. A successful open starts a new
// catalogue, fills it, makes the file current and puts it on the recent list.
OpenResult otworzbaze(AlbumTable& table, TUstawienia& settings, std::string_view name,
                      Progress* progress = nullptr);

struct JoinResult
{
    // Opened when the file could be read; CannotOpen or BadHeader say why
    // not, as for an open.
    OpenStatus status = OpenStatus::NoName;
    bool joined = false;
    int loaded = 0;
    bool damaged = false;
    // The file's albums, unchanged, after the albums of the table.
    TableChange change;
};

// Reads the file's albums to be joined to the table and puts the file on the
// recent list. The current file and the ID counters stay as they are. A file
// that cannot be read or has the wrong magic gives nothing to join.
JoinResult dolaczbaze(const AlbumTable& table, TUstawienia& settings, const std::string& name,
                      Progress* progress = nullptr);

// Writes the catalogue to name, keeping the previous file as name + ".bak"
// (a name that is a link writes the file it leads to, its backup beside it).
// On success the file becomes current and enters the recent list, and the
// temporary files of earlier interrupted saves in its folder are removed.
// On failure the previous file and its backup are untouched, plikbazy and
// the recent list do not change, and the reason is returned.
WriteError zapiszbaze(const AlbumTable& table, TUstawienia& settings, const std::string& name,
                      Progress* progress = nullptr);

} // namespace alborx
