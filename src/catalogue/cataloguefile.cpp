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
#include <functional>
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

void encodeRow(const RowView& row, std::uint8_t* record)
{
    const int cdKind = copyKindCode(row[ColumnCdKind]);
    const int mcKind = copyKindCode(row[ColumnMcKind]);
    putInt32(record + OffId, cellNumber(row[ColumnId]));
    putInt32(record + OffIdcd, cdKind == 0 ? 0 : cellNumber(row[ColumnCdId]));
    putInt32(record + OffIdmc, mcKind == 0 ? 0 : cellNumber(row[ColumnMcId]));
    putShortString(record + OffZespol, kZespolCapacity, row[ColumnPerformer]);
    putShortString(record + OffTytul, kTytulCapacity, row[ColumnTitle]);
    putShortString(record + OffGatunek, kGatunekCapacity, row[ColumnGenre]);
    record[OffKopiacd] = static_cast<std::uint8_t>(cdKind);
    record[OffKopiamc] = static_cast<std::uint8_t>(mcKind);
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
        encodeRow(table.row(r), at);
        at += kAlbumRecordSize;
        advanceProgress(progress, r, kAlbumLoopStep);
    }
    return bytes;
}

namespace {

// The cells of a record, read in place: the texts view the record's bytes,
// the IDs are written into ids.
RowView cellsOfRecord(const std::uint8_t* record, std::array<std::string, 3>& ids, bool* damaged)
{
    const std::uint8_t cdKind = record[OffKopiacd];
    const std::uint8_t mcKind = record[OffKopiamc];
    // An unknown copy kind still loads (as "M"), but the file is not whole.
    if (cdKind > 4 || mcKind > 4)
        *damaged = true;
    const auto kind = [](std::uint8_t code) {
        return code != 0 ? copyKindLetter(code) : std::string_view("-");
    };
    ids[0] = l2t(getInt32(record + OffId), 5);
    ids[1] = cdKind != 0 ? l2t(getInt32(record + OffIdcd), 5) : std::string("-");
    ids[2] = mcKind != 0 ? l2t(getInt32(record + OffIdmc), 5) : std::string("-");
    return {ids[0],
            shortStringAt(record + OffZespol, kZespolCapacity, damaged),
            shortStringAt(record + OffTytul, kTytulCapacity, damaged),
            shortStringAt(record + OffGatunek, kGatunekCapacity, damaged),
            kind(cdKind),
            kind(mcKind),
            ids[1],
            ids[2]};
}

struct RecordsRead
{
    ReadStatus status = ReadStatus::CannotOpen;
    bool damaged = false;
};

// Reads the records of a catalogue file in blocks and hands each one's
// cells to take, after telling begin how many there are at most (never
// more than the data the file holds). Only the whole records present are
// read, never more than the stored count when that is not negative and
// never more than mostAlbums.
RecordsRead readRecords(const std::string& path, Progress* progress, int mostAlbums,
                        const std::function<void(std::size_t)>& begin,
                        const std::function<void(const RowView&)>& take)
{
    RecordsRead result;
    FileHandle file(path);
    if (file.fd() < 0)
        return result;
    const std::uint64_t dataSize = file.dataSize();

    std::uint8_t header[kCatalogueHeaderSize];
    const std::size_t headerRead = readUpTo(file.fd(), header, sizeof header);
    if (headerRead < kCatalogueMagicSize ||
        std::memcmp(header, kCatalogueMagic, kCatalogueMagicSize) != 0) {
        result.status = ReadStatus::BadHeader;
        return result;
    }
    result.status = ReadStatus::Ok;
    if (headerRead < kCatalogueHeaderSize) {
        result.damaged = true;
        return result;
    }

    // The written data bounds what can be there, whatever the count says.
    const std::int32_t stored = getInt32(header + kCatalogueMagicSize);
    const std::uint64_t present =
        dataSize > kCatalogueHeaderSize ? (dataSize - kCatalogueHeaderSize) / kAlbumRecordSize : 0;
    std::uint64_t wanted = present;
    if (stored < 0 || static_cast<std::uint64_t>(stored) > present)
        result.damaged = true;
    else
        wanted = static_cast<std::uint64_t>(stored);
    const auto most = static_cast<std::uint64_t>(std::clamp(mostAlbums, 0, kMostAlbums));
    if (wanted > most) {
        wanted = most;
        result.damaged = true;
    }

    begin(static_cast<std::size_t>(wanted));
    if (progress && wanted > 0)
        progress->setMaximum(static_cast<int>(wanted - 1));
    // One block of records at a time: the file is never held whole.
    constexpr std::size_t kBlockRecords = 512;
    std::vector<std::uint8_t> block(kBlockRecords * kAlbumRecordSize);
    std::array<std::string, 3> ids;
    std::uint64_t whole = 0;
    while (whole < wanted) {
        const std::size_t records =
            static_cast<std::size_t>(std::min<std::uint64_t>(kBlockRecords, wanted - whole));
        const std::size_t got = readUpTo(file.fd(), block.data(), records * kAlbumRecordSize);
        for (std::size_t i = 0; i < got / kAlbumRecordSize; ++i) {
            take(cellsOfRecord(block.data() + i * kAlbumRecordSize, ids, &result.damaged));
            ++whole;
            advanceProgress(progress, static_cast<int>(whole), kAlbumLoopStep);
        }
        if (got < records * kAlbumRecordSize) {
            result.damaged = true;
            break;
        }
    }
    return result;
}

} // namespace

