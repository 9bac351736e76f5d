// Exchanging the catalogue with spreadsheets and other programs as CSV text:
// the export writes the album table as the list shows it; the import reads
// a file of any of the usual dialects into new albums.
#pragma once

#include "albumcards.h"
#include "albumimport.h"
#include "albumtable.h"
#include "csvreader.h"
#include "progress.h"
#include "safefile.h"
#include "settings.h"
#include "tablechange.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace alborx {

// Export: the header "ID;Wykonawca;Album;Gatunek;CD;MC;ID CD;ID MC", then
// one line per album in the table's column order, semicolons between the
// fields, CR LF after each line, UTF-8 behind a byte-order mark. A field
// holding the separator, a quote or a line break is quoted, its quotes
// doubled.
// When albums have cards, the card's texts follow in columns of their
// own: "Rok;Wytwórnia;Numer katalogowy;Kraj;Kod kreskowy;Uwagi".
std::string csvField(std::string_view utf8, char separator);
WriteError exportCsv(const std::string& path, const AlbumTable& table, Progress* progress = nullptr,
                     const AlbumCards* cards = nullptr);
// The same text, handed to write in pieces.
void writeCsv(const AlbumTable& table, const std::function<void(std::string_view)>& write,
              Progress* progress = nullptr, const AlbumCards* cards = nullptr);

// The separator the first lines use most steadily: semicolon, comma or tab
// (in that order when they tie); a semicolon when none is used. cut: the
// text is the beginning of a file, and its last record is not counted.
char detectSeparator(std::string_view text, bool cut = false);

enum class CsvEncoding
{
    Utf8,
    Windows1250
};

// UTF-8 when the text starts with its byte-order mark or is valid UTF-8,
// otherwise Windows-1250.
CsvEncoding detectEncoding(std::string_view bytes);
// The text without a UTF-8 byte-order mark.
std::string_view withoutByteOrderMark(std::string_view bytes);

// A field as catalogue text (Windows-1250). Characters the code page cannot
// hold become their nearest (nearestCp1250: "ø" as "o", else "?"), bytes
// that are not UTF-8 when reading UTF-8 "?", each counted in replaced;
// control characters (line ends, tabs, NUL) become spaces.
std::string toCatalogueText(std::string_view field, CsvEncoding encoding, int& replaced);

// The fields an import fills: the album table columns 0..7, then the medium
// ("Nośnik"), which names the medium an album is on, then the card's texts.
constexpr int kFieldMedium = kColumnCount;
constexpr int kFieldYear = kColumnCount + 1;
constexpr int kFieldLabel = kColumnCount + 2;
constexpr int kFieldCatalogueNumber = kColumnCount + 3;
constexpr int kFieldCountry = kColumnCount + 4;
constexpr int kFieldBarcode = kColumnCount + 5;
constexpr int kFieldNotes = kColumnCount + 6;
constexpr int kImportFieldCount = kColumnCount + 7;

// The import field a header names ("Wykonawca" or "Artist", "Album" or
// "Title", "Nośnik" or "Format", ...), or -1. Header text is Windows-1250.
int columnOfHeader(std::string_view header);

struct CsvImportOptions
{
    char separator = ';';
    bool header = true;
    CsvEncoding encoding = CsvEncoding::Utf8;
    // For each import field, the file column it is read from, or -1 when
    // none is.
    std::array<int, kImportFieldCount> columns = noColumns();
    static constexpr std::array<int, kImportFieldCount> noColumns()
    {
        std::array<int, kImportFieldCount> none{};
        none.fill(-1);
        return none;
    }
    // The file is Tellico's own CSV export, read as its collection file is
    // read: several values in a field stand with "; " between them, the
    // artists are joined with ", ", the first genre is taken, and an ID is
    // kept only where no album has it yet.
    bool tellico = false;
};

// Sets options.header, options.columns and options.tellico for a file whose
// first record is first: a header when one of its fields names a column, the
// columns then matched by their names (Tellico's export known by its "Date
// Created" and "Date Modified"); otherwise taken in the export's order, as
// they are also when the first record is spoilt by an unclosed quote.
void matchColumns(const CsvRecord& first, CsvImportOptions& options);

// The detection and the preview read only the beginning of a file: at most
// this many bytes, cut before a UTF-8 character the cut would split, and
// at most kCsvSampleRecords records of it.
constexpr std::size_t kCsvSampleBytes = 64 * 1024;
constexpr std::size_t kCsvSampleRecords = 20;
std::string_view csvSample(std::string_view bytes);

// The options for a file: its encoding and separator detected, then the
// columns matched on its first record, all on the file's sample.
CsvImportOptions detectImportOptions(std::string_view bytes);

// The albums of a CSV text to append to the table, as a join appends. A
// medium column holding "O", "P", "K", "M" or the copy-kind texts marks that
// medium with that kind, another text marks it as an original, "-" or
// nothing marks it not owned. Where the "Nośnik" field names a medium, the
// album is on that medium alone, as an original unless that medium's column
// gives its kind; a medium other than a CD or a cassette skips the line. The
// rest is as every import takes albums in (AlbumIntake). The progress, when
// given, follows the text read and may cancel the import.
ImportResult importCsv(const AlbumTable& table, const TUstawienia& settings, std::string_view bytes,
                       const CsvImportOptions& options, Progress* progress = nullptr);

} // namespace alborx
