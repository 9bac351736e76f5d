#include "csvexchange.h"

#include "cataloguefile.h"
#include "copykinds.h"
#include "cp1250.h"
#include "freeid.h"
#include "textfunctions.h"

#include <algorithm>
#include <functional>
#include <optional>

namespace alborx {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        if (!nextUtf8(text, i))
            return false;
    }
    return true;
}

std::string trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

// Upper case for comparing names: a-z and the Polish letters.
std::string folded(std::string_view text)
{
    static constexpr std::pair<unsigned char, unsigned char> kPolish[] = {
        {0xB9, 0xA5}, {0xE6, 0xC6}, {0xEA, 0xCA}, {0xB3, 0xA3}, {0xF1, 0xD1},
        {0xF3, 0xD3}, {0x9C, 0x8C}, {0x9F, 0x8F}, {0xBF, 0xAF}};
    std::string result = duzelitery(trimmed(text));
    for (char& c : result) {
        for (const auto& [lower, upper] : kPolish) {
            if (static_cast<unsigned char>(c) == lower)
                c = static_cast<char>(upper);
        }
    }
    return result;
}

// The copy-kind code a medium cell of a file stands for (Windows-1250 text).
int kindOfCell(std::string_view cell)
{
    const std::string key = folded(cell);
    if (key.empty() || key == "-")
        return 0;
    for (int code = 1; code <= 4; ++code) {
        if (key == folded(copyKindLetter(code)) || key == folded(copyKindItem(code)) ||
            key == folded(copyKindWord(code)))
            return code;
    }
    return 1;
}

std::string cut(std::string text, int column)
{
    const auto limit = static_cast<std::size_t>(columnLimit(column));
    if (limit > 0 && text.size() > limit)
        text.resize(limit);
    return text;
}

// Splits one record starting at pos; returns false when a quote stays open
// to the end of the text.
bool readRecord(std::string_view text, std::size_t& pos, char separator, int& line,
                std::vector<std::string>& fields)
{
    fields.assign(1, std::string());
    bool quoted = false;
    bool fieldStarted = false;
    while (pos < text.size()) {
        const char c = text[pos];
        if (quoted) {
            if (c == '"') {
                if (pos + 1 < text.size() && text[pos + 1] == '"') {
                    fields.back() += '"';
                    pos += 2;
                    continue;
                }
                quoted = false;
                ++pos;
                continue;
            }
            if (c == '\n' || (c == '\r' && !(pos + 1 < text.size() && text[pos + 1] == '\n')))
                ++line;
            fields.back() += c;
            ++pos;
            continue;
        }
        if (c == '"' && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
            ++pos;
            continue;
        }
        if (c == separator) {
            fields.emplace_back();
            fieldStarted = false;
            ++pos;
            continue;
        }
        if (c == '\r' || c == '\n') {
            pos += (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
            ++line;
            return true;
        }
        fields.back() += c;
        fieldStarted = true;
        ++pos;
    }
    return !quoted;
}

// Separators of each of the first lines, counted outside quotes.
std::vector<int> separatorCounts(std::string_view text, char separator)
{
    std::vector<int> counts;
    int count = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size() && counts.size() < 20; ++i) {
        const char c = text[i];
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == separator)
            ++count;
        else if (!quoted && c == '\n') {
            counts.push_back(count);
            count = 0;
        }
    }
    if (count > 0 && counts.size() < 20)
        counts.push_back(count);
    return counts;
}

const std::array<std::vector<std::string_view>, kColumnCount>& headerNames()
{
    // Names as folded() gives them, in Windows-1250.
    static const std::array<std::vector<std::string_view>, kColumnCount> names = {{
        {"ID", "ID ALBUMU", "ALBUM ID", "NR", "NUMER"},
        {"WYKONAWCA", "ARTIST", "ARTYSTA", "PERFORMER", "ZESP\xD3\xA3", "ZESPOL", "BAND"},
        {"ALBUM", "TITLE", "TYTU\xA3", "TYTUL", "ALBUM TITLE", "NAZWA"},
        {"GATUNEK", "GENRE", "STYL", "STYLE"},
        {"CD", "PLYTA", "P\xA3YTA"},
        {"MC", "KASETA", "CASSETTE", "TAPE"},
        {"ID CD", "CD ID", "NR CD"},
        {"ID MC", "MC ID", "NR MC", "ID KASETY", "CASSETTE ID", "TAPE ID"},
    }};
    return names;
}

} // namespace

