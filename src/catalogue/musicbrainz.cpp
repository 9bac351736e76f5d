#include "musicbrainz.h"

#include "albumimport.h"
#include "cp1250.h"

#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>

namespace alborx::musicbrainz {

namespace {

using nlohmann::json;

bool blank(std::string_view text)
{
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Nearest plain letters of U+00C0..U+024F and U+1E00..U+1EFF, from their
// Unicode decompositions (a few, like "ø" and "ħ", by their look); "?"
// where there is none.
constexpr std::string_view kLatinFrom00C0 =
    "AAAAAAACEEEEIIII?NOOOOO?OUUUUY??aaaaaaaceeeeiiii?nooooo?ouuuuy?y"
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi??JjKkkLlLlLlL"
    "l??NnNnNn?NnOoOoOoOoRrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZz?"
    "bB?????Cc?D??????FfG???IKkl??Nn?Oo??Pp?????tTtTUu?VYyZz?????????"
    "?????????????AaIiOoUuUuUuUuUu?AaAa??GgGgKkOoOo??j???Gg??NnAa????"
    "AaAaEeEeIiIiOoOoRrRrUuUuSsTt??Hh????ZzAaEeOoOoOoOoYylntj??ACcL??"
    "???B??EeJj??RrYy";
constexpr std::string_view kLatinFrom1E00 =
    "AaBbBbBbCcDdDdDdDdDdEeEeEeEeEeFfGgHhHhHhHhHhIiIiKkKkKkLlLlLlLlMm"
    "MmMmNnNnNnNnOoOoOoOoPpPpRrRrRrRrSsSsSsSsSsTtTtTtTtUuUuUuUuUuVvVv"
    "WwWwWwWwWwXxXxYyZzZzZzhtwy??????AaAaAaAaAaAaAaAaAaAaAaAaEeEeEeEe"
    "EeEeEeEeIiIiOoOoOoOoOoOoOoOoOoOoOoOoUuUuUuUuUuUuUuYyYyYyYy??????";

char nearestLetter(char32_t character)
{
    if (character >= 0xC0 && character < 0xC0 + kLatinFrom00C0.size())
        return kLatinFrom00C0[character - 0xC0];
    if (character >= 0x1E00 && character < 0x1E00 + kLatinFrom1E00.size())
        return kLatinFrom1E00[character - 0x1E00];
    return '?';
}

// The depth of the deepest array or object, counted without parsing, so
// that a hostile answer is refused before a parser recurses into it.
bool nestsDeeperThan(std::string_view text, int most)
{
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > most)
                return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

// Reads the fields the program knows, noting the first of a wrong kind;
// an absent field or null reads as empty, fields it does not ask for are
// never looked at.
class FieldReader
{
public:
    AnswerError error = AnswerError::None;

    std::string text(const json& object, const char* key)
    {
        const json* value = field(object, key);
        if (value == nullptr)
            return {};
        if (value->is_string())
            return value->get<std::string>();
        error = AnswerError::WrongType;
        return {};
    }

    int number(const json& object, const char* key)
    {
        const json* value = field(object, key);
        if (value == nullptr)
            return 0;
        if (value->is_number_integer() && value->get<long long>() >= 0)
            return static_cast<int>(std::min<long long>(value->get<long long>(), 1'000'000));
        error = AnswerError::WrongType;
        return 0;
    }

    // The elements of an array field that are objects; anything else in it
    // is a wrong kind.
    std::vector<const json*> objects(const json& object, const char* key)
    {
        std::vector<const json*> items;
        const json* value = field(object, key);
        if (value == nullptr)
            return items;
        if (!value->is_array()) {
            error = AnswerError::WrongType;
            return items;
        }
        for (const json& item : *value) {
            if (item.is_object())
                items.push_back(&item);
            else
                error = AnswerError::WrongType;
        }
        return items;
    }

    const json* object(const json& parent, const char* key)
    {
        const json* value = field(parent, key);
        if (value == nullptr || value->is_object())
            return value;
        error = AnswerError::WrongType;
        return nullptr;
    }

private:
    static const json* field(const json& object, const char* key)
    {
        const auto at = object.find(key);
        if (at == object.end() || at->is_null())
            return nullptr;
        return &*at;
    }
};

std::string artistCredit(FieldReader& reader, const json& release)
{
    std::string credit;
    for (const json* name : reader.objects(release, "artist-credit")) {
        std::string shown = reader.text(*name, "name");
        if (shown.empty()) {
            if (const json* artist = reader.object(*name, "artist"))
                shown = reader.text(*artist, "name");
        }
        credit += shown + reader.text(*name, "joinphrase");
    }
    return credit;
}

std::vector<std::string> formatsOf(FieldReader& reader, const json& release)
{
    std::vector<std::string> formats;
    for (const json* medium : reader.objects(release, "media"))
        formats.push_back(reader.text(*medium, "format"));
    return formats;
}

ReleaseSummary summaryOf(FieldReader& reader, const json& release)
{
    ReleaseSummary summary;
    summary.id = reader.text(release, "id");
    summary.artist = artistCredit(reader, release);
    summary.title = reader.text(release, "title");
    summary.year = reader.text(release, "date").substr(0, 4);
    summary.country = reader.text(release, "country");
    summary.barcode = reader.text(release, "barcode");
    for (const json* info : reader.objects(release, "label-info")) {
        if (const json* label = reader.object(*info, "label")) {
            summary.label = reader.text(*label, "name");
            if (!summary.label.empty())
                break;
        }
    }
    summary.medium = mediumText(formatsOf(reader, release));
    summary.tracks = reader.number(release, "track-count");
    if (summary.tracks == 0) {
        for (const json* medium : reader.objects(release, "media"))
            summary.tracks += reader.number(*medium, "track-count");
    }
    return summary;
}

// The genre with the most votes; the first listed of those with as many.
std::string topGenre(FieldReader& reader, const json& entity)
{
    std::string best;
    int votes = -1;
    for (const json* genre : reader.objects(entity, "genres")) {
        const int count = reader.number(*genre, "count");
        std::string name = reader.text(*genre, "name");
        if (!name.empty() && count > votes) {
            best = std::move(name);
            votes = count;
        }
    }
    return best;
}

// The answer parsed, or the reason it cannot be read.
AnswerError parsed(std::string_view text, json& answer)
{
    if (nestsDeeperThan(text, kMostAnswerDepth))
        return AnswerError::TooDeep;
    answer = json::parse(text, nullptr, false);
    if (answer.is_discarded() || !answer.is_object())
        return AnswerError::Malformed;
    return AnswerError::None;
}

bool isUnreserved(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

} // namespace

std::string phrase(std::string_view utf8)
{
    std::string quoted = "\"";
    for (const char c : trimmed(utf8)) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

std::string releaseQuery(std::string_view performer, std::string_view title)
{
    std::string query;
    if (!blank(performer))
        query = "artist:" + phrase(performer);
    if (!blank(title))
        query += (query.empty() ? "" : " AND ") + std::string("release:") + phrase(title);
    return query;
}

std::optional<std::string> barcodeDigits(std::string_view typed)
{
    std::string digits;
    for (const char c : typed) {
        if (c >= '0' && c <= '9')
            digits += c;
        else if (c != ' ' && c != '-' && c != '\t')
            return std::nullopt;
    }
    if (digits.empty())
        return std::nullopt;
    return digits;
}

std::string barcodeQuery(std::string_view digits)
{
    return "barcode:" + std::string(digits);
}

std::string percentEncoded(std::string_view utf8)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (isUnreserved(byte)) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 15];
        }
    }
    return encoded;
}

