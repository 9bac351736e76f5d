#include "cataloguefile.h"

#include "binaryfields.h"
#include "copykinds.h"
#include "cp1250.h"
#include "recentfiles.h"
#include "safefile.h"
#include "textfunctions.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace alborx {

namespace {

enum RecordOffset : std::size_t
{
    OffId = 0,
    OffIdcd = 4,
    OffIdmc = 8,
    OffZespol = 12,
    OffTytul = 48,
    OffGatunek = 109,
    OffKopiacd = 140,
    OffKopiamc = 141,
};

constexpr std::size_t kZespolCapacity = 35;
constexpr std::size_t kTytulCapacity = 60;
constexpr std::size_t kGatunekCapacity = 30;

// Reads up to size bytes; returns how many were read before the end of the
// file or an error.
std::size_t readUpTo(int fd, std::uint8_t* into, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, into + done, size - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

// Only a regular file is read. It is opened without blocking, so that a FIFO
// with no writer or a device is refused at once instead of freezing the
// program.
class FileHandle
{
public:
    explicit FileHandle(const std::string& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY))
    {
        struct stat info
        {
        };
        if (fd_ >= 0 && (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode))) {
            ::close(fd_);
            fd_ = -1;
        }
        if (fd_ >= 0)
            size_ = static_cast<std::uint64_t>(info.st_size);
    }
    ~FileHandle()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int fd() const { return fd_; }

    // Where the written data ends: the size, or the start of the first hole
    // of a sparse file, whose unwritten gigabytes would read as zero records.
    std::uint64_t dataSize() const
    {
        const off_t hole = ::lseek(fd_, 0, SEEK_HOLE);
        ::lseek(fd_, 0, SEEK_SET);
        if (hole >= 0 && static_cast<std::uint64_t>(hole) < size_)
            return static_cast<std::uint64_t>(hole);
        return size_;
    }

private:
    int fd_;
    std::uint64_t size_ = 0;
};

} // namespace

std::array<std::uint8_t, kAlbumRecordSize> encodeAlbum(const TAlbum& album)
{
    std::array<std::uint8_t, kAlbumRecordSize> bytes{};
    putInt32(bytes.data() + OffId, album.id);
    putInt32(bytes.data() + OffIdcd, album.idcd);
    putInt32(bytes.data() + OffIdmc, album.idmc);
    putShortString(bytes.data() + OffZespol, kZespolCapacity, album.zespol);
    putShortString(bytes.data() + OffTytul, kTytulCapacity, album.tytul);
    putShortString(bytes.data() + OffGatunek, kGatunekCapacity, album.gatunek);
    bytes[OffKopiacd] = album.kopiacd;
    bytes[OffKopiamc] = album.kopiamc;
    return bytes;
}

TAlbum decodeAlbum(const std::uint8_t* bytes, bool* damaged)
{
    TAlbum album;
    album.id = getInt32(bytes + OffId);
    album.idcd = getInt32(bytes + OffIdcd);
    album.idmc = getInt32(bytes + OffIdmc);
    album.zespol = getShortString(bytes + OffZespol, kZespolCapacity, damaged);
    album.tytul = getShortString(bytes + OffTytul, kTytulCapacity, damaged);
    album.gatunek = getShortString(bytes + OffGatunek, kGatunekCapacity, damaged);
    album.kopiacd = bytes[OffKopiacd];
    album.kopiamc = bytes[OffKopiamc];
    // An unknown copy kind still loads (as "M"), but the file is not whole.
    if (damaged && (album.kopiacd > 4 || album.kopiamc > 4))
        *damaged = true;
    return album;
}

