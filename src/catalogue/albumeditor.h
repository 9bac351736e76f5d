// What the album editor does with the table: loading its form from a row,
// adding, correcting and removing albums. The window only moves values
// between its controls and these functions.
#pragma once

#include "albumtable.h"
#include "settings.h"
#include "tablechange.h"

#include <cstdint>
#include <string>

namespace alborx {

// The editor's fields as Windows-1250 text; kopiacd and kopiamc are the item
// indexes 0..3 of the copy-kind boxes (codes 1..4).
struct EditorForm
{
    std::string aid;
    std::string azespol;
    std::string aalbum;
    std::string agatunek;
    bool nosnikcd = false;
    std::string idcd;
    int kopiacd = 0;
    bool nosnikmc = false;
    std::string idmc;
    int kopiamc = 0;
};

// Which album the editor is bound to: the target of Popraw and Usuń.
struct EditorBinding
{
    std::int32_t wybranywiersz = 0;
    std::int32_t wierszfiltru = 0;
    bool zfiltru = false;
    // The key of the album the editor was last loaded with or last wrote:
    // albums may share an ID, so the album itself is named, wherever it has
    // moved since. 0 binds to no album.
    RowKey boundKey = 0;
};

// The form for an album row: a medium whose kind cell is "-" or empty is not
// owned; a kind other than "O", "P", "K" shows as "Z MP3 (M)".
EditorForm formFromRow(const RowView& row);

// At least one medium ticked and a performer or a title typed (spaces count).
bool qualifies(const EditorForm& form);

enum class EditResult
{
    NotQualified,
    NoFreeId,
    Written
};

// Reads the three ID fields: a number of at least 1 as typed, otherwise the
// next free ID of its kind. On success the IDs (five digits) are written back
// into the form and the counters advance; when a kind has no free ID left,
// nothing changes and false is returned.
bool assignIds(const AlbumTable& table, EditorForm& form, IdCounters& counters);

// The album row a form with assigned IDs stands for.
Row rowOfForm(const EditorForm& form);

// What Dodaj and Popraw make of a form: the result, and when it is Written
// the change to apply. The form's IDs are written back into it.
struct EditOutcome
{
    EditResult result = EditResult::NotQualified;
    TableChange change;
};

// Dodaj: qualification, IDs, then the album after the last one (into the
// blank row of an empty catalogue).
EditOutcome dodajalbum(const AlbumTable& table, EditorForm& form, const TUstawienia& settings);

// The album row of this table that holds the album the editor is bound to
// (wybranywiersz when it still does), or 0 when no album row does.
int boundRow(const AlbumTable& table, const EditorBinding& binding);

// Popraw: the bound album rewritten from the form (the old IDs still count as
// taken while new ones are chosen).
EditOutcome poprawalbum(const AlbumTable& table, const EditorBinding& binding, EditorForm& form,
                        const TUstawienia& settings);

// Usuń, on the main table: taking out the bound album; an empty change when
// the binding names no album of the table.
TableChange usunalbum(const AlbumTable& table, const EditorBinding& binding);

} // namespace alborx
