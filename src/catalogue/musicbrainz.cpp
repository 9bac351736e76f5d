#include "musicbrainz.h"

#include "albumimport.h"
#include "cp1250.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <string>

namespace alborx::musicbrainz {

namespace {

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

namespace {

int monthOfName(std::string_view name)
{
    static constexpr std::string_view kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int m = 0; m < 12; ++m) {
        if (name == kMonths[m])
            return m + 1;
    }
    return 0;
}

// The Unix time of an HTTP date in any of its three forms.
std::optional<std::int64_t> httpDate(std::string_view text)
{
    // After the day name: "06 Nov 1994 08:49:37 GMT", "06-Nov-94 08:49:37
    // GMT" or "Nov  6 08:49:37 1994".
    const auto comma = text.find(',');
    const bool asctime = comma == std::string_view::npos;
    std::string rest(asctime ? text.substr(std::min<std::size_t>(text.size(), 4))
                             : text.substr(comma + 1));
    for (char& c : rest) {
        if (c == '-' || c == ':')
            c = ' ';
    }
    char monthName[4] = {};
    int day = 0, year = 0, hour = 0, minute = 0, second = 0;
    char zone[4] = {};
    int read = 0;
    if (asctime)
        read = std::sscanf(rest.c_str(), " %3s %d %d %d %d %d", monthName, &day, &hour, &minute,
                           &second, &year);
    else
        read = std::sscanf(rest.c_str(), " %d %3s %d %d %d %d %3s", &day, monthName, &year, &hour,
                           &minute, &second, zone);
    const int month = monthOfName(monthName);
    if (read != (asctime ? 6 : 7) || month == 0 || (!asctime && std::string_view(zone) != "GMT") ||
        day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60 || hour < 0 || minute < 0 ||
        second < 0)
        return std::nullopt;
    if (!asctime && year < 100)
        year += year < 70 ? 2000 : 1900; // the two-digit year of the oldest form
    std::tm time{};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return static_cast<std::int64_t>(timegm(&time));
}

} // namespace

std::optional<std::int64_t> retryAfterSeconds(std::string_view value, std::int64_t nowUnix)
{
    const auto first = value.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return std::nullopt;
    value = value.substr(first, value.find_last_not_of(" \t") - first + 1);
    if (value.find_first_not_of("0123456789") == std::string_view::npos) {
        // Seconds: so many digits stand for a wait longer than any cap.
        if (value.size() > 12)
            return std::int64_t{999'999'999'999};
        return std::stoll(std::string(value));
    }
    const auto at = httpDate(value);
    if (!at)
        return std::nullopt;
    return std::max<std::int64_t>(0, *at - nowUnix);
}

std::string searchPath(std::string_view query, int offset)
{
    std::string path =
        "/ws/2/release?query=" + percentEncoded(query) + "&limit=" + std::to_string(kSearchLimit);
    if (offset > 0)
        path += "&offset=" + std::to_string(offset);
    return path + "&fmt=json";
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
           "?inc=artist-credits+labels+recordings+release-groups+genres&fmt=json";
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

std::string catalogueText(std::string_view utf8, int limit, int* questionMarks)
{
    std::string text;
    text.reserve(utf8.size());
    // Each character gives one byte; only those the cut below keeps count.
    const auto kept = [&] { return limit <= 0 || text.size() < static_cast<std::size_t>(limit); };
    for (std::size_t i = 0; i < utf8.size();) {
        const auto character = nextUtf8(utf8, i);
        if (!character) {
            ++i;
            if (questionMarks != nullptr && kept())
                ++*questionMarks;
            text += '?';
        } else if (*character < 0x20 || (*character >= 0x7F && *character < 0xA0)) {
            text += ' ';
        } else {
            const char nearest = nearestCp1250(*character);
            if (nearest == '?' && *character != U'?' && questionMarks != nullptr && kept())
                ++*questionMarks;
            text += nearest;
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
    form.azespol = catalogueText(release.artist, columnLimit(ColumnPerformer), &fill.questionMarks);
    form.aalbum = catalogueText(release.title, columnLimit(ColumnTitle), &fill.questionMarks);
    std::string genre = catalogueText(release.genre, columnLimit(ColumnGenre), &fill.questionMarks);
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
    AlbumCard& card = fill.card;
    // "1994-05-02" is of 1994.
    card.rok = release.date.substr(0, std::min<std::size_t>(4, release.date.find('-')));
    card.wytwornia = release.label;
    card.numerKatalogowy = release.catalogueNumber;
    card.kraj = release.country;
    card.kodKreskowy = release.barcode;
    card.releaseId = release.id;
    card.tracks = release.tracks;
    cutCard(card);
    return fill;
}

} // namespace alborx::musicbrainz