CatalogueContents readCatalogue(const std::string& path, Progress* progress, int mostAlbums)
{
    CatalogueContents contents;
    const RecordsRead read = readRecords(
        path, progress, mostAlbums, [&](std::size_t count) { contents.albums.reserve(count); },
        [&](const RowView& cells) { contents.albums.push_back(rowOf(cells)); });
    contents.status = read.status;
    contents.damaged = read.damaged;
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

namespace {

OpenStatus openFailure(ReadStatus status)
{
    return status == ReadStatus::BadHeader ? OpenStatus::BadHeader : OpenStatus::CannotOpen;
}

} // namespace

OpenResult otworzbaze(AlbumTable& table, TUstawienia& settings, std::string_view name,
                      Progress* progress)
{
    OpenResult result;
    if (obetnijspacje(name).empty())
        return result;
    result.name = withoutAmpersand(name);

    // The albums go straight from the file's records into a table of their
    // own, which takes the place of the old one only when the file opened.
    AlbumTable loaded;
    const RecordsRead read = readRecords(
        cp1250ToUtf8(result.name), progress, kMostAlbums,
        [&](std::size_t count) { loaded.reserveAlbums(count); },
        [&](const RowView& cells) { loaded.appendAlbum(cells); });
    if (read.status != ReadStatus::Ok) {
        settings.plikbazy.clear();
        result.status = openFailure(read.status);
        return result;
    }
    nowabaza(table, settings);
    result.status = OpenStatus::Opened;
    result.loaded = loaded.liczbaalbumow();
    result.damaged = read.damaged;
    table.takeAlbumsOf(std::move(loaded));
    settings.plikbazy = result.name;
    dodajostatni(settings.ostatnie, result.name);
    return result;
}

JoinResult dolaczbaze(const AlbumTable& table, TUstawienia& settings, const std::string& name,
                      Progress* progress)
{
    JoinResult result;
    const int before = std::max(0, table.liczbaalbumow());
    std::vector<KeyedRow> albums;
    const RecordsRead read = readRecords(
        cp1250ToUtf8(name), progress, kMostAlbums - std::min(before, kMostAlbums),
        [&](std::size_t count) { albums.reserve(count); },
        [&](const RowView& cells) {
            albums.push_back({0, rowOf(cells)});
        });
    if (read.status != ReadStatus::Ok) {
        result.status = openFailure(read.status);
        return result;
    }

    result.status = OpenStatus::Opened;
    result.joined = true;
    result.loaded = static_cast<int>(albums.size());
    result.damaged = read.damaged;
    const IdCounters counters = countersOf(settings);
    result.change = albumsAppended(table, std::move(albums), counters, counters);
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
