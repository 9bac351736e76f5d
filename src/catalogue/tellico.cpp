#include "tellico.h"

#include "csvexchange.h"
#include "safefile.h"

#include <charconv>
#include <cstring>
#include <expat.h>
#include <filesystem>
#include <memory>
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

    TellicoImport finish() &&
    {
        TellicoImport import;
        import.status = refused_ || sawCollection_ ? status_ : TellicoStatus::NotTellico;
        if (import.status == TellicoStatus::Read)
            import.albums = std::move(intake_).finish();
        return import;
    }

private:
    enum class Field
    {
        None,
        Title,
        Medium,
        Artist,
        Genre
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
        if (reader.field_ != Field::None && reader.text_.size() < kMostFieldBytes)
            reader.text_.append(text, std::min<std::size_t>(static_cast<std::size_t>(length),
                                                            kMostFieldBytes - reader.text_.size()));
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
        if (field_ != Field::None) {
            fieldDepth_ = depth_;
            text_.clear();
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
        full_ = !intake_.add(entry_.id, std::move(album));
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
    return TellicoStatus::Read;
}

TellicoImport cancelledImport()
{
    TellicoImport import{TellicoStatus::Read, {}};
    import.albums.cancelled = true;
    return import;
}

} // namespace

TellicoImport importTellico(const AlbumTable& table, const TUstawienia& settings,
                            std::string_view bytes, Progress* progress)
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
    }
    if (cancelled)
        return cancelledImport();
    return std::move(reader).finish();
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
    return importTellico(
        table, settings,
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), progress);
}

} // namespace alborx
