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
#include <functional>
#include <string>
#include <string_view>
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

// Receives the export's text piece by piece; returns false when it could not
// take it (the disk is full), which ends the export.
using TextSink = std::function<bool(std::string_view)>;

// The export: its text goes to sink line by line, so that even a huge
// export needs little memory. The progress moves by 8 after every eighth row
// of each pass and then by the summary's steps. Returns false when the sink
// failed.
bool zapiszpliktekstowy(const AlbumTable& table, const TUstawienia& settings,
                        const ExportTime& time, const MonthNames& months, const TextSink& sink,
                        Progress* progress = nullptr);

// The export's whole text in memory.
std::string exportText(const AlbumTable& table, const TUstawienia& settings, const ExportTime& time,
                       const MonthNames& months);

// Writes the export to path (a file-system path), after what the file holds
// when settings.dolaczaj is set. A previous file is never damaged: on
// failure, or when the file may not be written, false is returned and it
// stays as it was.
bool writeTextExport(const std::string& path, const AlbumTable& table, const TUstawienia& settings,
                     const ExportTime& time, const MonthNames& months,
                     Progress* progress = nullptr);

// Writes text to path the same way.
bool writeTextFile(const std::string& path, const std::string& text, bool append);

} // namespace alborx
