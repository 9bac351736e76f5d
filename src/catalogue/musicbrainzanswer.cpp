// Reading the service's answers. The answer is read as a stream of JSON
// events and only the fields the program shows are kept, straight into the
// records: a search answer is mostly other fields, and building the whole
// document first would cost several times as long and as much memory.
#include "musicbrainz.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <nlohmann/json.hpp>
#include <utility>

namespace alborx::musicbrainz {

namespace {

using json = nlohmann::json;

// The fields the program reads; every other key is passed over with all it
// holds.
enum class Field
{
    Other,
    Artist,
    ArtistCredit,
    Barcode,
    CatalogNumber,
    Count,
    Country,
    Date,
    Disambiguation,
    Format,
    Genres,
    Id,
    JoinPhrase,
    Label,
    LabelInfo,
    Length,
    Media,
    Name,
    Number,
    ReleaseGroup,
    Releases,
    Title,
    TrackCount,
    Tracks
};

Field fieldOfKey(std::string_view key)
{
    static constexpr std::array<std::pair<std::string_view, Field>, 23> kFields{{
        {"artist", Field::Artist},
        {"artist-credit", Field::ArtistCredit},
        {"barcode", Field::Barcode},
        {"catalog-number", Field::CatalogNumber},
        {"count", Field::Count},
        {"country", Field::Country},
        {"date", Field::Date},
        {"disambiguation", Field::Disambiguation},
        {"format", Field::Format},
        {"genres", Field::Genres},
        {"id", Field::Id},
        {"joinphrase", Field::JoinPhrase},
        {"label", Field::Label},
        {"label-info", Field::LabelInfo},
        {"length", Field::Length},
        {"media", Field::Media},
        {"name", Field::Name},
        {"number", Field::Number},
        {"release-group", Field::ReleaseGroup},
        {"releases", Field::Releases},
        {"title", Field::Title},
        {"track-count", Field::TrackCount},
        {"tracks", Field::Tracks},
    }};
    const auto at =
        std::lower_bound(kFields.begin(), kFields.end(), key,
                         [](const auto& entry, std::string_view k) { return entry.first < k; });
    return at != kFields.end() && at->first == key ? at->second : Field::Other;
}

// What a JSON object or array is in the layout of the answers.
enum class Role
{
    Ignored,
    ListRoot,       // a search or disc ID answer
    ReleasesArray,  // its "releases"
    Release,        // a release
    CreditArray,    // "artist-credit"
    Credit,         // one name of it
    CreditArtist,   // the credit's "artist"
    LabelInfoArray, // "label-info"
    LabelInfo,      // one entry of it
    Label,          // its "label"
    MediaArray,     // "media"
    Medium,         // one medium
    TrackArray,     // its "tracks"
    Track,          // one track
    GenreArray,     // the release's "genres"
    Genre,
    Group,           // "release-group"
    GroupGenreArray, // the release group's "genres"
    GroupGenre
};

// What a release is read into, until its object ends.
struct ReleaseBeingRead
{
    ReleaseSummary summary;
    ReleaseDetails details;
    int mediaTracks = 0;
    // A genre is a candidate only with more up-votes than down-votes.
    int genreVotes = 0;
    int groupGenreVotes = 0;
    std::string groupGenre;
    // The credit, medium or genre being read.
    std::string name;
    std::string alternativeName;
    std::string joinPhrase;
    std::string format;
    int votes = 0;
    // The track being read, with its credit and length.
    Track track;
    std::string trackArtist;
    double trackMs = 0;
};

// Cuts a UTF-8 text to kMostFieldBytes, never inside a character.
void cutToField(std::string& text)
{
    if (text.size() <= kMostFieldBytes)
        return;
    std::size_t end = kMostFieldBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    text.resize(end);
}

class AnswerReader : public nlohmann::json_sax<json>
{
public:
    explicit AnswerReader(bool list) : list_(list) {}

    AnswerError error = AnswerError::None;
    std::vector<ReleaseSummary> summaries;
    ReleaseDetails details;
    bool sawReleases = false;
    bool sawRelease = false;
    int total = 0;

    bool null() override { return scalar(Kind::Null); }
    bool boolean(bool) override { return scalar(Kind::Other); }
    bool number_integer(number_integer_t value) override
    {
        return number(static_cast<double>(value));
    }
    bool number_unsigned(number_unsigned_t value) override
    {
        return number(static_cast<double>(value));
    }
    bool number_float(number_float_t value, const string_t&) override { return number(value); }
    bool binary(binary_t&) override { return scalar(Kind::Other); }
    bool string(string_t& value) override
    {
        if (!scalar(Kind::Text))
            return false;
        if (std::string* target = textField()) {
            cutToField(value);
            *target = std::move(value);
        }
        return true;
    }