std::string searchPath(std::string_view query)
{
    return "/ws/2/release?query=" + percentEncoded(query) +
           "&limit=" + std::to_string(kSearchLimit) + "&fmt=json";
}

std::string discIdPath(std::string_view discId, std::string_view toc)
{
    std::string tocValue;
    for (const char c : toc)
        tocValue += c == ' ' ? std::string("+") : percentEncoded(std::string_view(&c, 1));
    return "/ws/2/discid/" + percentEncoded(discId) + "?toc=" + tocValue +
           "&cdstubs=no&inc=artist-credits+labels&fmt=json";
}

std::string releasePath(std::string_view releaseId)
{
    return "/ws/2/release/" + percentEncoded(releaseId) +
           "?inc=artist-credits+labels+release-groups+genres&fmt=json";
}

ReleaseList readReleaseList(std::string_view text)
{
    ReleaseList list;
    json answer;
    list.error = parsed(text, answer);
    if (list.error != AnswerError::None)
        return list;
    const auto releases = answer.find("releases");
    if (releases == answer.end())
        return {AnswerError::Malformed, {}};
    FieldReader reader;
    for (const json* release : reader.objects(answer, "releases"))
        list.releases.push_back(summaryOf(reader, *release));
    if (reader.error != AnswerError::None)
        return {reader.error, {}};
    return list;
}

