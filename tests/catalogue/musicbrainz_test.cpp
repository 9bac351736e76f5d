#include "discreading.h"
#include "musicbrainz.h"
#include "tempdir.h"

#include <gtest/gtest.h>

using namespace alborx;
using namespace alborx::musicbrainz;

namespace {

std::string fixture(const std::string& name)
{
    const std::vector<std::uint8_t> bytes =
        test::readBytes(std::string(ALBORX_FIXTURES) + "/musicbrainz/" + name);
    return {bytes.begin(), bytes.end()};
}

TEST(MusicBrainzQuery, TypedTextIsSearchedAsText)
{
    const struct
    {
        std::string performer, title, query;
    } cases[] = {
        {"Kult", "", "artist:\"Kult\""},
        {"", "  Spokojnie ", "release:\"Spokojnie\""},
        {"AC/DC", "Back in Black", "artist:\"AC/DC\" AND release:\"Back in Black\""},
        {"a\"b\\c", "x:(y) OR NOT z*", "artist:\"a\\\"b\\\\c\" AND release:\"x:(y) OR NOT z*\""},
        {"Żółć", "", "artist:\"Żółć\""},
        {" ", "\t", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(releaseQuery(c.performer, c.title), c.query) << c.performer << '|' << c.title;

    EXPECT_EQ(searchPath("artist:\"Żó ł\""),
              "/ws/2/release?query=artist%3A%22%C5%BB%C3%B3%20%C5%82%22&limit=100&fmt=json");
    EXPECT_EQ(discIdPath("49HHV7Eb8UKF3aQiNmu1GR8vKTY-", "1 2 300 150 200"),
              "/ws/2/discid/49HHV7Eb8UKF3aQiNmu1GR8vKTY-?toc=1+2+300+150+200"
              "&cdstubs=no&inc=artist-credits+labels&fmt=json");
}

TEST(MusicBrainzQuery, BarcodeIsDigitsAfterSpacesAndDashes)
{
    const struct
    {
        std::string typed;
        std::optional<std::string> digits;
    } cases[] = {{"5 902596-001234", "5902596001234"},
                 {" 0724 3 ", "07243"},
                 {"59025x", std::nullopt},
                 {"- -", std::nullopt},
                 {"", std::nullopt},
                 {"１２", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(barcodeDigits(c.typed), c.digits) << c.typed;
}

TEST(MusicBrainzAnswer, SearchResultsAsTheTableShowsThem)
{
    const ReleaseList list = readReleaseList(fixture("search.json"));
    ASSERT_EQ(list.error, AnswerError::None);
    ASSERT_EQ(list.releases.size(), 3u);
    const ReleaseSummary& first = list.releases[0];
    EXPECT_EQ(first.artist, "Tadeusz Woźniak & Zespół Alibabki");
    EXPECT_EQ(first.date, "1994-03-01");
    EXPECT_EQ(first.label, "Pomaton EMI");
    EXPECT_EQ(first.barcode, "5902596001234");
    EXPECT_EQ(first.medium, "CD");
    EXPECT_EQ(first.tracks, 12);
    const ReleaseSummary& second = list.releases[1];
    EXPECT_EQ(second.artist, "Björk feat. Дельфин");
    EXPECT_EQ(second.date, "");
    EXPECT_EQ(second.country, "");
    EXPECT_EQ(second.medium, "2×CD + DVD-Video");
    EXPECT_EQ(list.releases[2].label, "Polton");
    EXPECT_EQ(list.releases[2].medium, "Kaseta");
}

TEST(MusicBrainzAnswer, APageOfReleasesWithEveryFieldCut)
{
    // 150 releases for a request of 100, of 4321 found; one title of 5000
    // two-byte letters.
    std::string json = "{\"count\": 4321, \"releases\": [";
    for (int i = 0; i < 150; ++i)
        json += std::string(i > 0 ? "," : "") + "{\"id\": \"r" + std::to_string(i) +
                "\", \"disambiguation\": \"quadraphonic\", \"title\": \"" +
                (i == 0 ? [] {
                    std::string title;
                    for (int k = 0; k < 5000; ++k)
                        title += "\xC5\x82";
                    return title;
                }()
                        : std::string("T")) +
                "\"}";
    const ReleaseList list = readReleaseList(json + "]}");
    ASSERT_EQ(list.error, AnswerError::None);
    EXPECT_EQ(list.releases.size(), static_cast<std::size_t>(kSearchLimit));
    EXPECT_EQ(list.total, 4321);
    EXPECT_EQ(list.releases[0].title.size(), kMostFieldBytes);
    EXPECT_EQ(list.releases[0].title.substr(kMostFieldBytes - 2), "\xC5\x82");
    EXPECT_EQ(list.releases[1].disambiguation, "quadraphonic");
    // Without a count, the total is what is listed.
    EXPECT_EQ(readReleaseList("{\"releases\": [{\"id\": \"a\"}]}").total, 1);
}

TEST(MusicBrainzAnswer, RetryAfterInEitherFormHttpAllows)
{
    const std::int64_t now = 784111777; // Sun, 06 Nov 1994 08:49:37 GMT
    const struct
    {
        const char* value;
        std::optional<std::int64_t> seconds;
    } cases[] = {
        {"120", 120},
        {" 7 ", 7},
        {"2147484", 2147484},
        {"1000000000000000000000", 999'999'999'999},
        {"Sun, 06 Nov 1994 08:50:37 GMT", 60},
        {"Sunday, 06-Nov-94 08:49:47 GMT", 10},
        {"Sun Nov  6 08:49:39 1994", 2},
        {"Sat, 05 Nov 1994 08:49:37 GMT", 0},
        {"1e9", std::nullopt},
        {"-5", std::nullopt},
        {"Sun, 06 Nov 1994 08:50:37 CET", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(retryAfterSeconds(c.value, now), c.seconds) << c.value;
}

TEST(MusicBrainzAnswer, GenreFromTheReleaseElseItsGroup)
{
    const ReleaseAnswer release = readRelease(fixture("release.json"));
    ASSERT_EQ(release.error, AnswerError::None);
    EXPECT_EQ(release.release.artist, "Björk feat. Sigur Rós & Дельфин");
    EXPECT_EQ(release.release.genre, "elektronika"); // the first of two with five votes
    EXPECT_EQ(release.release.formats, (std::vector<std::string>{"Enhanced CD", "12\" Vinyl", ""}));
    EXPECT_EQ(readRelease(fixture("release-group-genre.json")).release.genre, "poezja śpiewana");
}

TEST(MusicBrainzAnswer, FaultyAnswersAreReported)
{
    const std::string deep = std::string(33, '[') + std::string(33, ']');
    const struct
    {
        std::string json;
        AnswerError error;
    } cases[] = {
        {"", AnswerError::Malformed},
        {"{\"releases\": [", AnswerError::Malformed},
        {"[]", AnswerError::Malformed},
        {"{\"count\": 0}", AnswerError::Malformed},
        {"{\"unknown\": " + deep + ", \"releases\": []}", AnswerError::TooDeep},
        {"{\"releases\": [[]]}", AnswerError::WrongType},
        {"{\"releases\": {}}", AnswerError::WrongType},
        {"{\"releases\": [{\"title\": 5}]}", AnswerError::WrongType},
        {"{\"releases\": [7]}", AnswerError::WrongType},
        {"{\"releases\": [{\"track-count\": \"12\"}]}", AnswerError::WrongType},
        {"{\"releases\": [{\"artist-credit\": [{\"name\": []}]}]}", AnswerError::WrongType},
        // Depth counts brackets outside strings only.
        {"{\"releases\": [], \"x\": \"" + deep + "\"}", AnswerError::None},
        {"{\"releases\": [{\"title\": null, \"unknown\": {\"a\": [1, {}]}}]}", AnswerError::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readReleaseList(c.json).error, c.error) << c.json;
    EXPECT_EQ(readRelease("{\"media\": \"CD\"}").error, AnswerError::WrongType);
}

TEST(MusicBrainzAnswer, NumbersAreReadWhicheverWayTheyAreWritten)
{
    // A genre's count is up-votes minus down-votes: below zero it is no
    // candidate, and neither is one without votes.
    const ReleaseAnswer votes =
        readRelease("{\"id\": \"r\", \"genres\": [{\"name\": \"rock\", \"count\": -1}, {\"name\": "
                    "\"pop\", \"count\": 0}],"
                    " \"release-group\": {\"genres\": [{\"name\": \"jazz\", \"count\": 2.0}]}}");
    ASSERT_EQ(votes.error, AnswerError::None);
    EXPECT_EQ(votes.release.genre, "jazz");
    const ReleaseList list = readReleaseList(
        "{\"releases\": [{\"id\": \"a\", \"track-count\": 10.0},"
        " {\"id\": \"b\", \"track-count\": -3}, {\"id\": \"c\", \"track-count\": 1e300}]}");
    ASSERT_EQ(list.error, AnswerError::None);
    ASSERT_EQ(list.releases.size(), 3u);
    EXPECT_EQ(list.releases[0].tracks, 10);
    EXPECT_EQ(list.releases[1].tracks, 0);
    EXPECT_EQ(list.releases[2].tracks, 1'000'000);
}

TEST(MusicBrainzFill, MediaOfTheRelease)
{
    const struct
    {
        std::string format;
        FormatKind kind;
    } formats[] = {{"CD", FormatKind::Cd},
                   {"Enhanced CD", FormatKind::Cd},
                   {"HDCD", FormatKind::Cd},
                   {"Hybrid SACD", FormatKind::Cd},
                   {"CD-R", FormatKind::Cd},
                   {"SHM-CD", FormatKind::Cd},
                   {"Copy Control CD", FormatKind::Cd},
                   {"8cm CD", FormatKind::Cd},
                   {"Cassette", FormatKind::Cassette},
                   {"Microcassette", FormatKind::Cassette},
                   {"VCD", FormatKind::Other},
                   {"CDV", FormatKind::Other},
                   {"12\" Vinyl", FormatKind::Other},
                   {"Digital Media", FormatKind::Other},
                   {"DVD-Audio", FormatKind::Other},
                   {"", FormatKind::Other}};
    for (const auto& f : formats)
        EXPECT_EQ(kindOfFormat(f.format), f.kind) << f.format;
}

TEST(MusicBrainzFill, EditorFormOfARelease)
{
    GenreList genres;
    genres.assign({"Elektronika", "Rock", "Poezja \x8Cpiewana"});
    const struct
    {
        std::vector<std::string> formats;
        std::string genre;
        bool cd, mc;
        std::string agatunek, otherMedium;
    } cases[] = {
        {{"Enhanced CD", "12\" Vinyl"}, "elektronika", true, false, "Elektronika", ""},
        {{"Cassette"}, "POEZJA śpiewana", false, true, "Poezja \x8Cpiewana", ""},
        {{"CD", "Cassette"},
         "ąb",
         true,
         true,
         "\xA5"
         "b",
         ""},
        {{"12\" Vinyl", "12\" Vinyl"}, "", false, false, "", "2×Winyl"},
        {{"Digital Media"}, "jazz", false, false, "Jazz", "Digital Media"},
    };
    for (const auto& c : cases) {
        ReleaseDetails release;
        release.artist = "Björk";
        release.title = "Ørsted × Дельфин";
        release.genre = c.genre;
        release.formats = c.formats;
        const EditorFill fill = editorFill(release, genres);
        EXPECT_EQ(fill.form.azespol, "Bj\xF6rk");
        EXPECT_EQ(fill.form.aalbum, "Orsted \xD7 ???????");
        EXPECT_EQ(fill.form.agatunek, c.agatunek) << c.genre;
        EXPECT_EQ(fill.form.nosnikcd, c.cd);
        EXPECT_EQ(fill.form.nosnikmc, c.mc);
        EXPECT_EQ(fill.form.kopiacd, 0);
        EXPECT_TRUE(fill.form.aid.empty() && fill.form.idcd.empty() && fill.form.idmc.empty());
        EXPECT_EQ(fill.otherMedium, c.otherMedium);
    }
}

TEST(MusicBrainzFill, TextsAreCutToTheirColumns)
{
    const EditorFill fill = editorFill(readRelease(fixture("release.json")).release, {});
    EXPECT_EQ(fill.form.azespol, "Bj\xF6rk feat. Sigur R\xF3s & ???????");
    // The bell becomes a space; the dash is in the code page; 60 bytes kept.
    EXPECT_EQ(fill.form.aalbum, "Kobiety s\xB9 gor\xB9"
                                "ce  \x96 wydanie rozszerzone, zremasterowane z o");
    EXPECT_EQ(catalogueText("a   b   ", 5), "a   b");
    EXPECT_EQ(catalogueText("\xFF\xC5", 0), "??");
}

TEST(DiscReading, DocumentedExampleTableOfContents)
{
    const Disc disc = discOfToc({1, 6, 95462, {150, 15363, 32314, 46592, 63414, 80489}});
    ASSERT_EQ(disc.status, DiscStatus::Read);
    EXPECT_EQ(disc.id, "49HHV7Eb8UKF3aQiNmu1GR8vKTY-");
    EXPECT_EQ(disc.toc, "1 6 95462 150 15363 32314 46592 63414 80489");
    EXPECT_EQ(discOfToc({1, 6, 95462, {150, 15363}}).status, DiscStatus::BadToc);
    EXPECT_EQ(discOfToc({1, 2, 100, {150, 15363}}).status, DiscStatus::BadToc);
    EXPECT_EQ(readDisc("/dev/no-such-drive").status, DiscStatus::NoDrive);
}

} // namespace