    bool key(string_t& name) override
    {
        const Field field = fieldOfKey(name);
        key_ = reads(roleHere(), field) ? field : Field::Other;
        return true;
    }

    bool start_object(std::size_t) override { return open(false); }
    bool start_array(std::size_t) override { return open(true); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override
    {
        if (error == AnswerError::None)
            error = AnswerError::Malformed;
        return false;
    }

private:
    enum class Kind
    {
        Null,
        Text,
        Count,
        Other
    };

    struct Frame
    {
        Role role;
        bool array;
    };

    // The fields read in each object of the layout; the same names
    // elsewhere are passed over.
    static bool reads(Role role, Field field)
    {
        switch (role) {
        case Role::ListRoot:
            return field == Field::Releases || field == Field::Count;
        case Role::Release:
            return field == Field::Id || field == Field::Title || field == Field::Date ||
                   field == Field::Disambiguation || field == Field::Country ||
                   field == Field::Barcode || field == Field::TrackCount ||
                   field == Field::ArtistCredit || field == Field::LabelInfo ||
                   field == Field::Media || field == Field::Genres || field == Field::ReleaseGroup;
        case Role::Credit:
            return field == Field::Name || field == Field::JoinPhrase || field == Field::Artist;
        case Role::CreditArtist:
        case Role::Label:
            return field == Field::Name;
        case Role::LabelInfo:
            return field == Field::Label || field == Field::CatalogNumber;
        case Role::Medium:
            return field == Field::Format || field == Field::TrackCount || field == Field::Tracks;
        case Role::Track:
            return field == Field::Number || field == Field::Title || field == Field::Length ||
                   field == Field::ArtistCredit;
        case Role::Genre:
        case Role::GroupGenre:
            return field == Field::Name || field == Field::Count;
        case Role::Group:
            return field == Field::Genres;
        default:
            return false;
        }
    }

    Role roleHere() const { return frames_.empty() ? Role::Ignored : frames_.back().role; }
    bool inTrack() const
    {
        return std::any_of(frames_.begin(), frames_.end(),
                           [](const Frame& frame) { return frame.role == Role::Track; });
    }
    bool inArray() const { return !frames_.empty() && frames_.back().array; }

    // The kind of value a known field holds, or of the elements of a known
    // array.
    Kind expected() const
    {
        if (inArray())
            return roleHere() == Role::Ignored ? Kind::Other : Kind::Null;
        switch (key_) {
        case Field::Count:
        case Field::TrackCount:
        case Field::Length:
            return Kind::Count;
        case Field::Other:
            return Kind::Other;
        case Field::Artist:
        case Field::ArtistCredit:
        case Field::Genres:
        case Field::Label:
        case Field::LabelInfo:
        case Field::Media:
        case Field::ReleaseGroup:
        case Field::Releases:
        case Field::Tracks:
            return Kind::Null; // a container, or null
        default:
            return Kind::Text;
        }
    }

    // A number, whichever way the answer writes it ("track-count": 10.0 is
    // ten tracks). The service counts a genre's votes as up-votes minus
    // down-votes, so a count may be below zero.
    bool number(double value)
    {
        if (!scalar(Kind::Count))
            return false;
        const int count = std::isfinite(value)
                              ? static_cast<int>(std::clamp(value, -1'000'000.0, 1'000'000.0))
                              : 0;
        const Role role = roleHere();
        if (role == Role::Track && key_ == Field::Length)
            release_.trackMs = std::isfinite(value) ? std::clamp(value, 0.0, 1e9) : 0;
        else if (role == Role::Release && key_ == Field::TrackCount)
            release_.summary.tracks = std::max(0, count);
        else if (role == Role::Medium && key_ == Field::TrackCount)
            release_.mediaTracks = std::min(1'000'000, release_.mediaTracks + std::max(0, count));
        else if ((role == Role::Genre || role == Role::GroupGenre) && key_ == Field::Count)
            release_.votes = count;
        else if (role == Role::ListRoot && key_ == Field::Count)
            total = std::max(0, count);
        return true;
    }

    // A value that is no container: null stands for an empty field, any
    // other kind than the field's is an error.
    bool scalar(Kind kind)
    {
        if (frames_.empty())
            return fail(AnswerError::Malformed);
        if (kind == Kind::Null && !inArray())
            return true;
        const Kind wanted = expected();
        if (wanted != Kind::Other && wanted != kind)
            return fail(AnswerError::WrongType);
        return true;
    }

    std::string* textField()
    {
        ReleaseBeingRead& r = release_;
        switch (roleHere()) {
        case Role::Release:
            switch (key_) {
            case Field::Id:
                return &r.summary.id;
            case Field::Title:
                return &r.summary.title;
            case Field::Date:
                return &r.summary.date;
            case Field::Disambiguation:
                return &r.summary.disambiguation;
            case Field::Country:
                return &r.summary.country;
            case Field::Barcode:
                return &r.summary.barcode;
            default:
                return nullptr;
            }
        case Role::Credit:
        case Role::Genre:
        case Role::GroupGenre:
            return key_ == Field::Name         ? &r.name
                   : key_ == Field::JoinPhrase ? &r.joinPhrase
                                               : nullptr;
        case Role::CreditArtist:
            return key_ == Field::Name ? &r.alternativeName : nullptr;
        case Role::Label:
            return key_ == Field::Name && r.summary.label.empty() ? &r.summary.label : nullptr;
        case Role::LabelInfo:
            return key_ == Field::CatalogNumber && r.details.catalogueNumber.empty()
                       ? &r.details.catalogueNumber
                       : nullptr;
        case Role::Medium:
            return key_ == Field::Format ? &r.format : nullptr;
        case Role::Track:
            return key_ == Field::Number  ? &r.track.number
                   : key_ == Field::Title ? &r.track.title
                                          : nullptr;
        default:
            return nullptr;
        }
    }

    // The role of a container opened under the current key (or as an
    // element of the current array).
    Role roleOfNew(bool array) const
    {
        if (frames_.empty())
            return list_ ? Role::ListRoot : Role::Release;
        const Role parent = roleHere();
        if (inArray()) {
            // The elements of the arrays the program reads are objects.
            if (array)
                return Role::Ignored;
            switch (parent) {
            case Role::ReleasesArray:
                return Role::Release;
            case Role::CreditArray:
                return Role::Credit;
            case Role::LabelInfoArray:
                return Role::LabelInfo;
            case Role::MediaArray:
                return Role::Medium;
            case Role::TrackArray:
                return Role::Track;
            case Role::GenreArray:
                return Role::Genre;
            case Role::GroupGenreArray:
                return Role::GroupGenre;
            default:
                return Role::Ignored;
            }
        }
        const auto wanted = [&](Role role, bool asArray) {
            return asArray == array ? role : Role::Ignored;
        };
        switch (parent) {
        case Role::ListRoot:
            return key_ == Field::Releases ? wanted(Role::ReleasesArray, true) : Role::Ignored;
        case Role::Release:
            switch (key_) {
            case Field::ArtistCredit:
                return wanted(Role::CreditArray, true);
            case Field::LabelInfo:
                return wanted(Role::LabelInfoArray, true);
            case Field::Media:
                return wanted(Role::MediaArray, true);
            case Field::Genres:
                return wanted(Role::GenreArray, true);
            case Field::ReleaseGroup:
                return wanted(Role::Group, false);
            default:
                return Role::Ignored;
            }
        case Role::Credit:
            return key_ == Field::Artist ? wanted(Role::CreditArtist, false) : Role::Ignored;
        case Role::Medium:
            return key_ == Field::Tracks ? wanted(Role::TrackArray, true) : Role::Ignored;
        case Role::Track:
            return key_ == Field::ArtistCredit ? wanted(Role::CreditArray, true) : Role::Ignored;
        case Role::LabelInfo:
            return key_ == Field::Label ? wanted(Role::Label, false) : Role::Ignored;
        case Role::Group:
            return key_ == Field::Genres ? wanted(Role::GroupGenreArray, true) : Role::Ignored;
        default:
            return Role::Ignored;
        }
    }

    bool open(bool array)
    {
        if (static_cast<int>(frames_.size()) >= kMostAnswerDepth)
            return fail(AnswerError::TooDeep);
        const Role role = roleOfNew(array);
        // A known field holding the wrong kind of container.
        const bool known = !frames_.empty() && roleHere() != Role::Ignored &&
                           (inArray() || expected() != Kind::Other);
        if (frames_.empty() ? array : (role == Role::Ignored && known))
            return fail(frames_.empty() ? AnswerError::Malformed : AnswerError::WrongType);
        if (role == Role::ReleasesArray)
            sawReleases = true;
        if (role == Role::Release)
            release_ = {};
        if (role == Role::Credit || role == Role::Genre || role == Role::GroupGenre) {
            release_.name.clear();
            release_.alternativeName.clear();
            release_.joinPhrase.clear();
            release_.votes = 0;
        }
        if (role == Role::Medium)
            release_.format.clear();
        if (role == Role::Track) {
            release_.track = {};
            release_.trackArtist.clear();
            release_.trackMs = 0;
        }
        frames_.push_back({role, array});
        key_ = Field::Other;
        return true;
    }

    bool close()
    {
        const Role role = roleHere();
        frames_.pop_back();
        ReleaseBeingRead& r = release_;
        switch (role) {
        case Role::Credit: {
            // A track's credit names the track's performer.
            std::string& artist = inTrack() ? r.trackArtist : r.details.artist;
            if (artist.size() < kMostFieldBytes) {
                artist += (r.name.empty() ? r.alternativeName : r.name) + r.joinPhrase;
                cutToField(artist);
            }
            break;
        }
        case Role::Track:
            if (r.details.tracks.size() < kMostTracks) {
                r.track.performer = std::move(r.trackArtist);
                r.track.length = trackLength(static_cast<std::int64_t>(r.trackMs));
                r.details.tracks.push_back(std::move(r.track));
            }
            break;
        case Role::Medium:
            r.details.formats.push_back(std::move(r.format));
            break;
        case Role::Genre:
            if (!r.name.empty() && r.votes > r.genreVotes) {
                r.details.genre = std::move(r.name);
                r.genreVotes = r.votes;
            }
            break;
        case Role::GroupGenre:
            if (!r.name.empty() && r.votes > r.groupGenreVotes) {
                r.groupGenre = std::move(r.name);
                r.groupGenreVotes = r.votes;
            }
            break;
        case Role::Release:
            finishRelease();
            break;
        default:
            break;
        }
        return true;
    }

    void finishRelease()
    {
        ReleaseBeingRead& r = release_;
        r.summary.artist = r.details.artist;
        r.summary.medium = mediumText(r.details.formats);
        if (r.summary.tracks == 0)
            r.summary.tracks = r.mediaTracks;
        r.details.title = r.summary.title;
        if (r.details.genre.empty())
            r.details.genre = std::move(r.groupGenre);
        r.details.id = r.summary.id;
        r.details.date = r.summary.date;
        r.details.country = r.summary.country;
        r.details.label = r.summary.label;
        r.details.barcode = r.summary.barcode;
        // A track's performer is named only where it is not the album's.
        for (Track& track : r.details.tracks) {
            if (track.performer == r.details.artist)
                track.performer.clear();
        }
        // A release without an ID cannot be looked up: it is not offered,
        // and a lookup answer without one holds no release.
        if (r.summary.id.empty())
            return;
        if (list_) {
            // A page of releases, however many the answer holds.
            if (summaries.size() < static_cast<std::size_t>(kSearchLimit))
                summaries.push_back(std::move(r.summary));
        } else {
            details = std::move(r.details);
            sawRelease = true;
        }
    }

    bool fail(AnswerError reason)
    {
        error = reason;
        return false;
    }

    bool list_;
    std::vector<Frame> frames_;
    Field key_ = Field::Other;
    ReleaseBeingRead release_;
};

AnswerError readAnswer(std::string_view text, AnswerReader& reader)
{
    const bool whole = json::sax_parse(text.begin(), text.end(), &reader);
    if (reader.error != AnswerError::None)
        return reader.error;
    return whole ? AnswerError::None : AnswerError::Malformed;
}

} // namespace

ReleaseList readReleaseList(std::string_view text)
{
    AnswerReader reader(true);
    AnswerError error = readAnswer(text, reader);
    if (error == AnswerError::None && !reader.sawReleases)
        error = AnswerError::Malformed;
    if (error != AnswerError::None)
        return {error, {}};
    const int listed = static_cast<int>(reader.summaries.size());
    return {AnswerError::None, std::move(reader.summaries), std::max(reader.total, listed)};
}

ReleaseAnswer readRelease(std::string_view text)
{
    AnswerReader reader(false);
    AnswerError error = readAnswer(text, reader);
    if (error == AnswerError::None && !reader.sawRelease)
        error = AnswerError::NoRelease;
    if (error != AnswerError::None)
        return {error, {}};
    return {AnswerError::None, std::move(reader.details)};
}

} // namespace alborx::musicbrainz