ReleaseAnswer readRelease(std::string_view text)
{
    ReleaseAnswer result;
    json answer;
    result.error = parsed(text, answer);
    if (result.error != AnswerError::None)
        return result;
    FieldReader reader;
    ReleaseDetails& release = result.release;
    release.artist = artistCredit(reader, answer);
    release.title = reader.text(answer, "title");
    release.formats = formatsOf(reader, answer);
    release.genre = topGenre(reader, answer);
    if (release.genre.empty()) {
        if (const json* group = reader.object(answer, "release-group"))
            release.genre = topGenre(reader, *group);
    }
    if (reader.error != AnswerError::None)
        return {reader.error, {}};
    return result;
}

FormatKind kindOfFormat(std::string_view format)
{
    std::string lower(format);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    if (lower.find("cassette") != std::string::npos)
        return FormatKind::Cassette;
    // Video CDs and CD-ROMs hold no album; every audio CD kind names "CD".
    static constexpr std::array<std::string_view, 4> kNotAudio{"vcd", "svcd", "cdv", "cd-rom"};
    if (std::find(kNotAudio.begin(), kNotAudio.end(), lower) != kNotAudio.end())
        return FormatKind::Other;
    return format.find("CD") != std::string_view::npos ? FormatKind::Cd : FormatKind::Other;
}

std::string mediumText(const std::vector<std::string>& formats)
{
    const auto name = [](const std::string& format) -> std::string {
        if (format.empty())
            return "?";
        if (kindOfFormat(format) == FormatKind::Cassette)
            return "Kaseta";
        if (format.find("Vinyl") != std::string::npos)
            return "Winyl";
        return format;
    };
    std::string text;
    for (std::size_t i = 0; i < formats.size();) {
        const std::string shown = name(formats[i]);
        std::size_t same = 1;
        while (i + same < formats.size() && name(formats[i + same]) == shown)
            ++same;
        if (!text.empty())
            text += " + ";
        if (same > 1)
            text += std::to_string(same) + "\xC3\x97"; // "×"
        text += shown;
        i += same;
    }
    return text;
}

std::string catalogueText(std::string_view utf8, int limit)
{
    std::string text;
    text.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto character = nextUtf8(utf8, i);
        if (!character) {
            ++i;
            text += '?';
        } else if (*character < 0x20 || (*character >= 0x7F && *character < 0xA0)) {
            text += ' ';
        } else if (const auto byte = unicodeToCp1250(*character)) {
            text += static_cast<char>(*byte);
        } else {
            text += nearestLetter(*character);
        }
    }
    if (limit > 0 && text.size() > static_cast<std::size_t>(limit))
        text.resize(static_cast<std::size_t>(limit));
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

EditorFill editorFill(const ReleaseDetails& release, const GenreList& genres)
{
    EditorFill fill;
    EditorForm& form = fill.form;
    form.azespol = catalogueText(release.artist, columnLimit(ColumnPerformer));
    form.aalbum = catalogueText(release.title, columnLimit(ColumnTitle));
    std::string genre = catalogueText(release.genre, columnLimit(ColumnGenre));
    if (!genre.empty()) {
        const std::string key = foldedName(genre);
        const auto& items = genres.items();
        const auto listed = std::find_if(items.begin(), items.end(), [&](const std::string& item) {
            return foldedName(item) == key;
        });
        if (listed != items.end())
            genre = *listed;
        else if (const std::string first = foldedName(genre.substr(0, 1)); !first.empty())
            genre[0] = first[0];
    }
    form.agatunek = genre;
    for (const std::string& format : release.formats) {
        const FormatKind kind = kindOfFormat(format);
        form.nosnikcd = form.nosnikcd || kind == FormatKind::Cd;
        form.nosnikmc = form.nosnikmc || kind == FormatKind::Cassette;
    }
    if (!form.nosnikcd && !form.nosnikmc)
        fill.otherMedium = mediumText(release.formats);
    return fill;
}

} // namespace alborx::musicbrainz
