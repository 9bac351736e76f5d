// The disc in a CD drive, as MusicBrainz identifies it: its disc ID and its
// table of contents, read with libdiscid from a drive or worked out from a
// table of contents already known.
#pragma once

#include <string>
#include <vector>

namespace alborx {

enum class DiscStatus
{
    Read,
    NoDrive,    // no such device
    NoDisc,     // a drive with nothing in it
    Unreadable, // a disc without an audio table of contents, or a read error
    BadToc      // a table of contents no disc can have
};

struct Disc
{
    DiscStatus status = DiscStatus::Read;
    std::string id;
    // "first last lead-out offset1 offset2 ...", in sectors.
    std::string toc;
    // libdiscid's own words when the read failed.
    std::string error;
};

// A table of contents: the numbers of the first and last audio tracks, the
// sector of the lead-out and the sector each track starts at.
struct DiscToc
{
    int first = 1;
    int last = 1;
    int leadOut = 0;
    std::vector<int> offsets;
};
Disc discOfToc(const DiscToc& toc);

// The CD drives of the machine, the default one first; empty when there
// are none.
std::vector<std::string> cdDrives();

// Reads the disc in a drive (the default drive when device is empty).
Disc readDisc(const std::string& device);

} // namespace alborx