std::string csvField(std::string_view utf8, char separator)
{
    if (utf8.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string_view::npos)
        return std::string(utf8);
    std::string quoted = "\"";
    for (char c : utf8) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

void writeCsv(const AlbumTable& table, const std::function<void(std::string_view)>& write)
{
    std::string line(kByteOrderMark);
    const auto writeRow = [&](const Row& row) {
        for (int c = 0; c < kColumnCount; ++c) {
            if (c > 0)
                line += ';';
            line += csvField(cp1250ToUtf8(row[static_cast<std::size_t>(c)]), ';');
        }
        line += "\r\n";
        // Written in pieces of some size: one call per line would cost more
        // than making the line.
        if (line.size() >= 1 << 16) {
            write(line);
            line.clear();
        }
    };
    writeRow(headerRow());
    const int albums = std::min<int>(table.liczbaalbumow(), table.rowCount() - 1);
    for (int r = 1; r <= albums; ++r)
        writeRow(table.row(r));
    write(line);
}

WriteError exportCsv(const std::string& path, const AlbumTable& table)
{
    SafeFileWriter file(path);
    writeCsv(table, [&](std::string_view piece) { file.write(piece.data(), piece.size()); });
    file.commit();
    return file.error();
}

std::vector<CsvRecord> parseCsv(std::string_view text, char separator, std::size_t mostRecords)
{
    std::vector<CsvRecord> records;
    std::size_t pos = 0;
    int line = 1;
    std::vector<std::string> fields;
    while (pos < text.size() && records.size() < mostRecords) {
        const std::size_t start = pos;
        const int startLine = line;
        if (!readRecord(text, pos, separator, line, fields)) {
            records.push_back({startLine, {}, true});
            // The lines behind the open quote are read again on their own.
            pos = start;
            while (pos < text.size() && text[pos] != '\n' && text[pos] != '\r')
                ++pos;
            if (pos < text.size())
                pos +=
                    (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
            line = startLine + 1;
            continue;
        }
        const bool blank = fields.size() == 1 && fields.front().empty();
        if (!blank)
            records.push_back({startLine, std::move(fields), false});
    }
    return records;
}

char detectSeparator(std::string_view text)
{
    char best = ';';
    int bestScore = 0;
    for (char candidate : {';', ',', '\t'}) {
        const std::vector<int> counts = separatorCounts(text, candidate);
        if (counts.empty())
            continue;
        // The fewest separators on any line: a real separator is on every line.
        const int score = *std::min_element(counts.begin(), counts.end());
        if (score > bestScore) {
            best = candidate;
            bestScore = score;
        }
    }
    return best;
}

CsvEncoding detectEncoding(std::string_view bytes)
{
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark || isUtf8(bytes))
        return CsvEncoding::Utf8;
    return CsvEncoding::Windows1250;
}

std::string_view withoutByteOrderMark(std::string_view bytes)
{
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        bytes.remove_prefix(kByteOrderMark.size());
    return bytes;
}

std::string toCatalogueText(std::string_view field, CsvEncoding encoding, int& replaced)
{
    std::string text;
    text.reserve(field.size());
    if (encoding == CsvEncoding::Windows1250) {
        text.assign(field);
    } else {
        for (std::size_t i = 0; i < field.size();) {
            const auto character = nextUtf8(field, i);
            if (!character)
                ++i; // a byte that is no UTF-8 stands for one unknown character
            const auto byte = character ? unicodeToCp1250(*character) : std::nullopt;
            if (byte) {
                text += static_cast<char>(*byte);
            } else {
                text += '?';
                ++replaced;
            }
        }
    }
    // A cell is one line of text.
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t'; }, ' ');
    return text;
}

int columnOfHeader(std::string_view header)
{
    const std::string key = folded(header);
    const auto& names = headerNames();
    for (int column = 0; column < kColumnCount; ++column) {
        const auto& list = names[static_cast<std::size_t>(column)];
        if (std::find(list.begin(), list.end(), key) != list.end())
            return column;
    }
    return -1;
}

void matchColumns(const CsvRecord& first, CsvImportOptions& options)
{
    options.columns.fill(-1);
    options.header = false;
    if (first.broken)
        return;
    int replaced = 0;
    for (std::size_t i = 0; i < first.fields.size(); ++i) {
        const int column =
            columnOfHeader(toCatalogueText(first.fields[i], options.encoding, replaced));
        if (column >= 0 && options.columns[static_cast<std::size_t>(column)] < 0) {
            options.columns[static_cast<std::size_t>(column)] = static_cast<int>(i);
            options.header = true;
        }
    }
    if (!options.header) {
        for (std::size_t c = 0; c < options.columns.size() && c < first.fields.size(); ++c)
            options.columns[c] = static_cast<int>(c);
    }
}

CsvImportOptions detectImportOptions(std::string_view bytes)
{
    CsvImportOptions options;
    options.encoding = detectEncoding(bytes);
    const std::string_view text = withoutByteOrderMark(bytes);
    options.separator = detectSeparator(text);
    const std::vector<CsvRecord> first = parseCsv(text, options.separator, 1);
    if (first.empty())
        options.header = false;
    else
        matchColumns(first.front(), options);
    return options;
}

CsvImportResult importCsv(const AlbumTable& table, const TUstawienia& settings,
                          std::string_view bytes, const CsvImportOptions& options)
{
    const IdCounters countersBefore = countersOf(settings);
    IdCounters counters = countersBefore;
    CsvImportResult result;
    const std::vector<CsvRecord> records = parseCsv(withoutByteOrderMark(bytes), options.separator);
    std::array<FreeIdFinder, 3> finders = {FreeIdFinder(table, IdKindAlbum),
                                           FreeIdFinder(table, IdKindCd),
                                           FreeIdFinder(table, IdKindMc)};
    std::array<std::int32_t*, 3> counter = {&counters.nastid, &counters.nastidcd,
                                            &counters.nastidmc};
    const int before = std::max(0, table.liczbaalbumow());
    std::vector<Row> rows;
    rows.reserve(records.size());

    for (std::size_t i = options.header ? 1 : 0; i < records.size(); ++i) {
        const CsvRecord& record = records[i];
        if (record.broken) {
            result.skipped.push_back({record.line, SkipReason::UnclosedQuote});
            continue;
        }
        if (before + static_cast<int>(rows.size()) >= kMostAlbums) {
            result.skipped.push_back({record.line, SkipReason::TooManyAlbums});
            break;
        }
        const auto field = [&](int column) {
            const int at = options.columns[static_cast<std::size_t>(column)];
            if (at < 0 || static_cast<std::size_t>(at) >= record.fields.size())
                return std::string();
            return toCatalogueText(record.fields[static_cast<std::size_t>(at)], options.encoding,
                                   result.replaced);
        };
        Row row;
        row[ColumnPerformer] = cut(field(ColumnPerformer), ColumnPerformer);
        row[ColumnTitle] = cut(field(ColumnTitle), ColumnTitle);
        if (obetnijspacje(row[ColumnPerformer]).empty() &&
            obetnijspacje(row[ColumnTitle]).empty()) {
            result.skipped.push_back({record.line, SkipReason::NoPerformerOrTitle});
            continue;
        }
        row[ColumnGenre] = cut(field(ColumnGenre), ColumnGenre);
        int cd = kindOfCell(field(ColumnCdKind));
        const int mc = kindOfCell(field(ColumnMcKind));
        if (cd == 0 && mc == 0)
            cd = 1;

        // The IDs by the editor's rule: a number of at least 1 as given,
        // otherwise the next free one of its kind.
        const std::array<bool, 3> owned = {true, cd != 0, mc != 0};
        const std::array<int, 3> idColumns = {ColumnId, ColumnCdId, ColumnMcId};
        std::array<std::int32_t, 3> ids{};
        std::array<std::int32_t, 3> counterAfter = {counters.nastid, counters.nastidcd,
                                                    counters.nastidmc};
        bool found = true;
        for (std::size_t k = 0; k < 3 && found; ++k) {
            if (!owned[k])
                continue;
            const auto given = readId(field(idColumns[k]));
            if (given && *given >= 1) {
                ids[k] = *given;
            } else if (const auto free = finders[k].next(counterAfter[k])) {
                ids[k] = *free;
            } else {
                found = false;
            }
        }
        if (!found) {
            result.skipped.push_back({record.line, SkipReason::NoFreeId});
            continue;
        }
        for (std::size_t k = 0; k < 3; ++k) {
            if (!owned[k])
                continue;
            finders[k].take(ids[k]);
            *counter[k] = counterAfter[k];
        }
        row[ColumnId] = l2t(ids[0], 5);
        row[ColumnCdKind] = cd != 0 ? std::string(copyKindLetter(cd)) : "-";
        row[ColumnCdId] = cd != 0 ? l2t(ids[1], 5) : "-";
        row[ColumnMcKind] = mc != 0 ? std::string(copyKindLetter(mc)) : "-";
        row[ColumnMcId] = mc != 0 ? l2t(ids[2], 5) : "-";
        rows.push_back(std::move(row));
    }

    result.added = static_cast<int>(rows.size());
    if (!rows.empty())
        result.change = albumsAppended(table, std::move(rows), countersBefore, counters);
    return result;
}

} // namespace alborx