TAlbum rowToAlbum(const Row& row)
{
    TAlbum album;
    album.id = cellNumber(row[ColumnId]);
    album.zespol = row[ColumnPerformer];
    album.tytul = row[ColumnTitle];
    album.gatunek = row[ColumnGenre];
    album.kopiacd = static_cast<std::uint8_t>(copyKindCode(row[ColumnCdKind]));
    album.idcd = album.kopiacd == 0 ? 0 : cellNumber(row[ColumnCdId]);
    album.kopiamc = static_cast<std::uint8_t>(copyKindCode(row[ColumnMcKind]));
    album.idmc = album.kopiamc == 0 ? 0 : cellNumber(row[ColumnMcId]);
    return album;
}

Row albumToRow(const TAlbum& album)
{
    // Built whole rather than cell by cell: assigning short literals to the
    // cells makes GCC 12 warn falsely of overlapping copies (-Wrestrict).
    const auto kind = [](std::uint8_t code) {
        return code != 0 ? std::string(copyKindLetter(code)) : std::string("-");
    };
    const auto id = [](std::uint8_t code, std::int32_t number) {
        return code != 0 ? l2t(number, 5) : std::string("-");
    };
    return Row{l2t(album.id, 5),
               album.zespol,
               album.tytul,
               album.gatunek,
               kind(album.kopiacd),
               kind(album.kopiamc),
               id(album.kopiacd, album.idcd),
               id(album.kopiamc, album.idmc)};
}

std::vector<std::uint8_t> encodeCatalogue(const AlbumTable& table, Progress* progress)
{
    const int albums = std::max(0, std::min<int>(table.liczbaalbumow(), table.rowCount() - 1));
    std::vector<std::uint8_t> bytes(kCatalogueHeaderSize + kAlbumRecordSize * albums, 0);
    std::memcpy(bytes.data(), kCatalogueMagic, kCatalogueMagicSize);
    putInt32(bytes.data() + kCatalogueMagicSize, albums);
    if (progress && albums > 0)
        progress->setMaximum(albums - 1);
    std::uint8_t* at = bytes.data() + kCatalogueHeaderSize;
    for (int r = 1; r <= albums; ++r) {
        const auto record = encodeAlbum(rowToAlbum(table.row(r)));
        std::memcpy(at, record.data(), record.size());
        at += kAlbumRecordSize;
        advanceProgress(progress, r, kAlbumLoopStep);
    }
    return bytes;
}

CatalogueContents readCatalogue(const std::string& path, Progress* progress, int mostAlbums)
{
    CatalogueContents contents;
    FileHandle file(path);
    if (file.fd() < 0)
        return contents;
    const std::uint64_t dataSize = file.dataSize();

    std::uint8_t header[kCatalogueHeaderSize];
    const std::size_t headerRead = readUpTo(file.fd(), header, sizeof header);
    if (headerRead < kCatalogueMagicSize ||
        std::memcmp(header, kCatalogueMagic, kCatalogueMagicSize) != 0) {
        contents.status = ReadStatus::BadHeader;
        return contents;
    }
    contents.status = ReadStatus::Ok;
    if (headerRead < kCatalogueHeaderSize) {
        contents.damaged = true;
        return contents;
    }

    // The written data bounds what can be there, whatever the count says.
    const std::int32_t stored = getInt32(header + kCatalogueMagicSize);
    const std::uint64_t present =
        dataSize > kCatalogueHeaderSize ? (dataSize - kCatalogueHeaderSize) / kAlbumRecordSize : 0;
    std::uint64_t wanted = present;
    if (stored < 0 || static_cast<std::uint64_t>(stored) > present)
        contents.damaged = true;
    else
        wanted = static_cast<std::uint64_t>(stored);
    const auto most = static_cast<std::uint64_t>(std::clamp(mostAlbums, 0, kMostAlbums));
    if (wanted > most) {
        wanted = most;
        contents.damaged = true;
    }

    // The records are read in blocks into a buffer that grows only by what
    // was read, so that neither a count nor a size claimed by the file
    // reserves memory; the rows are then made for the records really there.
    constexpr std::size_t kBlockBytes = 512 * kAlbumRecordSize;
    std::vector<std::uint8_t> records;
    std::uint64_t whole = 0;
    while (whole < wanted) {
        const std::size_t block = static_cast<std::size_t>(
            std::min<std::uint64_t>(kBlockBytes, (wanted - whole) * kAlbumRecordSize));
        const std::size_t before = records.size();
        records.resize(before + block);
        const std::size_t got = readUpTo(file.fd(), records.data() + before, block);
        records.resize(before + got - got % kAlbumRecordSize);
        whole += got / kAlbumRecordSize;
        if (got < block) {
            contents.damaged = true;
            break;
        }
    }

    if (progress && whole > 0)
        progress->setMaximum(static_cast<int>(whole - 1));
    contents.albums.reserve(static_cast<std::size_t>(whole));
    for (std::uint64_t i = 0; i < whole; ++i) {
        contents.albums.push_back(
            albumToRow(decodeAlbum(records.data() + i * kAlbumRecordSize, &contents.damaged)));
        advanceProgress(progress, static_cast<int>(i + 1), kAlbumLoopStep);
    }
    return contents;
}

