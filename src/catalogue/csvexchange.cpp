#include "csvexchange.h"

#include "copykinds.h"
#include "cp1250.h"
#include "textfunctions.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

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

// The copy-kind code a medium cell of a file stands for (Windows-1250 text).
int kindOfCell(std::string_view cell)
{
    // The letter, the editor's item and the template word of each code, as
    // foldedName gives them.
    static const std::array<std::array<std::string, 3>, 4> names = [] {
        std::array<std::array<std::string, 3>, 4> folded;
        for (int code = 1; code <= 4; ++code)
            folded[static_cast<std::size_t>(code - 1)] = {foldedName(copyKindLetter(code)),
                                                          foldedName(copyKindItem(code)),
                                                          foldedName(copyKindWord(code))};
        return folded;
    }();
    const std::string key = foldedName(cell);
    if (key.empty() || key == "-")
        return 0;
    for (std::size_t code = 0; code < names.size(); ++code) {
        if (std::find(names[code].begin(), names[code].end(), key) != names[code].end())
            return static_cast<int>(code) + 1;
    }
    return 1;
}

// Separators in each of the first records of the text; cut: the text is
// the beginning of a file, whose last record may go on beyond it.
std::vector<int> separatorCounts(std::string_view text, char separator, bool cut)
{
    std::vector<int> counts;
    CsvReader reader(text, separator, cut);
    CsvRecord record;
    while (counts.size() < kCsvSampleRecords && reader.next(record)) {
        if (cut && reader.position() == text.size())
            break;
        if (!record.broken)
            counts.push_back(static_cast<int>(record.fields.size()) - 1);
    }
    return counts;
}

const std::array<std::vector<std::string_view>, kImportFieldCount>& headerNames()
{
    // Names as foldedName() gives them, in Windows-1250.
    static const std::array<std::vector<std::string_view>, kImportFieldCount> names = {{
        {"ID", "ID ALBUMU", "ALBUM ID", "NR", "NUMER"},
        {"WYKONAWCA", "ARTIST", "ARTYSTA", "PERFORMER", "ZESP\xD3\xA3", "ZESPOL", "BAND"},
        {"ALBUM", "TITLE", "TYTU\xA3", "TYTUL", "ALBUM TITLE", "NAZWA"},
        {"GATUNEK", "GENRE", "STYL", "STYLE"},
        {"CD", "PLYTA", "P\xA3YTA"},
        {"MC", "KASETA", "CASSETTE", "TAPE"},
        {"ID CD", "CD ID", "NR CD"},
        {"ID MC", "MC ID", "NR MC", "ID KASETY", "CASSETTE ID", "TAPE ID"},
        {"NO\x8cNIK", "NOSNIK", "MEDIUM", "FORMAT", "MEDIA"},
        {"ROK", "YEAR", "RELEASED", "ROK WYDANIA"},
        {"WYTW\xD3RNIA", "WYTWORNIA", "LABEL", "WYDAWCA", "RECORD LABEL"},
        {"NUMER KATALOGOWY", "NR KATALOGOWY", "CATALOG#", "CATALOG NUMBER", "CATALOGUE NUMBER",
         "CAT#", "CATNO"},
        {"KRAJ", "COUNTRY"},
        {"KOD KRESKOWY", "BARCODE", "EAN", "UPC"},
        {"UWAGI", "NOTES", "COMMENTS", "COLLECTION NOTES", "KOMENTARZ"},
    }};
    return names;
}

// The values of a field of Tellico's export, "; " between them; at least
// one, maybe empty.
std::vector<std::string> values(const std::string& field)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = std::min(field.find(';', start), field.size());
        std::string part = field.substr(start, end - start);
        part.erase(0, std::min(part.find_first_not_of(' '), part.size()));
        parts.push_back(obetnijspacje(part));
        if (end == field.size())
            return parts;
        start = end + 1;
    }
}

