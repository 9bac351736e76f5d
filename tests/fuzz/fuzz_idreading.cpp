// Any text as an ID: the reading agrees with an independent reading of plain
// decimal numbers, and a number written as the table writes it reads back.
#include "fuzz_support.h"
#include "textfunctions.h"

#include <string>

using namespace alborx;
using alborx::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const fuzz::MemoryBound memory(size);
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto id = readId(text);

    // Spaces, an optional minus and up to nine digits: a plain number.
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    std::size_t end = text.size();
    while (end > i && text[end - 1] == ' ')
        --end;
    const bool negative = i < end && text[i] == '-';
    const std::size_t digits = negative ? i + 1 : i;
    const bool plain =
        end > digits && end - digits <= 9 && text.find_first_not_of("0123456789", digits) >= end;
    if (plain) {
        const long long expected =
            std::stoll(text.substr(digits, end - digits)) * (negative ? -1 : 1);
        check(id.has_value() && *id == expected, "a plain decimal number read wrongly");
    }
    if (id) {
        check(readId(l2t(*id, 0)) == id, "a number does not read back from its text");
        if (*id >= 0)
            check(readId(l2t(*id, 5)) == id, "a zero-padded number does not read back");
    }
    return 0;
}
