#include "tellico.h"

#include "csvexchange.h"
#include "safefile.h"

#include <charconv>
#include <cstring>
#include <expat.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <zip.h>

namespace alborx {

namespace {

// The XML is read in pieces of this size.
constexpr std::size_t kPiece = 1 << 20;
// Longer texts of one field are not kept: no column holds more than 60 bytes.
constexpr std::size_t kMostFieldBytes = 4096;
// Tellico nests its elements five or six deep (tellico, collection, entry,
// tracks, track, column); deeper nesting is no collection of its.
constexpr int kMostDepth = 32;
// The parser holds a tag, a comment or a declaration whole before it
// reports it; Tellico's are short, so a longer one is no collection of its.
constexpr std::size_t kMostMarkupBytes = 1 << 20;
constexpr std::string_view kMusicCollection = "4";
// The progress counts thousandths of the XML.
constexpr int kProgressSteps = 1000;

// The part of an element or attribute name after its namespace.
std::string_view localName(const XML_Char* name)
{
    const std::string_view full(name);
    const auto bar = full.rfind('|');
    return bar == std::string_view::npos ? full : full.substr(bar + 1);
}

// The covers of one collection together are read up to this many bytes;
// the others are left out and counted.
constexpr std::size_t kMostCoversBytes = 256 * 1024 * 1024;

// Base64 as Tellico writes an image into the XML; line breaks and spaces
// are passed over, anything else ends the picture.
std::optional<std::string> fromBase64(std::string_view text)
{
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3);
    unsigned value = 0;
    int bits = 0;
    for (const char c : text) {
        int digit = -1;
        if (c >= 'A' && c <= 'Z')
            digit = c - 'A';
        else if (c >= 'a' && c <= 'z')
            digit = c - 'a' + 26;
        else if (c >= '0' && c <= '9')
            digit = c - '0' + 52;
        else if (c == '+')
            digit = 62;
        else if (c == '/')
            digit = 63;
        else if (c == '=')
            break;
        else if (c == ' ' || c == '\n' || c == '\r' || c == '\t')
            continue;
        else
            return std::nullopt;
        value = (value << 6) | static_cast<unsigned>(digit);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes.push_back(static_cast<char>((value >> bits) & 0xFF));
        }
    }
    return bytes;
}

// A text of the card without the white space the XML put around it, cut to
// the card's bound.
std::string cardText(std::string_view text)
{
    const auto white = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && white(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && white(text.back()))
        text.remove_suffix(1);
    return cutUtf8(text);
}

// A cover's name as an entry gives it may name a file of the collection
// only: no folder, nothing above it.
bool plainName(std::string_view name)
{
    return !name.empty() && name.size() <= 255 && name.find('/') == std::string_view::npos &&
           name.find('\\') == std::string_view::npos && name != "." && name != ".." &&
           name.find('\0') == std::string_view::npos;
}

const XML_Char* attribute(const XML_Char** attributes, std::string_view wanted)
{
    for (const XML_Char** a = attributes; a[0] != nullptr; a += 2) {
        if (localName(a[0]) == wanted)
            return a[1];
    }
    return nullptr;
}

// The collection as expat reads it: the first <collection> of the
// <tellico> root, its entries taken in one by one.
class CollectionReader
{
public:
    CollectionReader(const AlbumTable& table, const TUstawienia& settings)
        : parser_(XML_ParserCreateNS(nullptr, '|')), intake_(table, settings)
    {
        if (parser_ == nullptr)
            return;
        XML_SetUserData(parser_, this);
        XML_SetElementHandler(parser_, &CollectionReader::started, &CollectionReader::ended);
        XML_SetCharacterDataHandler(parser_, &CollectionReader::characters);
        XML_SetEntityDeclHandler(parser_, &CollectionReader::entityDeclared);
        XML_SetParamEntityParsing(parser_, XML_PARAM_ENTITY_PARSING_NEVER);
    }
    ~CollectionReader()
    {
        if (parser_ != nullptr)
            XML_ParserFree(parser_);
    }
    CollectionReader(const CollectionReader&) = delete;
    CollectionReader& operator=(const CollectionReader&) = delete;