std::string joinedValues(const std::string& field, std::string_view between)
{
    std::string joined;
    for (const std::string& part : values(field)) {
        if (part.empty())
            continue;
        if (!joined.empty())
            joined += between;
        joined += part;
    }
    return joined;
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

void writeCsv(const AlbumTable& table, const std::function<void(std::string_view)>& write,
              Progress* progress, const AlbumCards* cards)
{
    std::string line(kByteOrderMark);
    // A catalogue without cards is written as it always was.
    const bool withCards = cards != nullptr && cards->anyCard(table);
    const auto writeRow = [&](const RowView& row, const AlbumCard* card) {
        for (int c = 0; c < kColumnCount; ++c) {
            if (c > 0)
                line += ';';
            line += csvField(cp1250ToUtf8(row[static_cast<std::size_t>(c)]), ';');
        }
        if (withCards) {
            const AlbumCard none;
            const AlbumCard& texts = card != nullptr ? *card : none;
            for (const std::string* text : {&texts.rok, &texts.wytwornia, &texts.numerKatalogowy,
                                            &texts.kraj, &texts.kodKreskowy, &texts.uwagi})
                line += ';' + csvField(*text, ';');
        }
        line += "\r\n";
        // Written in pieces of some size: one call per line would cost more
        // than making the line.
        if (line.size() >= 1 << 16) {
            write(line);
            line.clear();
        }
    };
    const AlbumCard header{"Rok", "Wytwórnia", "Numer katalogowy", "Kraj", "Kod kreskowy", "Uwagi",
                           {},    {}};
    writeRow(viewOf(headerRow()), &header);
    const int albums = std::min<int>(table.liczbaalbumow(), table.rowCount() - 1);
    if (progress)
        progress->setMaximum(albums);
    for (int r = 1; r <= albums; ++r) {
        std::optional<AlbumCard> card;
        if (withCards)
            card = cards->texts(cards->card(table.rowKey(r)));
        writeRow(table.row(r), card ? &*card : nullptr);
        advanceProgress(progress, r, kAlbumLoopStep);
    }
    write(line);
}

WriteError exportCsv(const std::string& path, const AlbumTable& table, Progress* progress,
                     const AlbumCards* cards)
{
    SafeFileWriter file(path);
    writeCsv(
        table, [&](std::string_view piece) { file.write(piece.data(), piece.size()); }, progress,
        cards);
    file.commit();
    return file.error();
}

char detectSeparator(std::string_view text, bool cut)
{
    char best = ';';
    int bestScore = 0;
    for (char candidate : {';', ',', '\t'}) {
        const std::vector<int> counts = separatorCounts(text, candidate, cut);
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
            // Most text is ASCII, the same in both: copied a run at a time.
            std::size_t run = i;
            while (run < field.size() && static_cast<unsigned char>(field[run]) < 0x80)
                ++run;
            if (run > i) {
                text.append(field, i, run - i);
                i = run;
                continue;
            }
            const auto character = nextUtf8(field, i);
            if (!character)
                ++i; // a byte that is no UTF-8 stands for one unknown character
            // A letter the code page lacks as its nearest one ("ø" as "o"),
            // as every other way into the catalogue writes it.
            text += character ? nearestCp1250(*character) : '?';
            if (!character || !unicodeToCp1250(*character))
                ++replaced;
        }
    }
    // A cell is one line of printable text: line ends, tabs, NUL bytes and
    // every other control character become spaces.
    std::replace_if(
        text.begin(), text.end(),
        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '\x7F'; }, ' ');
    return text;
}

