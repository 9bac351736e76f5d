// Any template and values: the expansion ends, in both modes, and its result
// stays within the bound that the template, the values and the width cap
// allow.
#include "fuzz_support.h"
#include "linetemplate.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace alborx;
using alborx::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const fuzz::MemoryBound memory(size);
    if (size == 0)
        return 0;
    const TemplateMode mode = data[0] % 2 == 0 ? TemplateMode::File : TemplateMode::Preview;
    // The template and the eleven values, separated by zero bytes.
    std::vector<std::string> parts(1);
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == 0 && parts.size() < 1 + kKeywordCount)
            parts.emplace_back();
        else
            parts.back() += static_cast<char>(data[i]);
    }
    parts.resize(1 + kKeywordCount);
    const std::string szablon = parts[0].substr(0, 255);
    TemplateValues values;
    for (int k = 0; k < kKeywordCount; ++k)
        values[static_cast<std::size_t>(k)] = parts[static_cast<std::size_t>(k + 1)];

    const std::string line = wypelnijformat(szablon, values, mode);
    check(line.size() <= std::max(kLongestLine, szablon.size()), "the line grew past its bound");
    if (mode == TemplateMode::Preview)
        check(
            line.find('\n') == std::string::npos || szablon.find('\n') != std::string::npos ||
                std::any_of(values.begin(), values.end(),
                            [](const std::string& v) { return v.find('\n') != std::string::npos; }),
            "the preview made a line feed of its own");
    // Without keywords and line breaks the template comes back unchanged.
    if (szablon.find('%') == std::string::npos && szablon.find("\\n") == std::string::npos)
        check(line == szablon, "a template without keywords changed");
    return 0;
}