    // Reads the next piece of the XML; false once reading has ended early.
    bool feed(std::string_view piece, bool last)
    {
        if (parser_ == nullptr)
            return false;
        if (XML_Parse(parser_, piece.data(), static_cast<int>(piece.size()), last) ==
            XML_STATUS_ERROR) {
            // A refusal keeps its own reason; anything else is broken XML.
            if (!refused_)
                status_ = TellicoStatus::NotTellico;
            return false;
        }
        fed_ += piece.size();
        // What the parser has not reported yet is one unfinished piece of
        // markup: it is kept whole, and read again with every piece fed.
        const XML_Index reported = XML_GetCurrentByteIndex(parser_);
        if (reported >= 0 && fed_ - static_cast<std::size_t>(reported) > kMostMarkupBytes) {
            status_ = TellicoStatus::NotTellico;
            return false;
        }
        return true;
    }

    // The picture of a cover by its name, from where the collection keeps
    // them; empty when it has none of that name.
    using CoverSource = std::function<std::optional<std::string>(const std::string& name)>;

    // Puts the covers on the cards: a picture in the XML first, else from
    // the source.
    void takeCovers(const CoverSource& source)
    {
        std::size_t total = 0;
        for (auto& [card, name] : covers_) {
            std::optional<std::string> picture;
            if (const auto embedded = images_.find(name); embedded != images_.end())
                picture = fromBase64(embedded->second);
            else if (source && plainName(name))
                picture = source(name);
            if (!picture || picture->empty())
                continue;
            if (picture->size() > kMostCoverBytes || total + picture->size() > kMostCoversBytes) {
                ++coversLeftOut_;
                continue;
            }
            total += picture->size();
            card->inMemory->cover = std::move(*picture);
        }
        covers_.clear();
        images_.clear();
    }

    TellicoImport finish() &&
    {
        TellicoImport import;
        import.status = refused_ || sawCollection_ ? status_ : TellicoStatus::NotTellico;
        if (import.status == TellicoStatus::Read) {
            import.albums = std::move(intake_).finish();
            import.albums.coversLeftOut = coversLeftOut_;
        }
        return import;
    }

private:
    enum class Field
    {
        None,
        Title,
        Medium,
        Artist,
        Genre,
        Year,
        Label,
        Comments,
        Cover,
        Track,
        Image
    };

    struct Entry
    {
        int id = 0;
        bool hasId = false;
        std::string title;
        std::string medium;
        std::vector<std::string> artists;
        std::string genre;
        bool hasGenre = false;
        AlbumCard card;
        std::string cover;
    };

    void stop(TellicoStatus status)
    {
        status_ = status;
        refused_ = true;
        XML_StopParser(parser_, XML_FALSE);
    }

    static void XMLCALL started(void* self, const XML_Char* name, const XML_Char** attributes)
    {
        static_cast<CollectionReader*>(self)->start(localName(name), attributes);
    }
    static void XMLCALL ended(void* self, const XML_Char* name)
    {
        static_cast<CollectionReader*>(self)->end(localName(name));
    }
    static void XMLCALL characters(void* self, const XML_Char* text, int length)
    {
        auto& reader = *static_cast<CollectionReader*>(self);
        // A track's columns are texts of their own; a picture in the XML is
        // as long as its cover may be.
        std::string& into = reader.field_ == Field::Track && !reader.columns_.empty()
                                ? reader.columns_.back()
                                : reader.text_;
        const std::size_t most =
            reader.field_ == Field::Image ? kMostCoverBytes / 3 * 4 + 8 : kMostFieldBytes;
        if (reader.field_ != Field::None && into.size() < most)
            into.append(
                text, std::min<std::size_t>(static_cast<std::size_t>(length), most - into.size()));
    }
    static void XMLCALL entityDeclared(void* self, const XML_Char*, int, const XML_Char*, int,
                                       const XML_Char*, const XML_Char*, const XML_Char*,
                                       const XML_Char*)
    {
        static_cast<CollectionReader*>(self)->stop(TellicoStatus::NotTellico);
    }

