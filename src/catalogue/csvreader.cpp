#include "csvreader.h"

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

CsvReader::CsvReader(std::string_view text, char separator)
    : text_(text), separator_(separator), unclosed_(lastOddQuoteRun(text))
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

bool CsvReader::next(CsvRecord& record)
{
    for (;;) {
        if (pos_ >= text_.size())
            return false;
        record.line = line_;
        record.broken = false;
        record.fields.assign(1, std::string());
        bool quoted = false;
        bool fieldStarted = false;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (quoted) {
                if (c == '"') {
                    if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
                        record.fields.back() += '"';
                        pos_ += 2;
                    } else {
                        quoted = false;
                        ++pos_;
                    }
                    continue;
                }
                if (atLineEnd()) {
                    const std::size_t before = pos_;
                    skipLineEnd();
                    record.fields.back().append(text_.substr(before, pos_ - before));
                    continue;
                }
                record.fields.back() += c;
                ++pos_;
                continue;
            }
            if (c == '"' && !fieldStarted) {
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
                quoted = true;
                fieldStarted = true;
                ++pos_;
                continue;
            }
            if (c == separator_) {
                record.fields.emplace_back();
                fieldStarted = false;
                ++pos_;
                continue;
            }
            if (atLineEnd()) {
                skipLineEnd();
                break;
            }
            record.fields.back() += c;
            fieldStarted = true;
            ++pos_;
        }
        const bool blank = record.fields.size() == 1 && record.fields.front().empty();
        if (!blank)
            return true;
    }
}

std::vector<CsvRecord> parseCsv(std::string_view text, char separator, std::size_t mostRecords)
{
    std::vector<CsvRecord> records;
    CsvReader reader(text, separator);
    CsvRecord record;
    while (records.size() < mostRecords && reader.next(record))
        records.push_back(std::move(record));
    return records;
}

} // namespace alborx
