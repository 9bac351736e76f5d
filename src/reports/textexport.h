// The text export: one expanded line template per album, in a CD and a
// cassette section or one mixed list, an optional summary, and closing lines
// with the time of writing. The result is Windows-1250 text with CR LF line
// ends.
#pragma once

#include "albumtable.h"
#include "progress.h"
#include "settings.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace alborx {

struct ExportTime
{
    int year = 2000;
    int month = 1; // 1..12
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The twelve full month names (Windows-1250), January first.
using MonthNames = std::array<std::string, 12>;

// The progress maximum of an export of N albums.
int exportProgressMaximum(int albums, const TUstawienia& settings);

// The whole text of the export. The progress moves by 8 after every eighth
// row of each pass and then by the summary's steps.
std::string zapiszpliktekstowy(const AlbumTable& table, const TUstawienia& settings,
                               const ExportTime& time, const MonthNames& months,
                               Progress* progress = nullptr);

// Writes the export's text to path (a file-system path), after what the file
// holds when append is true. A previous file is never damaged: on failure,
// or when the file may not be written, false is returned and it stays as it
// was.
bool writeTextFile(const std::string& path, const std::string& text, bool append);

} // namespace alborx