    void start(std::string_view name, const XML_Char** attributes)
    {
        ++depth_;
        if (depth_ > kMostDepth) {
            stop(TellicoStatus::TooDeep);
            return;
        }
        if (depth_ == 1) {
            if (name != "tellico")
                stop(TellicoStatus::NotTellico);
            return;
        }
        if (depth_ == 2 && name == "collection" && !sawCollection_) {
            sawCollection_ = true;
            collectionDepth_ = depth_;
            const XML_Char* type = attribute(attributes, "type");
            if (type == nullptr || std::string_view(type) != kMusicCollection)
                stop(TellicoStatus::NotMusic);
            return;
        }
        if (collectionDepth_ == 0 || finished_)
            return;
        // Pictures kept in the XML follow the entries, in <images>.
        if (depth_ == collectionDepth_ + 2 && entryDepth_ == 0 && name == "image") {
            const XML_Char* id = attribute(attributes, "id");
            if (id != nullptr && wantedImages_.count(id) > 0 && images_.count(id) == 0) {
                field_ = Field::Image;
                fieldDepth_ = depth_;
                imageName_ = id;
                text_.clear();
            }
            return;
        }
        if (depth_ == collectionDepth_ + 1 && name == "entry") {
            entryDepth_ = depth_;
            entry_ = Entry{};
            ++entries_;
            entry_.id = entries_;
            if (const XML_Char* id = attribute(attributes, "id")) {
                const std::string_view text(id);
                entry_.hasId =
                    std::from_chars(text.data(), text.data() + text.size(), entry_.id).ec ==
                    std::errc();
            }
            return;
        }
        if (field_ == Field::Track && name == "column") {
            columns_.emplace_back();
            return;
        }
        if (entryDepth_ == 0 || field_ != Field::None)
            return;
        // Single values are children of the entry; lists stand in a
        // container of the plural name, older files have them bare.
        const int level = depth_ - entryDepth_;
        if (level == 1 && name == "title")
            field_ = Field::Title;
        else if (level == 1 && name == "medium")
            field_ = Field::Medium;
        else if (level <= 2 && name == "artist")
            field_ = Field::Artist;
        else if (level <= 2 && name == "genre")
            field_ = Field::Genre;
        else if (level == 1 && name == "year")
            field_ = Field::Year;
        else if (level <= 2 && name == "label")
            field_ = Field::Label;
        else if (level == 1 && name == "comments")
            field_ = Field::Comments;
        else if (level == 1 && name == "cover")
            field_ = Field::Cover;
        else if (level <= 2 && name == "track")
            field_ = Field::Track;
        if (field_ != Field::None) {
            fieldDepth_ = depth_;
            text_.clear();
            columns_.clear();
        }
    }

    void end(std::string_view name)
    {
        if (field_ != Field::None && depth_ == fieldDepth_) {
            switch (field_) {
            case Field::Title:
                entry_.title = std::move(text_);
                break;
            case Field::Medium:
                entry_.medium = std::move(text_);
                break;
            case Field::Artist:
                if (!text_.empty())
                    entry_.artists.push_back(std::move(text_));
                break;
            case Field::Genre:
                if (!entry_.hasGenre) {
                    entry_.genre = std::move(text_);
                    entry_.hasGenre = true;
                }
                break;
            case Field::Year:
                entry_.card.rok = cardText(text_);
                break;
            case Field::Label:
                if (entry_.card.wytwornia.empty())
                    entry_.card.wytwornia = cardText(text_);
                break;
            case Field::Comments:
                entry_.card.uwagi = cardText(text_);
                break;
            case Field::Cover:
                entry_.cover = cardText(text_);
                break;
            case Field::Track:
                takeTrack();
                break;
            case Field::Image:
                images_.emplace(std::move(imageName_), std::move(text_));
                break;
            case Field::None:
                break;
            }
            text_.clear();
            field_ = Field::None;
        } else if (entryDepth_ != 0 && depth_ == entryDepth_ && name == "entry") {
            takeEntry();
            entryDepth_ = 0;
        } else if (depth_ == collectionDepth_) {
            finished_ = true;
        }
        --depth_;
    }

    void takeEntry()
    {
        if (full_)
            return;
        std::string performer;
        for (const std::string& artist : entry_.artists) {
            if (!performer.empty())
                performer += ", ";
            performer += artist;
            if (performer.size() > kMostFieldBytes)
                break;
        }
        int& replaced = intake_.replaced();
        IncomingAlbum album;
        if (entry_.hasId) {
            album.id = std::to_string(entry_.id);
            album.idOnlyIfFree = true;
        }
        album.performer = toCatalogueText(performer, CsvEncoding::Utf8, replaced);
        album.title = toCatalogueText(entry_.title, CsvEncoding::Utf8, replaced);
        album.genre = toCatalogueText(entry_.genre, CsvEncoding::Utf8, replaced);
        album.medium = toCatalogueText(entry_.medium, CsvEncoding::Utf8, replaced);
        for (Track& track : entry_.card.tracks) {
            if (track.performer == performer)
                track.performer.clear();
        }
        if (!entry_.card.empty() || !entry_.cover.empty()) {
            album.card = cardInMemory(std::move(entry_.card), {});
            if (!entry_.cover.empty()) {
                wantedImages_.insert(entry_.cover);
                covers_.emplace_back(album.card, std::move(entry_.cover));
            }
        }
        full_ = !intake_.add(entry_.id, std::move(album));
    }

