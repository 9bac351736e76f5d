// Any bytes as an answer of the MusicBrainz service: as they come from the
// connection, the same answer however they are cut into pieces and never a
// body past the cap; as the body, read both as a list of releases and as
// one release: an error or records (a page at most, every field within its
// cut, none without an ID), and the editor's form of a release always fits
// the catalogue's columns.
#include "albumtable.h"
#include "fuzz_support.h"
#include "httpanswer.h"
#include "musicbrainz.h"

using namespace alborx;
using namespace alborx::musicbrainz;
using alborx::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const fuzz::MemoryBound memory(size);
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // A small cap, so that short inputs reach it too.
    constexpr std::size_t cap = 4096;
    http::AnswerReader whole(cap);
    whole.feed(text);
    whole.endOfStream();
    http::AnswerReader pieces(cap);
    const std::size_t piece = size > 0 ? 1 + data[0] % 13 : 1;
    for (std::size_t at = 0; at < size; at += piece)
        pieces.feed(text.substr(at, piece));
    pieces.endOfStream();
    check(whole.fault() == pieces.fault() && whole.done() == pieces.done() &&
              whole.status() == pieces.status() && whole.body() == pieces.body(),
          "the answer depends on how its bytes were cut");
    check(whole.body().size() <= cap, "a body past the cap was kept");
    check(whole.done() != whole.failed(), "an ended answer is neither done nor failed");
    const ReleaseList list = readReleaseList(text);
    check(list.error == AnswerError::None || list.releases.empty(),
          "a faulty answer gave releases");
    check(list.releases.size() <= static_cast<std::size_t>(kSearchLimit),
          "more releases listed than a page holds");
    check(list.total >= static_cast<int>(list.releases.size()), "fewer found than listed");
    std::size_t bytes = 0;
    for (const ReleaseSummary& release : list.releases) {
        check(!release.id.empty(), "a release without an ID is offered");
        bytes += release.id.size() + release.title.size() + release.country.size();
        for (const std::string* field :
             {&release.id, &release.artist, &release.title, &release.disambiguation, &release.date,
              &release.country, &release.label, &release.barcode})
            check(field->size() <= kMostFieldBytes, "a field is longer than its cut");
    }
    check(bytes <= size, "more text read than the answer holds");

    const ReleaseAnswer release = readRelease(text);
    if (release.error != AnswerError::None)
        return 0;
    GenreList genres;
    genres.assign({"Rock", "Poezja \x8Cpiewana"});
    const EditorFill fill = editorFill(release.release, genres);
    check(fill.form.azespol.size() <= static_cast<std::size_t>(columnLimit(ColumnPerformer)) &&
              fill.form.aalbum.size() <= static_cast<std::size_t>(columnLimit(ColumnTitle)) &&
              fill.form.agatunek.size() <= static_cast<std::size_t>(columnLimit(ColumnGenre)),
          "a filled text is longer than its column");
    check(fill.form.aid.empty() && fill.form.idcd.empty() && fill.form.idmc.empty(),
          "a filled album has IDs");
    for (const std::string& text : {fill.form.azespol, fill.form.aalbum, fill.form.agatunek}) {
        for (const char c : text)
            check(static_cast<unsigned char>(c) >= 0x20, "a filled text holds a control character");
    }
    return 0;
}
