#include "linetemplate.h"

#include "cp1250.h"
#include "textfunctions.h"

#include <algorithm>
#include <cstdint>

namespace alborx {

const std::array<std::string_view, kKeywordCount>& slowakluczowe()
{
    static const std::array<std::string_view, kKeywordCount> keywords = {
        "%nr", "%tytul",    "%zespol",   "%gatunek", "%idcd",   "%idmc",
        "%id", "%kopiacds", "%kopiamcs", "%kopiacd", "%kopiamc"};
    return keywords;
}

const TemplateValues& przykladowedane()
{
    static const TemplateValues samples = {"123",
                                           "Images And Words",
                                           "Dream Theater",
                                           "Rock Progresywny",
                                           "00126",
                                           "00052",
                                           "00035",
                                           "O",
                                           "P",
                                           *utf8ToCp1250("Oryginał"),
                                           "Pirat"};
    return samples;
}

namespace {

struct Suffix
{
    bool valid = false;
    bool left = false; // ";": aligned left
    std::int64_t width = 0;
    std::size_t length = 0; // the ":" or ";" and its digits
};

// Reads a width suffix at position at of text.
Suffix readSuffix(const std::string& text, std::size_t at, TemplateMode mode)
{
    Suffix suffix;
    if (at >= text.size() || (text[at] != ':' && text[at] != ';'))
        return suffix;
    std::size_t end = at + 1;
    std::int64_t value = 0;
    bool overflow = false;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
        if (!overflow) {
            value = value * 10 + (text[end] - '0');
            overflow = value > 2147483647;
        }
        ++end;
    }
    if (end == at + 1 || overflow)
        return suffix;
    if (mode == TemplateMode::Preview && (value < 1 || value > 99))
        return suffix;
    suffix.valid = true;
    suffix.left = text[at] == ';';
    suffix.width = std::min(value, kWidestCell);
    suffix.length = end - at;
    return suffix;
}

} // namespace

std::string wypelnijformat(std::string_view szablon, const TemplateValues& values,
                           TemplateMode mode)
{
    std::string line(szablon);
    const auto& keywords = slowakluczowe();
    for (std::size_t k = 0; k < keywords.size(); ++k) {
        const std::string_view keyword = keywords[k];
        // After a value is inserted the search goes on behind it, so that a
        // value holding its own keyword cannot be expanded without end.
        std::size_t from = 0;
        for (;;) {
            const std::size_t at = line.find(keyword, from);
            if (at == std::string::npos)
                break;
            const Suffix suffix = readSuffix(line, at + keyword.size(), mode);
            const std::size_t replaced = keyword.size() + suffix.length;
            const std::size_t valueSize =
                suffix.valid ? static_cast<std::size_t>(suffix.width) : values[k].size();
            if (line.size() - replaced + valueSize > std::max(kLongestLine, szablon.size()))
                break;
            const std::string value =
                suffix.valid
                    ? iloscznakow(values[k], static_cast<std::int32_t>(suffix.width), suffix.left)
                    : values[k];
            line.replace(at, replaced, value);
            from = at + value.size();
        }
    }

    const std::string_view lineBreak = mode == TemplateMode::File ? "\r\n" : "\r";
    std::string result;
    result.reserve(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == 'n') {
            result += lineBreak;
            ++i;
        } else {
            result += line[i];
        }
    }
    return result;
}

std::string podgladformatu(std::string_view szablon)
{
    return wypelnijformat(szablon, przykladowedane(), TemplateMode::Preview);
}

} // namespace alborx