    // A track as Tellico writes it: title, artist and length in columns of
    // their own, or in one text with "::" between them.
    void takeTrack()
    {
        if (entry_.card.tracks.size() >= kMostTracks)
            return;
        std::vector<std::string> parts = std::move(columns_);
        if (parts.empty()) {
            std::string_view rest(text_);
            for (std::size_t cut; (cut = rest.find("::")) != std::string_view::npos;
                 rest.remove_prefix(cut + 2))
                parts.emplace_back(rest.substr(0, cut));
            parts.emplace_back(rest);
        }
        parts.resize(3);
        entry_.card.tracks.push_back({std::to_string(entry_.card.tracks.size() + 1),
                                      cardText(parts[0]), cardText(parts[1]), cardText(parts[2])});
        columns_.clear();
    }

    XML_Parser parser_;
    AlbumIntake intake_;
    TellicoStatus status_ = TellicoStatus::Read;
    bool refused_ = false;
    bool sawCollection_ = false;
    bool finished_ = false;
    bool full_ = false;
    std::size_t fed_ = 0;
    int depth_ = 0;
    int collectionDepth_ = 0;
    int entryDepth_ = 0;
    int entries_ = 0;
    Entry entry_;
    Field field_ = Field::None;
    int fieldDepth_ = 0;
    std::string text_;
    std::vector<std::string> columns_;
    // The cards waiting for their covers, by the cover's name, and the
    // pictures the XML holds of those names.
    std::vector<std::pair<CardRef, std::string>> covers_;
    std::unordered_set<std::string> wantedImages_;
    std::unordered_map<std::string, std::string> images_;
    std::string imageName_;
    int coversLeftOut_ = 0;
};

// Hands the XML to the reader piece by piece, with the progress following.
// False when the reading was cancelled.
class XmlFeed
{
public:
    XmlFeed(CollectionReader& reader, Progress* progress, std::size_t expected)
        : reader_(reader), progress_(progress), expected_(std::max<std::size_t>(expected, 1))
    {
        if (progress_)
            progress_->setMaximum(kProgressSteps);
    }

    // False when reading is over: the reader stopped or the user cancelled.
    bool piece(std::string_view bytes, bool last)
    {
        done_ += bytes.size();
        if (!reader_.feed(bytes, last))
            return false;
        if (progress_) {
            progress_->setPosition(
                static_cast<int>(std::min(done_, expected_) * kProgressSteps / expected_));
            if (progress_->cancelled()) {
                cancelled_ = true;
                return false;
            }
        }
        return true;
    }
    bool cancelled() const { return cancelled_; }

private:
    CollectionReader& reader_;
    Progress* progress_;
    std::size_t expected_;
    std::size_t done_ = 0;
    bool cancelled_ = false;
};

bool isZip(std::string_view bytes)
{
    return bytes.substr(0, 4) == std::string_view("PK\x03\x04", 4) ||
           bytes.substr(0, 4) == std::string_view("PK\x05\x06", 4);
}

struct ZipArchiveCloser
{
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct ZipFileCloser
{
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

// Reads tellico.xml out of the archive into the feed, never more than
// kMostTellicoBytes of it whatever the archive says of its size.
TellicoStatus readArchive(std::string_view bytes, CollectionReader& reader, Progress* progress,
                          bool& cancelled)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (source == nullptr) {
        zip_error_fini(&error);
        return TellicoStatus::NotTellico;
    }
    std::unique_ptr<zip_t, ZipArchiveCloser> archive(
        zip_open_from_source(source, ZIP_RDONLY, &error));
    zip_error_fini(&error);
    if (!archive) {
        zip_source_free(source);
        return TellicoStatus::NotTellico;
    }
    const zip_int64_t index = zip_name_locate(archive.get(), "tellico.xml", 0);
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (index < 0 || zip_stat_index(archive.get(), static_cast<zip_uint64_t>(index), 0, &stat) != 0)
        return TellicoStatus::NotTellico;
    if ((stat.valid & ZIP_STAT_SIZE) != 0 && stat.size > kMostTellicoBytes)
        return TellicoStatus::TooLarge;
    std::unique_ptr<zip_file_t, ZipFileCloser> file(
        zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(index), 0));
    if (!file)
        return TellicoStatus::NotTellico;

