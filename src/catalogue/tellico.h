// Collections of Tellico, the KDE collection manager. Its *.tc file is a zip
// archive holding tellico.xml (and the covers), or that XML file as it is:
//   <tellico syntaxVersion="11"><collection type="4"> ... <entry id="1">
//     <title>..</title><medium>..</medium><artists><artist>..</artist></artists>
//     <genres><genre>..</genre></genres> ... </entry> ...
// Type 4 is a music collection; the others (books, videos, ...) are refused.
#pragma once

#include "albumimport.h"
#include "progress.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace alborx {

// A larger file, or a larger tellico.xml inside the archive, is no album
// collection; it is not read.
constexpr std::size_t kMostTellicoBytes = 256 * 1024 * 1024;

enum class TellicoStatus
{
    Read,
    CannotOpen,
    TooLarge,
    // No Tellico collection: a damaged archive or XML, XML with entity
    // declarations, or with a tag, comment or declaration longer than any
    // Tellico writes.
    NotTellico,
    TooDeep, // elements nested deeper than in any Tellico collection
    NotMusic
};

struct TellicoImport
{
    TellicoStatus status = TellicoStatus::CannotOpen;
    // With Read: the albums, taken in as every import takes them, with
    // their cards (year, label, comments, tracks, cover). A skipped entry is
    // named by its id.
    ImportResult albums;
};

// The albums of a Tellico collection to append to the table. Performer: the
// artists joined with ", "; album: the title; genre: the first genre; the
// medium as mediumOfText reads it; album ID: the entry's id where no album
// has it yet, otherwise the next free one. Entities declared in the XML are refused,
// so that nothing expands beyond the file, and no outside file is read.
TellicoImport importTellico(const AlbumTable& table, const TUstawienia& settings,
                            std::string_view bytes, Progress* progress = nullptr);

// The same for a file given by its file-system path (a regular file only).
TellicoImport importTellicoFile(const AlbumTable& table, const TUstawienia& settings,
                                const std::string& path, Progress* progress = nullptr);

} // namespace alborx