int columnOfHeader(std::string_view header)
{
    const std::string key = foldedName(header);
    const auto& names = headerNames();
    for (int column = 0; column < kImportFieldCount; ++column) {
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
    options.tellico = false;
    int replaced = 0;
    bool created = false;
    bool modified = false;
    for (std::size_t i = 0; i < first.fields.size(); ++i) {
        const std::string name = toCatalogueText(first.fields[i], options.encoding, replaced);
        created = created || foldedName(name) == "DATE CREATED";
        modified = modified || foldedName(name) == "DATE MODIFIED";
        const int column = columnOfHeader(name);
        if (column >= 0 && options.columns[static_cast<std::size_t>(column)] < 0) {
            options.columns[static_cast<std::size_t>(column)] = static_cast<int>(i);
            options.header = true;
        }
    }
    options.tellico = options.header && created && modified;
    // No header: the columns stand in the export's order. A first record
    // spoilt by an unclosed quote cannot be read, so the lines below it are
    // taken in that order too.
    if (!options.header) {
        for (std::size_t c = 0; c < kColumnCount; ++c) {
            if (first.broken || c < first.fields.size())
                options.columns[c] = static_cast<int>(c);
        }
    }
}

std::string_view csvSample(std::string_view bytes)
{
    if (bytes.size() <= kCsvSampleBytes)
        return bytes;
    // The cut falls before a character begun and not ended, so that a UTF-8
    // text stays UTF-8.
    std::size_t end = kCsvSampleBytes;
    for (std::size_t back = 0; back < 3 && end > 0; ++back) {
        const auto byte = static_cast<unsigned char>(bytes[end - 1]);
        if (byte < 0x80)
            break;
        --end;
        if (byte >= 0xC0)
            break;
    }
    return bytes.substr(0, end);
}

CsvImportOptions detectImportOptions(std::string_view bytes)
{
    const std::string_view sample = csvSample(bytes);
    const bool cut = sample.size() < bytes.size();
    CsvImportOptions options;
    options.encoding = detectEncoding(sample);
    const std::string_view text = withoutByteOrderMark(sample);
    options.separator = detectSeparator(text, cut);
    const std::vector<CsvRecord> first = parseCsv(text, options.separator, 1, cut);
    if (first.empty())
        options.header = false;
    else
        matchColumns(first.front(), options);
    return options;
}

ImportResult importCsv(const AlbumTable& table, const TUstawienia& settings, std::string_view bytes,
                       const CsvImportOptions& options, Progress* progress)
{
    const std::string_view text = withoutByteOrderMark(bytes);
    CsvReader reader(text, options.separator);
    AlbumIntake intake(table, settings);
    // A line per album, but never more room than a short album line (16
    // bytes) could need, whatever a file of empty lines claims.
    const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    intake.expect(std::min(lines + 1, text.size() / 16));
    // The progress counts thousandths of the text.
    constexpr int kProgressSteps = 1000;
    if (progress)
        progress->setMaximum(kProgressSteps);
    int shown = 0;

    CsvRecord record;
    bool first = true;
    while (reader.next(record)) {
        if (progress) {
            const auto done = static_cast<int>(reader.position() * kProgressSteps /
                                               std::max<std::size_t>(text.size(), 1));
            if (done > shown) {
                shown = done;
                progress->setPosition(done);
                if (progress->cancelled()) {
                    ImportResult cancelled;
                    cancelled.cancelled = true;
                    return cancelled;
                }
            }
        }
        if (std::exchange(first, false) && options.header)
            continue;
        if (record.broken) {
            intake.skip(record.line, SkipReason::UnclosedQuote);
            continue;
        }
        const auto field = [&](int column) {
            const int at = options.columns[static_cast<std::size_t>(column)];
            if (at < 0 || static_cast<std::size_t>(at) >= record.fields.size())
                return std::string();
            return toCatalogueText(record.fields[static_cast<std::size_t>(at)], options.encoding,
                                   intake.replaced());
        };
        IncomingAlbum album;
        album.id = field(ColumnId);
        album.performer = field(ColumnPerformer);
        album.title = field(ColumnTitle);
        album.genre = field(ColumnGenre);
        album.cdKind = kindOfCell(field(ColumnCdKind));
        album.mcKind = kindOfCell(field(ColumnMcKind));
        album.cdId = field(ColumnCdId);
        album.mcId = field(ColumnMcId);
        album.medium = field(kFieldMedium);
        // The card keeps its texts in Unicode.
        const auto cardText = [&](int column) {
            const int at = options.columns[static_cast<std::size_t>(column)];
            if (at < 0 || static_cast<std::size_t>(at) >= record.fields.size())
                return std::string();
            const std::string& text = record.fields[static_cast<std::size_t>(at)];
            return cutUtf8(options.encoding == CsvEncoding::Utf8 ? text : cp1250ToUtf8(text));
        };
        AlbumCard card{cardText(kFieldYear),
                       cardText(kFieldLabel),
                       cardText(kFieldCatalogueNumber),
                       cardText(kFieldCountry),
                       cardText(kFieldBarcode),
                       cardText(kFieldNotes),
                       {},
                       {}};
        if (!card.empty())
            album.card = cardInMemory(std::move(card), {});
        if (options.tellico) {
            album.performer = joinedValues(album.performer, ", ");
            album.genre = values(album.genre).front();
            album.idOnlyIfFree = true;
        }
        if (!intake.add(record.line, std::move(album)))
            break;
    }
    return std::move(intake).finish();
}

} // namespace alborx
