// Reading CSV text record by record, by the rules of RFC 4180: quoted fields
// may hold separators, doubled quotes and line breaks; CR LF, LF and CR end a
// record. One pass over the text, whatever its quotes: the separator
// detection, the import dialog's preview and the import all read through it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace alborx {

// No album field holds more than a few dozen characters, so a record keeps
// at most this many bytes of a field and this many fields; the rest is read
// past. A hostile line thus costs no more memory than a sensible one.
constexpr std::size_t kMostCsvFieldBytes = 4096;
constexpr std::size_t kMostCsvFields = 256;

// One record of a CSV text: its fields (bytes as in the file) and the line
// it starts on, counted from 1.
struct CsvRecord
{
    int line = 0;
    std::vector<std::string> fields;
    // A quote was opened and never closed: the record cannot be read. The
    // lines after the one the quote opens on are read as records of their own.
    bool broken = false;
};

class CsvReader
{
public:
    // cut: the text is the beginning of a longer one, so a quote it leaves
    // open closes beyond it; the field it opens runs to the end of the text.
    CsvReader(std::string_view text, char separator, bool cut = false);

    // The next record; false at the end of the text. Blank lines give no
    // record.
    bool next(CsvRecord& record);
    // How far the reading has come, in bytes.
    std::size_t position() const { return pos_; }

private:
    bool atLineEnd() const;
    void skipLineEnd();
    // Adds bytes to the record's last field, as far as a field may hold them.
    void keep(CsvRecord& record, std::string_view bytes) const;
    // Counts the line ends of a piece of a quoted field.
    void countLines(std::string_view piece);

    std::string_view text_;
    char separator_;
    std::size_t pos_ = 0;
    int line_ = 1;
    // The one opening quote of the text that no quote closes, or npos. Known
    // from the start, so that no record has to look ahead to the end.
    std::size_t unclosed_;
    // The record has more fields than it keeps.
    bool pastMostFields_ = false;
};

// The records of a text, at most mostRecords of them.
std::vector<CsvRecord> parseCsv(std::string_view text, char separator,
                                std::size_t mostRecords = static_cast<std::size_t>(-1),
                                bool cut = false);

} // namespace alborx
