#include "csvreader.h"

#include <algorithm>

namespace alborx {

namespace {

// Inside a quoted field a run of quotes stands for half as many quotes, and
// a run of odd length closes the field with its last quote. A field opened by
// the first quote of a run of odd length therefore goes on past that run and
// closes at the next run of odd length; only when there is none does it stay
// open to the end. So the one quote that can be left open is the first of
// the last run of odd length.
std::size_t lastOddQuoteRun(std::string_view text)
{
    std::size_t end = text.size();
    while (end > 0) {
        const std::size_t last = text.find_last_of('"', end - 1);
        if (last == std::string_view::npos)
            return std::string_view::npos;
        std::size_t first = last;
        while (first > 0 && text[first - 1] == '"')
            --first;
        if ((last - first + 1) % 2 == 1)
            return first;
        end = first;
    }
    return std::string_view::npos;
}

} // namespace

CsvReader::CsvReader(std::string_view text, char separator, bool cut)
    : text_(text), separator_(separator),
      unclosed_(cut ? std::string_view::npos : lastOddQuoteRun(text))
{}

bool CsvReader::atLineEnd() const
{
    return text_[pos_] == '\n' || text_[pos_] == '\r';
}

void CsvReader::skipLineEnd()
{
    pos_ += (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ? 2 : 1;
    ++line_;
}

void CsvReader::keep(CsvRecord& record, std::string_view bytes) const
{
    if (pastMostFields_)
        return;
    std::string& field = record.fields.back();
    if (field.size() < kMostCsvFieldBytes)
        field.append(bytes.substr(0, kMostCsvFieldBytes - field.size()));
}

void CsvReader::countLines(std::string_view piece)
{
    // CR LF is one line end, a CR or an LF alone each another.
    line_ += static_cast<int>(std::count(piece.begin(), piece.end(), '\n'));
    for (std::size_t cr = piece.find('\r'); cr != std::string_view::npos;
         cr = piece.find('\r', cr + 1)) {
        if (cr + 1 >= piece.size() || piece[cr + 1] != '\n')
            ++line_;
    }
}

bool CsvReader::next(CsvRecord& record)
{
    for (;;) {
        if (pos_ >= text_.size())
            return false;
        record.line = line_;
        record.broken = false;
        record.fields.assign(1, std::string());
        pastMostFields_ = false;
        // One field a turn: its quoted part, if it opens with a quote, then
        // the plain bytes up to a separator or the end of the line.
        while (pos_ < text_.size()) {
            if (text_[pos_] == '"') {
                if (pos_ == unclosed_) {
                    // The record cannot be read; the lines below the quote's
                    // own line are read again as records.
                    record.broken = true;
                    record.fields.clear();
                    while (pos_ < text_.size() && !atLineEnd())
                        ++pos_;
                    if (pos_ < text_.size())
                        skipLineEnd();
                    return true;
                }
                ++pos_;
                for (;;) {
                    const std::size_t quote = std::min(text_.find('"', pos_), text_.size());
                    const std::string_view piece = text_.substr(pos_, quote - pos_);
                    countLines(piece);
                    keep(record, piece);
                    pos_ = quote;
                    if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
                        keep(record, "\"");
                        pos_ += 2;
                        continue;
                    }
                    pos_ = std::min(pos_ + 1, text_.size());
                    break;
                }
            }
            std::size_t stop = pos_;
            while (stop < text_.size() && text_[stop] != separator_ && text_[stop] != '\n' &&
                   text_[stop] != '\r')
                ++stop;
            keep(record, text_.substr(pos_, stop - pos_));
            pos_ = stop;
            if (pos_ >= text_.size())
                break;
            if (text_[pos_] != separator_) {
                skipLineEnd();
                break;
            }
            ++pos_;
            // Fields past the most kept are read past, not kept.
            if (record.fields.size() < kMostCsvFields)
                record.fields.emplace_back();
            else
                pastMostFields_ = true;
        }
        const bool blank = record.fields.size() == 1 && record.fields.front().empty();
        if (!blank)
            return true;
    }
}

std::vector<CsvRecord> parseCsv(std::string_view text, char separator, std::size_t mostRecords,
                                bool cut)
{
    std::vector<CsvRecord> records;
    CsvReader reader(text, separator, cut);
    CsvRecord record;
    while (records.size() < mostRecords && reader.next(record))
        records.push_back(std::move(record));
    return records;
}

} // namespace alborx
