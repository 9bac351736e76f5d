// Exchanging the catalogue with spreadsheets and other programs as CSV text:
// the export writes the album table as the list shows it; the import reads
// a file of any of the usual dialects into new albums.
#pragma once

#include "albumtable.h"
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
std::string csvField(std::string_view utf8, char separator);
WriteError exportCsv(const std::string& path, const AlbumTable& table);
// The same text, handed to write in pieces.
void writeCsv(const AlbumTable& table, const std::function<void(std::string_view)>& write);

// One record of a CSV text: its fields (bytes as in the file) and the line
// it starts on, counted from 1.
struct CsvRecord
{
    int line = 0;
    std::vector<std::string> fields;
    // A quote was opened and never closed: the record cannot be read. The
    // lines after its first one are read again as records of their own.
    bool broken = false;
};

// Splits a text into records by the rules of RFC 4180 (quoted fields may hold
// separators, quotes doubled and line breaks; CR LF, LF and CR end a
// record). Blank lines give no record. At most mostRecords are returned.
std::vector<CsvRecord> parseCsv(std::string_view text, char separator,
                                std::size_t mostRecords = static_cast<std::size_t>(-1));

// The separator the first lines use most steadily: semicolon, comma or tab
// (in that order when they tie); a semicolon when none is used.
char detectSeparator(std::string_view text);

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
// hold, and bytes that are not UTF-8 when reading UTF-8, become "?" and are
// counted in replaced.
std::string toCatalogueText(std::string_view field, CsvEncoding encoding, int& replaced);

// The album table column a header names ("Wykonawca" or "Artist",
// "Album" or "Title", ...), or -1. Header text is Windows-1250.
int columnOfHeader(std::string_view header);

struct CsvImportOptions
{
    char separator = ';';
    bool header = true;
    CsvEncoding encoding = CsvEncoding::Utf8;
    // For each album table column 0..7, the file column it is read from, or
    // -1 when none is.
    std::array<int, kColumnCount> columns{-1, -1, -1, -1, -1, -1, -1, -1};
};

// Sets options.header and options.columns for a file whose first record is
// first: a header when one of its fields names a column, the columns then
// matched by their names; otherwise taken in the export's order.
void matchColumns(const CsvRecord& first, CsvImportOptions& options);

// The options for a file: its encoding and separator detected, then the
// columns matched on its first record.
CsvImportOptions detectImportOptions(std::string_view bytes);

enum class SkipReason
{
    UnclosedQuote,
    NoPerformerOrTitle,
    NoFreeId,
    TooManyAlbums
};

struct SkippedLine
{
    int line = 0;
    SkipReason reason = SkipReason::UnclosedQuote;
};

struct CsvImportResult
{
    int added = 0;
    int replaced = 0; // characters Windows-1250 could not hold
    std::vector<SkippedLine> skipped;
    // The albums after the albums of the table, with the ID counters moved.
    TableChange change;
};

// The albums of a CSV text to append to the table, as a join appends. IDs are
// taken as given when they are numbers of at least 1, otherwise the next
// free ID of their kind; a medium column holding "O", "P", "K", "M" or the
// copy-kind texts marks that medium with that kind, another text marks it as
// an original, "-" or nothing marks it not owned; an album with no medium
// gets CD "O". Texts longer than their column's limit are cut to it.
CsvImportResult importCsv(const AlbumTable& table, const TUstawienia& settings,
                          std::string_view bytes, const CsvImportOptions& options);

} // namespace alborx
