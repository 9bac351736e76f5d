// Filtering and searching the album table: the medium test of the filter
// panel, the rebuild of the filtered list, and find next, find all and
// replace of the search dialog.
#pragma once

#include "albumtable.h"
#include "progress.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace alborx {

constexpr std::size_t kPhraseLimit = 255;

// The medium and copy-kind boxes of the filter panel.
struct MediumFilter
{
    bool cd = true;
    bool mc = false;
    bool oryginaly = true;
    bool piraty = true;
    bool kopie = true;
    bool zmp3 = true;
};

// Whether an album passes the panel: a ticked medium whose copy-kind cell is
// exactly a ticked letter.
bool pasujenosnik(const RowView& row, const MediumFilter& filter);

// Where upperNeedle (already upper-cased by upperLetters) first occurs in
// text with letter case ignored, Polish letters too, or npos. An empty
// needle is found at 0.
std::size_t findFolded(std::string_view text, std::string_view upperNeedle);

// The filter rebuild: the album rows that pass the panel and, when the word
// is not empty, contain it (letter case ignored, not trimmed, cut to 255) in one of
// the columns 1..7, in order. The filtered list copies them with their keys
// (AlbumTable::assignRowsOf), so that it knows its albums by identity.
std::vector<int> filterAlbums(const AlbumTable& table, const MediumFilter& filter,
                              std::string_view word, Progress* progress = nullptr);

using SearchColumns = std::array<bool, kColumnCount>;

// The first chosen column (0..7) of a row that contains the phrase (already
// upper-cased), or -1. An empty phrase matches nothing.
int matchingColumn(const RowView& row, std::string_view upperPhrase, const SearchColumns& columns);

// Find next: the first matching album row visited after `after`, wrapping, so
// that row `after` is tested last; with `after` outside 1..N the visit is
// 1..N. Returns 0 when nothing matches, the catalogue is empty or the phrase
// is empty once its trailing spaces are removed.
int findNext(const AlbumTable& table, std::string_view szukane, const SearchColumns& columns,
             std::int32_t after);

// Find all: the album rows that pass the panel and match the phrase, in
// order.
std::vector<int> findAll(const AlbumTable& table, const MediumFilter& filter,
                         std::string_view szukane, const SearchColumns& columns,
                         Progress* progress = nullptr);

// The cell with the first occurrence of the phrase replaced by zamiana as it
// stands, cut to 255 bytes. A cell without the phrase comes back unchanged.
std::string replaceFirst(std::string_view cell, std::string_view szukane, std::string_view zamiana);

// Replaces the first occurrence of the phrase in the first chosen column of
// the row that contains it. Returns that column, or -1 when none does.
int replaceInRow(Row& row, std::string_view szukane, std::string_view zamiana,
                 const SearchColumns& columns);

} // namespace alborx
