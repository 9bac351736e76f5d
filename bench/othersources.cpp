#include "othersources.h"

#include "cp1250.h"

#include <zip.h>

namespace alborx::bench {

namespace {

std::string escaped(std::string_view cp1250)
{
    std::string text;
    for (const char c : cp1250ToUtf8(cp1250)) {
        if (c == '&')
            text += "&amp;";
        else if (c == '<')
            text += "&lt;";
        else
            text += c;
    }
    return text;
}

} // namespace

bool writeTellicoCollection(const std::string& path, const AlbumTable& table)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<tellico xmlns=\"http://periapsis.org/tellico/\" syntaxVersion=\"11\">\n"
                      " <collection title=\"Benchmark\" type=\"4\">\n  <fields/>\n";
    for (int r = 1; r <= table.liczbaalbumow(); ++r) {
        const bool cd = table.cell(ColumnCdKind, r) != "-";
        xml += "  <entry id=\"" + std::to_string(r) + "\">\n   <title>" +
               escaped(table.cell(ColumnTitle, r)) + "</title>\n   <medium>" +
               (cd ? "Compact Disc" : "Cassette") + "</medium>\n   <artists>\n    <artist>" +
               escaped(table.cell(ColumnPerformer, r)) +
               "</artist>\n   </artists>\n   <genres>\n    <genre>" +
               escaped(table.cell(ColumnGenre, r)) +
               "</genre>\n   </genres>\n   <year>1999</year>\n  </entry>\n";
    }
    xml += " </collection>\n</tellico>\n";

    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr)
        return false;
    zip_source_t* source = zip_source_buffer(archive, xml.data(), xml.size(), 0);
    if (source == nullptr || zip_file_add(archive, "tellico.xml", source, 0) < 0) {
        zip_discard(archive);
        return false;
    }
    return zip_close(archive) == 0;
}

std::string unclosedQuoteLines(std::size_t size)
{
    std::string text = "Wykonawca;Album\n";
    while (text.size() < size) {
        text += "Wykonawca\";\"Album z \"cudzys\xB3owem\n";
        text += "\"Bez ko\xF1"
                "ca;Album\n";
    }
    return text;
}

std::string musicBrainzAnswer(std::size_t size, int releases)
{
    const std::string end = "]}";
    std::string answer = "{\"created\":\"2026-12-09T10:00:00.000Z\",\"count\":9999,"
                         "\"offset\":0,\"releases\":[";
    for (int n = 0; n < releases; ++n) {
        const std::string number = std::to_string(n);
        const std::string release =
            std::string(n > 0 ? "," : "") + "{\"id\":\"0d4b6a44-9f63-4a0b-9a3c-" + number +
            "\",\"score\":" + std::to_string(100 - n % 100) +
            ",\"title\":\"Wydanie \u017c\u00f3\u0142te " + number +
            "\",\"status\":\"Official\",\"packaging\":null,"
            "\"text-representation\":{\"language\":\"pol\",\"script\":\"Latn\"},"
            "\"artist-credit\":[{\"name\":\"Wykonawca " +
            number + "\",\"joinphrase\":\" & \",\"artist\":{\"id\":\"a" + number +
            "\",\"name\":\"Wykonawca\",\"sort-name\":\"Wykonawca\"}},"
            "{\"name\":\"Go\u015b\u0107\",\"joinphrase\":\"\"}],"
            "\"release-group\":{\"id\":\"rg" +
            number +
            "\",\"primary-type\":\"Album\",\"secondary-types\":[]},"
            "\"date\":\"1994-03-01\",\"country\":\"PL\",\"release-events\":[{\"date\":"
            "\"1994-03-01\",\"area\":{\"id\":\"x\",\"name\":\"Poland\"}}],"
            "\"barcode\":\"5902596001234\",\"label-info\":[{\"catalog-number\":\"PN " +
            number +
            "\",\"label\":{\"id\":\"l\",\"name\":\"Pomaton EMI\"}}],"
            "\"track-count\":24,\"media\":[{\"format\":\"CD\",\"disc-count\":1,"
            "\"track-count\":12},{\"format\":\"CD\",\"disc-count\":1,\"track-count\":12}],"
            "\"tags\":[{\"count\":1,\"name\":\"polish\"}]}";
        if (answer.size() + release.size() + end.size() > size)
            break;
        answer += release;
    }
    return answer + end;
}

} // namespace alborx::bench