    XmlFeed feed(reader, progress, (stat.valid & ZIP_STAT_SIZE) != 0 ? stat.size : 0);
    std::vector<char> piece(kPiece);
    std::size_t total = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(file.get(), piece.data(), piece.size());
        if (got < 0)
            return TellicoStatus::NotTellico;
        total += static_cast<std::size_t>(got);
        if (total > kMostTellicoBytes)
            return TellicoStatus::TooLarge;
        const bool last = got == 0;
        if (!feed.piece({piece.data(), static_cast<std::size_t>(got)}, last) || last)
            break;
    }
    cancelled = feed.cancelled();
    // The covers are the archive's pictures of their names.
    reader.takeCovers([&](const std::string& name) -> std::optional<std::string> {
        const zip_int64_t at = zip_name_locate(archive.get(), ("images/" + name).c_str(), 0);
        zip_stat_t picture;
        zip_stat_init(&picture);
        if (at < 0 ||
            zip_stat_index(archive.get(), static_cast<zip_uint64_t>(at), 0, &picture) != 0)
            return std::nullopt;
        std::unique_ptr<zip_file_t, ZipFileCloser> image(
            zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(at), 0));
        if (!image)
            return std::nullopt;
        // Never more than a cover may be, whatever the archive says.
        std::string bytes(kMostCoverBytes + 1, '\0');
        std::size_t read = 0;
        while (read < bytes.size()) {
            const zip_int64_t got =
                zip_fread(image.get(), bytes.data() + read, bytes.size() - read);
            if (got <= 0)
                break;
            read += static_cast<std::size_t>(got);
        }
        bytes.resize(read);
        return bytes;
    });
    return TellicoStatus::Read;
}

TellicoImport cancelledImport()
{
    TellicoImport import{TellicoStatus::Read, {}};
    import.albums.cancelled = true;
    return import;
}

TellicoImport importCollection(const AlbumTable& table, const TUstawienia& settings,
                               std::string_view bytes, Progress* progress,
                               const std::string& folder)
{
    if (bytes.size() > kMostTellicoBytes)
        return {TellicoStatus::TooLarge, {}};
    CollectionReader reader(table, settings);
    bool cancelled = false;
    if (isZip(bytes)) {
        const TellicoStatus status = readArchive(bytes, reader, progress, cancelled);
        if (status != TellicoStatus::Read)
            return {status, {}};
    } else {
        XmlFeed feed(reader, progress, bytes.size());
        for (std::size_t at = 0;; at += kPiece) {
            const std::string_view piece = bytes.substr(std::min(at, bytes.size()), kPiece);
            const bool last = at + kPiece >= bytes.size();
            if (!feed.piece(piece, last) || last)
                break;
        }
        cancelled = feed.cancelled();
        // A plain XML file has its pictures in it, or in the folder Tellico
        // keeps beside it ("music_files" for "music.xml").
        reader.takeCovers([&](const std::string& name) -> std::optional<std::string> {
            if (folder.empty())
                return std::nullopt;
            std::vector<std::uint8_t> picture;
            if (!readWholeFile(folder + "/" + name, picture, kMostCoverBytes + 1))
                return std::nullopt;
            return std::string(picture.begin(), picture.end());
        });
    }
    if (cancelled)
        return cancelledImport();
    return std::move(reader).finish();
}

} // namespace

TellicoImport importTellico(const AlbumTable& table, const TUstawienia& settings,
                            std::string_view bytes, Progress* progress)
{
    return importCollection(table, settings, bytes, progress, {});
}

TellicoImport importTellicoFile(const AlbumTable& table, const TUstawienia& settings,
                                const std::string& path, Progress* progress)
{
    // A file known to be too large is not read at all.
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (!error && size > kMostTellicoBytes)
        return {TellicoStatus::TooLarge, {}};
    std::vector<std::uint8_t> bytes;
    if (!readWholeFile(path, bytes, kMostTellicoBytes + 1, progress)) {
        if (progress && progress->cancelled())
            return cancelledImport();
        return {TellicoStatus::CannotOpen, {}};
    }
    if (bytes.size() > kMostTellicoBytes)
        return {TellicoStatus::TooLarge, {}};
    const std::filesystem::path file(path);
    const std::string folder = (file.parent_path() / (file.stem().string() + "_files")).string();
    return importCollection(
        table, settings,
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), progress,
        folder);
}

} // namespace alborx