void nowabaza(AlbumTable& table, TUstawienia& settings)
{
    table.clear();
    settings.plikbazy.clear();
    settings.nastid = 0;
    settings.nastidcd = 0;
    settings.nastidmc = 0;
}

std::string withoutAmpersand(std::string_view name)
{
    std::string result(name);
    const auto ampersand = result.find('&');
    if (ampersand != std::string::npos)
        result.erase(ampersand, 1);
    return result;
}

std::string withAmpersandKept(std::string_view name)
{
    std::string kept(name);
    const auto ampersand = kept.find('&');
    if (ampersand != std::string::npos)
        kept.insert(ampersand, 1, '&');
    return kept;
}

OpenResult otworzbaze(AlbumTable& table, TUstawienia& settings, std::string_view name,
                      Progress* progress)
{
    OpenResult result;
    if (obetnijspacje(name).empty())
        return result;
    result.name = withoutAmpersand(name);

    CatalogueContents contents = readCatalogue(cp1250ToUtf8(result.name), progress);
    if (contents.status != ReadStatus::Ok) {
        settings.plikbazy.clear();
        result.status = contents.status == ReadStatus::BadHeader ? OpenStatus::BadHeader
                                                                 : OpenStatus::CannotOpen;
        return result;
    }
    nowabaza(table, settings);
    result.status = OpenStatus::Opened;
    result.loaded = static_cast<int>(contents.albums.size());
    result.damaged = contents.damaged;
    table.assignAlbums(std::move(contents.albums));
    settings.plikbazy = result.name;
    dodajostatni(settings.ostatnie, result.name);
    return result;
}

JoinResult dolaczbaze(const AlbumTable& table, TUstawienia& settings, const std::string& name,
                      Progress* progress)
{
    JoinResult result;
    const int before = std::max(0, table.liczbaalbumow());
    CatalogueContents contents =
        readCatalogue(cp1250ToUtf8(name), progress, kMostAlbums - std::min(before, kMostAlbums));
    if (contents.status != ReadStatus::Ok)
        return result;

    result.joined = true;
    result.loaded = static_cast<int>(contents.albums.size());
    result.damaged = contents.damaged;
    const IdCounters counters = countersOf(settings);
    result.change = albumsAppended(table, std::move(contents.albums), counters, counters);
    dodajostatni(settings.ostatnie, name);
    return result;
}

WriteError zapiszbaze(const AlbumTable& table, TUstawienia& settings, const std::string& name,
                      Progress* progress)
{
    const std::string path = cp1250ToUtf8(name);
    const WriteError error =
        writeFileSafely(path, encodeCatalogue(table, progress), /*keepBackup=*/true);
    if (error != WriteError::None)
        return error;
    removeStaleTemporaries(path);
    settings.plikbazy = name;
    dodajostatni(settings.ostatnie, name);
    return WriteError::None;
}

} // namespace alborx
